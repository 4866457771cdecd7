#pragma once

#include <string>
#include <vector>

// The times at which one DemoTrigger record fires: `begin` always, then, when periodic, every
// `delay` seconds strictly before `end`. The times are summed up one delay at a time, as the
// scripts were timed against. Throws Errors::ScriptLoaderError naming the trigger when the
// repetition would not end or would fire more than `maxTriggerEvents` times.
std::vector<double> triggerTimes(bool periodic, double begin, double end, double delay,
                                 const std::string& triggerId, const std::string& effectId);

constexpr std::size_t maxTriggerEvents = 1'000'000;
