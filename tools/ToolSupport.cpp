#include "ToolSupport.h"

#include "DiagnosticPrinter.h"
#include "LoadError.h"
#include "ScriptErrors.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>

namespace {

constexpr std::size_t longestName = 200;

int fail(const std::string& message) {
    std::cerr << "error: " << oneLine(message) << '\n';
    return 1;
}

void appendEscaped(std::string& line, unsigned char c) {
    switch (c) {
    case '\n': line += "\\n"; return;
    case '\r': line += "\\r"; return;
    case '\t': line += "\\t"; return;
    default: break;
    }
    if (c < 0x20 || c == 0x7f) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02x", c);
        line += escape;
    } else {
        line += static_cast<char>(c);
    }
}

// UTF-8 characters are counted by the bytes that begin them.
bool beginsCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
}

// Where the name text[begin, end) is cut: after `longestName` characters; npos when it is not
// longer.
std::size_t cutPoint(const std::string& text, std::size_t begin, std::size_t end) {
    std::size_t characters = 0;
    for (std::size_t at = begin; at < end; ++at) {
        if (beginsCharacter(text[at]) && characters++ == longestName)
            return at;
    }
    return std::string::npos;
}

// Names are the runs inside "..." and [...]; one left open runs to the end.
std::string cutLongNames(const std::string& text) {
    std::string cut;
    std::size_t at = 0;
    while (at < text.size()) {
        const char open = text[at];
        cut += open;
        ++at;
        if (open != '"' && open != '[')
            continue;
        const char close = open == '"' ? '"' : ']';
        const std::size_t end = std::min(text.find(close, at), text.size());
        const std::size_t cutAt = cutPoint(text, at, end);
        if (cutAt != std::string::npos)
            cut.append(text, at, cutAt - at).append("...");
        else
            cut.append(text, at, end - at);
        if (end < text.size())
            cut += close;
        at = end + 1;
    }
    return cut;
}

} // namespace

std::string oneLine(std::string message) {
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    std::string line;
    for (const char c : cutLongNames(message))
        appendEscaped(line, static_cast<unsigned char>(c));
    return line;
}

std::string enterScriptFolder(const std::string& script) {
    const std::filesystem::path path(script);
    const std::string baseName = path.filename().string();
    std::error_code error;
    if (!path.parent_path().empty())
        std::filesystem::current_path(path.parent_path(), error);
    if (error || baseName.empty())
        throw Errors::LoadError("Could not open file \"%s\"", script);
    return baseName;
}

int runReportingErrors(const std::function<int()>& work) {
    try {
        return work();
    } catch (const Errors::LoadError& error) {
        printDiagnostic(std::cerr, diagnosticOf(error));
        return 1;
    } catch (const Errors::DataBaseError& error) {
        return fail(error.getMessage());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
