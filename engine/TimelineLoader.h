#pragma once

#include "SourcePlace.h"
#include "TimelineEvent.h"

#include <string>
#include <vector>

class DomCursor;
class Effect;

// Turns the DemoEffect and DemoTrigger records of a loaded script into timeline events, in the
// order the script gives them. Records that name no registered effect, times that are not
// finite numbers and triggers that would repeat without end refuse the script with
// Errors::ScriptLoaderError; a record of the wrong shape with the cursor's Errors::DOMError.
// The whole timeline is bounded, so that a short script cannot ask for gigabytes: at most
// `maxEvents` events, and at most `maxTriggerNumbers` numbers delivered by all trigger events
// together (a periodic trigger's numbers count once per repetition, as each delivery and each
// printed line of the timeline hands them on).
class TimelineLoader {
public:
    static constexpr std::size_t maxEvents = 1'000'000;
    static constexpr std::size_t maxTriggerNumbers = 16'000'000;

    explicit TimelineLoader(const std::vector<Effect*>& registry) : registry(registry) {}

    // Reads every top-level record, also those that share a name with an earlier one.
    void readScript(DomCursor& cursor);
    // Each reads the record the cursor has entered.
    void readEffectRecord(DomCursor& cursor, const std::string& recordName);
    void readTriggerRecord(DomCursor& cursor, const std::string& recordName);

    // The first registered effect of exactly this name; nullptr when there is none.
    Effect* findEffect(const std::string& name) const;

    std::vector<TimelineEvent> takeEvents() { return std::move(events); }

private:
    Effect& requireEffect(const std::string& name, const std::string& recordName,
                          const SourcePlace& place) const;
    void reserveRoom(std::size_t newEvents, std::size_t numbersPerEvent,
                     const std::string& recordName);

    const std::vector<Effect*>& registry;
    std::vector<TimelineEvent> events;
    std::size_t triggerNumbers = 0;
};
