#pragma once

#include <memory>
#include <string>
#include <vector>

class Effect;

enum class EventKind { Init, Start, Stop, Trigger };

const char* eventKindName(EventKind kind);

// What a Trigger event hands its effect. All events of one periodic record share one message,
// so that a long name or many numbers cost their size once, not once per repetition.
struct TriggerMessage {
    std::string triggerId;
    std::vector<float> parameters;
};

// One timed step of the demo. Init carries the record's layer, parameters and data; Trigger its
// message; Start and Stop only the effect.
struct TimelineEvent {
    double time = 0.0;
    int layer = 0;
    EventKind kind = EventKind::Init;
    Effect* effect = nullptr;
    std::vector<float> parameters;
    std::vector<std::string> data;
    std::shared_ptr<const TriggerMessage> message;
};
