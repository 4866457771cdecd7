#include "TimelinePrinter.h"

#include "Effect.h"

#include <array>
#include <charconv>

namespace {

template <typename Number>
std::string shortest(Number value) {
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

template <typename Item, typename Format>
std::string list(const std::vector<Item>& items, Format format) {
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += format(items[i]);
    }
    return text + "]";
}

} // namespace

std::string formatTime(double time) {
    return shortest(time);
}

std::string formatFloat(float value) {
    return shortest(value);
}

std::string quoted(const std::string& text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string result = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '"':
            result += "\\\"";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\r':
            result += "\\r";
            break;
        default:
            if (byte < 32) {
                result += "\\x";
                result += hex[byte >> 4];
                result += hex[byte & 15];
            } else {
                result += c;
            }
        }
    }
    return result + "\"";
}

void printTimeline(const std::vector<TimelineEvent>& events, std::ostream& out) {
    for (const TimelineEvent& event : events) {
        out << formatTime(event.time) << ' ' << eventKindName(event.kind) << ' '
            << event.effect->getName();
        switch (event.kind) {
        case EventKind::Init:
            out << " layer=" << event.layer << " parameters=" << list(event.parameters, formatFloat)
                << " data=" << list(event.data, quoted);
            break;
        case EventKind::Trigger:
            out << ' ' << quoted(event.message->triggerId)
                << " parameters=" << list(event.message->parameters, formatFloat);
            break;
        case EventKind::Start:
        case EventKind::Stop:
            break;
        }
        out << '\n';
    }
}
