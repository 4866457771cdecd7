#pragma once

#include "SourcePlace.h"
#include "TimelineEvent.h"

#include <cstddef>
#include <string>
#include <vector>

class ContainerNode;
class DomCursor;
class Effect;

// A DemoEffect or DemoTrigger record of a loaded script as the timeline loader reads it, kept
// with its node in the script's tree so that what is said about it can point at its values. The
// tree belongs to the cursor the record was read from and must outlive the record.
struct ScriptRecord {
    enum class Type { Effect, Trigger };

    Type type = Type::Effect;
    std::string name;
    const ContainerNode* node = nullptr;
    // An effect record's Init, Start and Stop; a trigger record's first delivery only.
    std::vector<TimelineEvent> events;
    // How many times a trigger record delivers its trigger.
    std::size_t deliveries = 0;

    bool isEffect() const { return type == Type::Effect; }
    const Effect& effect() const { return *events.front().effect; }
    const std::string& effectName() const;

    // Effect records.
    double initTime() const { return events[0].time; }
    double startTime() const { return events[1].time; }
    double stopTime() const { return events[2].time; }
    const std::vector<std::string>& data() const { return events[0].data; }
    // The numbers an effect record hands its effect, or a trigger record its trigger.
    const std::vector<float>& numbers() const;

    // Trigger records.
    const std::string& triggerId() const { return events[0].message->triggerId; }
    double firstDelivery() const { return events[0].time; }

    // Where the record stands; where its value `key` stands; where element `index` of its
    // value `key` ("data", "parameters") stands. The record's own place when there is no such
    // value.
    SourcePlace place() const;
    SourcePlace placeOf(const std::string& key) const;
    SourcePlace placeOf(const std::string& key, std::size_t index) const;
};

// Every DemoEffect and DemoTrigger record of the script, in the order the script gives them,
// read with the player's own timeline loader from a cursor that has not been moved yet. Throws
// what the loader throws.
std::vector<ScriptRecord> readScriptRecords(DomCursor& cursor,
                                            const std::vector<Effect*>& registry);
