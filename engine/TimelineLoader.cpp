#include "TimelineLoader.h"

#include "ContainerNode.h"
#include "DataNode.h"
#include "DomCursor.h"
#include "Effect.h"
#include "LoadError.h"
#include "ScriptChecks.h"
#include "ScriptErrors.h"
#include "TriggerTimes.h"

#include <cmath>

namespace {

std::string readString(DomCursor& cursor, const std::string& key) {
    cursor.select(key);
    return cursor.getString();
}

// NaN cannot be ordered and an infinite time never comes; either would break the sort.
double readTime(DomCursor& cursor, const std::string& key, const std::string& recordName) {
    cursor.select(key);
    const double time = cursor.getFloat();
    if (!std::isfinite(time)) {
        Errors::ScriptLoaderError error("Error : time is not a finite number in record [" +
                                        recordName + "]");
        error.placeAt(cursor.getCurrent()->getPlace());
        throw error;
    }
    return time;
}

std::vector<std::string> readStrings(DomCursor& cursor, const std::string& key) {
    cursor.select(key);
    cursor.enter();
    std::vector<std::string> strings;
    for (std::size_t i = cursor.count(); i > 0; --i) {
        cursor.selectNext();
        strings.push_back(cursor.getString());
    }
    cursor.leave();
    return strings;
}

// Effects take their numbers in single precision.
std::vector<float> readFloats(DomCursor& cursor, const std::string& key) {
    cursor.select(key);
    cursor.enter();
    std::vector<float> floats;
    for (std::size_t i = cursor.count(); i > 0; --i) {
        cursor.selectNext();
        floats.push_back(static_cast<float>(cursor.getFloat()));
    }
    cursor.leave();
    return floats;
}

} // namespace

void TimelineLoader::readScript(DomCursor& cursor) {
    // Walks the children themselves: `count` counts distinct names, and records that share a
    // name would be skipped.
    for (cursor.selectNext(); cursor.getCurrent(); cursor.selectNext()) {
        const std::string recordName = cursor.getCurrent()->getName();
        cursor.enter();
        const std::string type = cursor.typeName();
        // What goes wrong in a record without a place of its own is the record's.
        Errors::placingErrors(cursor.getBranch()->getPlace(), [&] {
            if (type == "DemoEffect")
                readEffectRecord(cursor, recordName);
            else if (type == "DemoTrigger")
                readTriggerRecord(cursor, recordName);
        });
        cursor.leave();
    }
}

void TimelineLoader::readEffectRecord(DomCursor& cursor, const std::string& recordName) {
    const std::string identifier = readString(cursor, "identifier");
    const SourcePlace identifierPlace = cursor.getCurrent()->getPlace();
    cursor.select("layer");
    const int layer = cursor.getInt();
    const double initTime = readTime(cursor, "initTime", recordName);
    const double startTime = readTime(cursor, "startTime", recordName);
    const double stopTime = readTime(cursor, "stopTime", recordName);
    std::vector<std::string> data = readStrings(cursor, "data");
    std::vector<float> parameters = readFloats(cursor, "parameters");
    Effect& effect = requireEffect(identifier, recordName, identifierPlace);

    reserveRoom(3, 0, recordName);
    events.push_back(
        {initTime, layer, EventKind::Init, &effect, std::move(parameters), std::move(data), {}});
    events.push_back({startTime, 0, EventKind::Start, &effect, {}, {}, {}});
    events.push_back({stopTime, 0, EventKind::Stop, &effect, {}, {}, {}});
}

void TimelineLoader::readTriggerRecord(DomCursor& cursor, const std::string& recordName) {
    const std::string effectId = readString(cursor, "effectId");
    const SourcePlace effectIdPlace = cursor.getCurrent()->getPlace();
    const std::string triggerId = readString(cursor, "triggerId");
    cursor.select("periodic");
    const bool periodic = cursor.getBool();
    const double beginTime = readTime(cursor, "beginTime", recordName);
    const double endTime = readTime(cursor, "endTime", recordName);
    const double delay = readTime(cursor, "delay", recordName);
    std::vector<float> parameters = readFloats(cursor, "parameters");
    Effect& effect = requireEffect(effectId, recordName, effectIdPlace);

    const std::vector<double> times =
        triggerTimes(periodic, beginTime, endTime, delay, triggerId, effectId);
    reserveRoom(times.size(), parameters.size(), recordName);
    const auto message =
        std::make_shared<const TriggerMessage>(TriggerMessage{triggerId, std::move(parameters)});
    for (double time : times)
        events.push_back({time, 0, EventKind::Trigger, &effect, {}, {}, message});
}

void TimelineLoader::reserveRoom(std::size_t newEvents, std::size_t numbersPerEvent,
                                 const std::string& recordName) {
    // Both sides stay far below overflow: at most a million events of a script's numbers.
    const std::size_t newNumbers = newEvents * numbersPerEvent;
    if (newEvents > maxEvents - events.size() || newNumbers > maxTriggerNumbers - triggerNumbers)
        throw Errors::ScriptLoaderError("Error : timeline too large in record [" + recordName +
                                        "]");
    triggerNumbers += newNumbers;
}

Effect* TimelineLoader::findEffect(const std::string& name) const {
    for (Effect* effect : registry) {
        if (effect->getName() == name)
            return effect;
    }
    return nullptr;
}

Effect& TimelineLoader::requireEffect(const std::string& name, const std::string& recordName,
                                      const SourcePlace& place) const {
    Effect* effect = findEffect(name);
    if (!effect) {
        Errors::ScriptLoaderError error("Error : unknown effect [" + name + "] in record [" +
                                        recordName + "]");
        error.placeAt(place);
        std::vector<std::string_view> names;
        for (const Effect* each : registry)
            names.push_back(each->getName());
        if (const std::string near = nearestName(name, names); !near.empty())
            error.addNote("did you mean \"" + near + "\"?");
        throw error;
    }
    return *effect;
}
