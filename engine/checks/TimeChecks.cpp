// The checks of when things happen: times out of order or out of reach, the clock without
// music, and records that set up one object while another shows it.

#include "CheckText.h"
#include "ScriptChecks.h"

#include <algorithm>
#include <limits>

namespace {

// The frame rate at which the music's fade after the end trigger is counted: the rate of the
// player on a usual display and of reelrender by default.
constexpr double usualFrameRate = 60.0;

const EffectInputs* inputsOf(const ScriptFacts& facts, const ScriptRecord& record) {
    return facts.inputsOf ? facts.inputsOf(record.effectName()) : nullptr;
}

bool playsMusic(const ScriptFacts& facts, const ScriptRecord& record) {
    const EffectInputs* inputs = inputsOf(facts, record);
    return inputs && inputs->playsMusic();
}

// When a record first does something: an effect's set-up or start, a trigger's first delivery.
double firstTime(const ScriptRecord& record) {
    return record.isEffect() ? std::min(record.initTime(), record.startTime())
                             : record.firstDelivery();
}

// The time the record starts at, its key, and what it does then.
struct Start {
    double time;
    const char* key;
    const char* verb;
};

Start startOf(const ScriptRecord& record) {
    if (record.isEffect())
        return {record.startTime(), "startTime", "starts"};
    return {record.firstDelivery(), "beginTime", "is sent"};
}

// When the demo ends through the music player's end trigger: the first such trigger delivered
// while a music player record shows, plus its fade; nothing when none is.
struct DemoEnd {
    double sent;
    double end;
    std::string trigger;
    int frames;
};

std::optional<DemoEnd> demoEnd(const ScriptFacts& facts) {
    std::optional<DemoEnd> earliest;
    for (const ScriptRecord& trigger : facts.records) {
        const EffectInputs* inputs = inputsOf(facts, trigger);
        if (trigger.isEffect() || !inputs || !inputs->playsMusic() ||
            trigger.triggerId() != inputs->endTrigger())
            continue;
        const double sent = trigger.firstDelivery();
        const bool shown = std::any_of(
            facts.records.begin(), facts.records.end(), [&](const ScriptRecord& player) {
                return player.isEffect() && player.effectName() == trigger.effectName() &&
                       player.startTime() <= sent && sent < player.stopTime();
            });
        if (shown && (!earliest || sent < earliest->sent))
            earliest = DemoEnd{sent, sent + inputs->endFrames() / usualFrameRate,
                               std::string(inputs->endTrigger()), inputs->endFrames()};
    }
    return earliest;
}

void checkOrder(const ScriptRecord& record, std::vector<Diagnostic>& found) {
    const std::string effect = record.effectName();
    if (record.stopTime() < record.startTime())
        found.push_back(warningAt(record.placeOf("stopTime"),
                                  "[" + record.name + "] stops at " +
                                      secondsText(record.stopTime()) + " s, before it starts at " +
                                      secondsText(record.startTime()) + " s: " + effect +
                                      " then stays on to the end"));
    if (record.startTime() < record.initTime())
        found.push_back(
            warningAt(record.placeOf("startTime"),
                      "[" + record.name + "] starts at " + secondsText(record.startTime()) +
                          " s, before it is set up at " + secondsText(record.initTime()) +
                          " s: " + effect + " is drawn before its set-up"));
}

} // namespace

std::vector<Diagnostic> checkTimes(const ScriptFacts& facts) {
    std::vector<Diagnostic> found;
    const std::optional<DemoEnd> end = demoEnd(facts);
    const bool musicEnds = facts.musicClock && facts.music.stream && facts.music.seconds;
    for (const ScriptRecord& record : facts.records) {
        if (record.isEffect())
            checkOrder(record, found);
        const Start start = startOf(record);
        if (musicEnds && start.time > *facts.music.seconds) {
            found.push_back(warningAt(record.placeOf(start.key),
                                      "[" + record.name + "] " + start.verb + " at " +
                                          secondsText(start.time) + " s, after the music ends at " +
                                          secondsText(*facts.music.seconds) +
                                          " s: the clock stops there, so it never happens"));
        } else if (end && start.time > end->end) {
            found.push_back(warningAt(
                record.placeOf(start.key),
                "[" + record.name + "] " + start.verb + " at " + secondsText(start.time) +
                    " s, after the demo has ended through " + inQuotes(end->trigger) +
                    " (sent at " + secondsText(end->sent) + " s, the music fading out over " +
                    std::to_string(end->frames) + " frames)"));
        }
    }
    return found;
}

