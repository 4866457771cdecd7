// The checks fed by what the loader noticed while it read the text.

#include "CheckText.h"
#include "ScriptChecks.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

Diagnostic ignoredAfterStatement(const IgnoredValue& value) {
    std::string message = inQuotes(value.text) + " and what follows it up to the ';' are ignored: ";
    if (value.type == "include")
        message += "include reads one file name";
    else if (value.type == "typedef")
        message += "the typedef of [" + value.definition + "] ends before it";
    else
        message += "the definition of [" + value.definition + "] ends with the value before it";
    const std::string note = value.namesType ? "is a ';' missing before " + inQuotes(value.text) +
                                                   "? The definition it begins is swallowed"
                                             : "the usual cause is a missing ';' before it";
    return warningAt(value.place, message, {note});
}

Diagnostic ignoredAfterRecord(const IgnoredValue& value) {
    return warningAt(value.place,
                     inQuotes(value.text) + " and the values after it are ignored: " + value.type +
                         " [" + value.definition + "] has no member left for them",
                     {"a record takes one value per member of its type, in order"});
}

Diagnostic ignoredAfterVector(const IgnoredValue& value) {
    const std::string read = value.type == "vector3d" ? "three" : "two";
    return warningAt(value.place, inQuotes(value.text) +
                                      " and the values after it are ignored: " + value.type + " [" +
                                      value.definition + "] reads " + read + " numbers");
}

std::string intText(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return std::to_string(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
}

} // namespace

std::vector<Diagnostic> checkIgnoredValues(const LoadNotes& notes) {
    std::vector<Diagnostic> found;
    for (const IgnoredValue& value : notes.ignoredValues) {
        switch (value.after) {
        case IgnoredValue::After::Statement: found.push_back(ignoredAfterStatement(value)); break;
        case IgnoredValue::After::Record: found.push_back(ignoredAfterRecord(value)); break;
        case IgnoredValue::After::Vector: found.push_back(ignoredAfterVector(value)); break;
        }
    }
    return found;
}

std::vector<Diagnostic> checkNumberWords(const LoadNotes& notes) {
    std::vector<Diagnostic> found;
    for (const NumberWord& word : notes.numberWords) {
        const char* begin = word.text.c_str();
        char* end = nullptr;
        errno = 0;
        std::string value;
        bool overflow = false;
        if (word.kind == Kind::Int) {
            const long number = std::strtol(begin, &end, 10);
            overflow = errno == ERANGE || number > INT_MAX || number < INT_MIN;
            value = intText(word.text);
        } else {
            const double number = std::strtod(begin, &end);
            overflow = errno == ERANGE && std::isinf(number);
            value = secondsText(number);
        }
        const std::string kind = word.kind == Kind::Int ? "an int" : "a float";
        const std::string reader = "[" + word.definition + "] reads ";
        std::string message;
        if (end == begin)
            message = inQuotes(word.text) + " is not a number: " + reader + "it as " + value;
        else if (*end != '\0')
            message = inQuotes(word.text) + " is not a number as a whole: " + reader +
                      "only its beginning, " + value;
        else if (overflow)
            message = inQuotes(word.text) + " is out of range for " + kind + ": " + reader +
                      "it as " + value;
        else
            continue;
        found.push_back(warningAt(word.place, message));
    }
    return found;
}

std::vector<Diagnostic> checkDroppedEscapes(const LoadNotes& notes) {
    std::vector<Diagnostic> found;
    for (const DroppedEscape& escape : notes.droppedEscapes) {
        const std::string written = std::string("\\") + escape.character;
        found.push_back(
            warningAt(escape.place,
                      inQuotes(written) + " inside double quotes is no escape: the backslash and " +
                          inQuotes(std::string(1, escape.character)) + " are both dropped",
                      {"inside single quotes a backslash stays as written, as file names need"}));
    }
    return found;
}
