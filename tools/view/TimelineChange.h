#pragma once

#include "TimelineEvent.h"

#include <vector>

// The earliest time at which two timelines (each sorted by time, as the engine runs them) do
// not do the same: where the first event that differs in time, kind, effect, layer, numbers,
// data or trigger falls, in either of them. Infinity when they are the same throughout: a demo
// reloaded with them plays as before up to that time, so what was saved before it still holds.
double firstChange(const std::vector<TimelineEvent>& before,
                   const std::vector<TimelineEvent>& after);