std::vector<Diagnostic> checkMusicClock(const ScriptFacts& facts) {
    if (!facts.musicClock)
        return {};
    // The first record that does something after 0 s, which could never happen.
    const ScriptRecord* later = nullptr;
    for (const ScriptRecord& record : facts.records) {
        if (firstTime(record) > 0.0 && !playsMusic(facts, record)) {
            later = &record;
            break;
        }
    }
    if (!later)
        return {};
    const std::string never = "the clock stands at 0 until music plays, so nothing after 0 s "
                              "ever happens";

    const ScriptRecord* player = nullptr;
    for (const ScriptRecord& record : facts.records) {
        if (!record.isEffect() || !playsMusic(facts, record))
            continue;
        if (!player || firstTime(record) < firstTime(*player))
            player = &record;
        // Music opens on the player's first frame, from the data its set-up gave it.
        if (record.initTime() <= 0.0 && record.startTime() <= 0.0) {
            player = &record;
            break;
        }
    }
    if (!player) {
        std::string musicPlayer = "a music player";
        for (const std::string& name : facts.effectNames) {
            if (facts.inputsOf && facts.inputsOf(name) && facts.inputsOf(name)->playsMusic()) {
                musicPlayer = name;
                break;
            }
        }
        return {warningAt(
            later->place(), "no record sets up " + musicPlayer + ": " + never,
            {"set up " + musicPlayer + " at 0 s with the music file as its first data string"})};
    }
    if (player->initTime() > 0.0 || player->startTime() > 0.0)
        return {warningAt(player->placeOf(player->initTime() > 0.0 ? "initTime" : "startTime"),
                          player->effectName() + " is set up at " +
                              secondsText(player->initTime()) + " s and starts at " +
                              secondsText(player->startTime()) + " s: " + never,
                          {"set it up and start it at 0 s"})};
    if (player->data().empty())
        return {
            warningAt(player->placeOf("data"), player->effectName() + " names no music: " + never)};
    if (facts.music.usable && !facts.music.stream)
        return {warningAt(player->placeOf("data", 0),
                          inQuotes(facts.music.name) +
                              " is not a stream, whose position could be the clock: " + never,
                          {"streams are MP2, MP3, OGG, WMA and ASF files"})};
    return {};
}

std::vector<Diagnostic> checkOverlaps(const ScriptFacts& facts) {
    // Each object's records by the time they are set up; a record that begins while an earlier
    // one of its object still shows overlaps the one that shows longest.
    std::vector<const ScriptRecord*> effects;
    for (const ScriptRecord& record : facts.records) {
        if (record.isEffect() && record.stopTime() > firstTime(record))
            effects.push_back(&record);
    }
    std::stable_sort(effects.begin(), effects.end(), [](const auto* a, const auto* b) {
        return std::make_pair(a->effectName(), firstTime(*a)) <
               std::make_pair(b->effectName(), firstTime(*b));
    });
    std::vector<Diagnostic> found;
    const ScriptRecord* showing = nullptr;
    for (const ScriptRecord* record : effects) {
        if (showing && showing->effectName() != record->effectName())
            showing = nullptr;
        if (showing && firstTime(*record) < showing->stopTime()) {
            std::vector<std::string> notes;
            const EffectInputs* inputs = inputsOf(facts, *record);
            for (const std::string& name : facts.effectNames) {
                if (inputs && name != record->effectName() && facts.inputsOf(name) == inputs) {
                    notes.push_back(inQuotes(name) + " is a second object of the same kind");
                    break;
                }
            }
            found.push_back(warningAt(
                record->place(),
                "[" + record->name + "] sets up " + record->effectName() + " at " +
                    secondsText(firstTime(*record)) + " s while [" + showing->name +
                    "] shows it (" + secondsText(firstTime(*showing)) + " s to " +
                    secondsText(showing->stopTime()) +
                    " s): the second set-up re-configures the object the first is showing",
                notes));
        }
        if (!showing || record->stopTime() > showing->stopTime())
            showing = record;
    }
    return found;
}
