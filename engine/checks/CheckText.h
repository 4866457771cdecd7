#pragma once

#include "Diagnostic.h"

#include <string>
#include <utility>
#include <vector>

// How the checks word what they say.

inline std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// Seconds in their shortest usual form: "148", "91.95".
std::string secondsText(double seconds);

inline Diagnostic warningAt(SourcePlace place, std::string message,
                            std::vector<std::string> notes = {}) {
    return {Diagnostic::Severity::Warning, std::move(message), std::move(place), std::move(notes)};
}
