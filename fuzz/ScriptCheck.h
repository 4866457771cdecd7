#pragma once

#include <string>

// Loads the script `name` of the working folder as reelcheck does: the data tree, printed back
// as script text, and the timeline with every effect of the catalogue, listed. A script that is
// refused must be refused with a load error that says why; one that loads must give a timeline
// within its bounds, in time order, at finite times, each event with its effect.
void checkScript(const std::string& name);
