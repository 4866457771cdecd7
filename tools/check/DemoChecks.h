#pragma once

#include "Diagnostic.h"

#include <string>
#include <vector>

class DomCursor;
class Effect;

// The warnings of a loaded demo script: the checks of ScriptChecks, fed with the script's
// records and what its effects state they take. Runs in the script's folder. `script` must not
// have been moved.
std::vector<Diagnostic> demoWarnings(DomCursor& script, const std::vector<Effect*>& registry);

// The same for a script by name, loaded afresh: what a viewer calls after each (re)load, from
// the script's folder, with the registry it loaded the script with. Throws what loading throws;
// after a load that succeeded it does not.
std::vector<Diagnostic> demoWarnings(const std::string& scriptName,
                                     const std::vector<Effect*>& registry);
