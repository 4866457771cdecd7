#include "MusicRequest.h"

#include <climits>
#include <cstdlib>

namespace {

// atoi's reading (leading blanks, a sign, digits; 0 when there are none), clamped instead of
// undefined when it does not fit.
int leadingNumber(const std::string& text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

int playMode(const std::string& word) {
    if (word.empty()) {
        return 2;
    }
    if (word == "once") {
        return 1;
    }
    if (word == "loop") {
        return 2;
    }
    if (word == "random") {
        return 3;
    }
    return 0;
}

bool isOneOf(const std::string& extension, std::initializer_list<const char*> kinds) {
    for (const char* kind : kinds) {
        if (extension == kind) {
            return true;
        }
    }
    return false;
}

} // namespace

MusicRequest MusicRequest::parse(const std::string& specification) {
    MusicRequest result;
    if (specification.substr(0, specification.find(':')) == "cd") {
        std::size_t backslash = specification.find('\\');
        std::string rest =
            backslash == std::string::npos ? specification : specification.substr(backslash + 1);
        std::size_t blank = rest.find(' ');
        result.kind = Kind::CdTrack;
        result.track = leadingNumber(rest.substr(0, blank));
        result.mode = playMode(blank == std::string::npos ? rest : rest.substr(blank + 1));
        return result;
    }
    std::size_t dot = specification.rfind('.');
    result.extension = dot == std::string::npos ? specification : specification.substr(dot + 1);
    for (char& c : result.extension) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (isOneOf(result.extension, {"MP2", "MP3", "ASF", "WMA", "OGG"})) {
        result.kind = Kind::Stream;
    } else if (isOneOf(result.extension, {"MOD", "XM", "IT", "MID", "RMI", "SGT"})) {
        result.kind = Kind::Song;
    }
    return result;
}
