#pragma once

#include "SourcePlace.h"

#include <string>
#include <vector>

// One thing to tell the author of a script: an error that stopped the load, or a warning about
// something that loads but probably does not do what was meant. Where it stands, when known, and
// notes on a likely fix.
struct Diagnostic {
    enum class Severity { Error, Warning };

    Severity severity = Severity::Warning;
    std::string message;
    SourcePlace place;
    std::vector<std::string> notes;
};
