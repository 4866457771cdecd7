#pragma once

#include "TimelineEvent.h"

#include <ostream>
#include <string>
#include <vector>

// The timeline as reelcheck --timeline lists it, one event per line in timeline order. Numbers
// are written in the shortest form that reads back to the same value, so two listings differ
// exactly where the timelines do.
void printTimeline(const std::vector<TimelineEvent>& events, std::ostream& out);

std::string formatTime(double time);
std::string formatFloat(float value);
// In double quotes, with \\, \", \n, \t, \r and \xHH for the other bytes below 32.
std::string quoted(const std::string& text);
