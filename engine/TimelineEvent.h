#pragma once

#include <string>
#include <vector>

class Effect;

enum class EventKind { Init, Start, Stop, Trigger };

const char* eventKindName(EventKind kind);

// One timed step of the demo. Init carries the record's layer, parameters and data; Trigger its
// name and numbers; Start and Stop only the effect.
struct TimelineEvent {
    double time = 0.0;
    int layer = 0;
    EventKind kind = EventKind::Init;
    Effect* effect = nullptr;
    std::vector<float> parameters;
    std::vector<std::string> data;
    std::string triggerId;
};
