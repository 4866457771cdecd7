#include "DiagnosticPrinter.h"

#include "PortablePath.h"
#include "ToolSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// A line longer than this is shown as a stretch around the column.
constexpr std::size_t widestLine = 160;
constexpr std::size_t shownBefore = 60;

// The text of line `number` (from 1) of a script file, without its line ending.
std::optional<std::string> scriptLine(const std::string& name, int number) {
    const auto path = resolvePortablePath(name);
    if (!path || number < 1)
        return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    std::string line;
    for (int at = 1; std::getline(in, line); ++at) {
        if (at == number) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
    }
    return std::nullopt;
}

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// The line as shown, and the caret line's indent to the column: tabs stay tabs so that both line
// up alike, other control characters become blanks, and a character of several bytes takes one
// place.
struct ShownLine {
    std::string text;
    std::string indent;
};

ShownLine showLine(std::string line, int column) {
    std::size_t caret = static_cast<std::size_t>(std::max(column, 1) - 1);
    ShownLine shown;
    if (line.size() > widestLine) {
        std::size_t begin = caret > shownBefore ? caret - shownBefore : 0;
        while (begin > 0 && continuesCharacter(line[begin]))
            --begin;
        std::size_t end = std::min(line.size(), begin + widestLine);
        while (end < line.size() && continuesCharacter(line[end]))
            ++end;
        const bool cutFront = begin > 0;
        const bool cutBack = end < line.size();
        line = line.substr(begin, end - begin);
        caret -= begin;
        if (cutFront) {
            line = "..." + line;
            caret += 3;
        }
        if (cutBack)
            line += "...";
    }
    for (std::size_t at = 0; at < line.size(); ++at) {
        const unsigned char c = static_cast<unsigned char>(line[at]);
        const bool control = (c < 0x20 && c != '\t') || c == 0x7f;
        shown.text += control ? ' ' : line[at];
        if (at < caret && !continuesCharacter(line[at]))
            shown.indent += c == '\t' ? '\t' : ' ';
    }
    return shown;
}

void printPlace(std::ostream& out, const SourcePlace& place) {
    out << " --> " << oneLine(placeFileName(place.fileName())) << ':' << place.line << ':'
        << place.column << '\n';
    const std::optional<std::string> line = scriptLine(place.fileName(), place.line);
    if (!line)
        return;
    const std::string number = std::to_string(place.line);
    const std::string gutter(number.size(), ' ');
    const ShownLine shown = showLine(*line, place.column);
    out << gutter << " |\n";
    out << number << " | " << shown.text << '\n';
    out << gutter << " | " << shown.indent << "^\n";
}

} // namespace

std::string placeFileName(const std::string& name) {
    if (const auto path = resolvePortablePath(name)) {
        std::error_code error;
        const fs::path near = fs::proximate(*path, error);
        if (!error && !near.empty())
            return near.generic_string();
    }
    std::string written = name;
    std::replace(written.begin(), written.end(), '\\', '/');
    return written;
}

void printDiagnostic(std::ostream& out, const Diagnostic& diagnostic) {
    out << (diagnostic.severity == Diagnostic::Severity::Error ? "error: " : "warning: ")
        << oneLine(diagnostic.message) << '\n';
    if (diagnostic.place.known())
        printPlace(out, diagnostic.place);
    for (const std::string& note : diagnostic.notes)
        out << "note: " << oneLine(note) << '\n';
}

void printDiagnostics(std::ostream& out, const std::vector<Diagnostic>& diagnostics) {
    for (const Diagnostic& diagnostic : diagnostics)
        printDiagnostic(out, diagnostic);
}

Diagnostic diagnosticOf(const Errors::LoadError& error) {
    return {Diagnostic::Severity::Error, error.getMessage(), error.getPlace(), error.getNotes()};
}
