// The checks of what the records hand their effects: trigger names and targets, numbers, files.

#include "CheckText.h"
#include "ScriptChecks.h"

#include <algorithm>
#include <optional>
#include <set>

namespace {

const EffectInputs* inputsOf(const ScriptFacts& facts, const ScriptRecord& record) {
    return facts.inputsOf ? facts.inputsOf(record.effectName()) : nullptr;
}

std::string namesList(const EffectInputs& inputs) {
    std::string list;
    for (const TriggerInput* trigger = inputs.namedBegin(); trigger != inputs.namedEnd(); ++trigger)
        list += (list.empty() ? "" : ", ") + inQuotes(std::string(trigger->name));
    return list;
}

std::string count(std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

// The numbers of a list from one on, all ignored: "this one is", "these 3 are".
std::string allIgnored(std::size_t n) {
    return n == 1 ? "this one is ignored" : "these " + std::to_string(n) + " are ignored";
}

std::string ignoredFromHere(std::size_t n) {
    return n == 1 ? "this one is ignored"
                  : "this one and the " + count(n - 1, "number") + " after it are ignored";
}

// What is wrong with `n` numbers read as `groups`, said of `reader`; nothing when all are read.
// `at` gives the place of a number by its index.
template <typename PlaceOf>
std::optional<Diagnostic> numberCountProblem(const NumberGroups& groups, std::size_t n,
                                             const std::string& reader, PlaceOf at) {
    const std::size_t most = groups.mostRead();
    if (n == 0)
        return std::nullopt;
    if (groups.onlyWhole()) {
        if (n == most)
            return std::nullopt;
        return warningAt(at(0), reader + " reads exactly " + count(most, "number") +
                                    " or none: " + allIgnored(n) + ", as if there were none");
    }
    if (n > most) {
        if (most == 0)
            return warningAt(at(0), reader + " reads no numbers: " + allIgnored(n));
        return warningAt(at(most), reader + " reads at most " + count(most, "number") + ": " +
                                       ignoredFromHere(n - most));
    }
    std::size_t groupBegin = 0;
    for (std::size_t group = 0; group < groups.groups(); ++group) {
        const std::size_t groupEnd = groups.end(group);
        if (n == groupEnd)
            return std::nullopt;
        if (n < groupEnd)
            return warningAt(at(groupBegin),
                             reader + " reads numbers " + std::to_string(groupBegin + 1) + " to " +
                                 std::to_string(groupEnd) + " only together: this " +
                                 "group holds " + std::to_string(n - groupBegin) + " of its " +
                                 std::to_string(groupEnd - groupBegin) + " and is ignored whole");
        groupBegin = groupEnd;
    }
    return std::nullopt;
}

} // namespace

std::vector<Diagnostic> checkTriggerNames(const ScriptFacts& facts) {
    std::vector<Diagnostic> found;
    for (const ScriptRecord& record : facts.records) {
        const EffectInputs* inputs = inputsOf(facts, record);
        if (record.isEffect() || !inputs || inputs->triggerNumbers(record.triggerId()))
            continue;
        const std::string& id = record.triggerId();
        if (inputs->namedBegin() == inputs->namedEnd()) {
            found.push_back(warningAt(record.placeOf("triggerId"),
                                      record.effectName() + " reacts to no trigger: " +
                                          inQuotes(id) + " changes nothing"));
            continue;
        }
        std::vector<std::string_view> known;
        for (const TriggerInput* trigger = inputs->namedBegin(); trigger != inputs->namedEnd();
             ++trigger)
            known.push_back(trigger->name);
        std::vector<std::string> notes;
        if (const std::string near = nearestName(id, known); !near.empty())
            notes.push_back("did you mean " + inQuotes(near) + "?");
        found.push_back(warningAt(record.placeOf("triggerId"),
                                  record.effectName() + " never reacts to the trigger " +
                                      inQuotes(id) + ": it knows " + namesList(*inputs),
                                  notes));
    }
    return found;
}

std::vector<Diagnostic> checkTriggerTargets(const ScriptFacts& facts) {
    std::set<std::string> setUp;
    for (const ScriptRecord& record : facts.records) {
        if (record.isEffect())
            setUp.insert(record.effectName());
    }
    std::vector<Diagnostic> found;
    for (const ScriptRecord& record : facts.records) {
        if (record.isEffect() || setUp.count(record.effectName()))
            continue;
        found.push_back(warningAt(record.placeOf("effectId"),
                                  "no DemoEffect record sets up " + record.effectName() +
                                      ": the trigger " + inQuotes(record.triggerId()) +
                                      " reaches an effect that never shows"));
    }
    return found;
}

std::vector<Diagnostic> checkNumberCounts(const ScriptFacts& facts) {
    std::vector<Diagnostic> found;
    for (const ScriptRecord& record : facts.records) {
        const EffectInputs* inputs = inputsOf(facts, record);
        if (!inputs)
            continue;
        const auto at = [&record](std::size_t index) {
            return record.placeOf("parameters", index);
        };
        std::optional<Diagnostic> problem;
        if (record.isEffect()) {
            problem = numberCountProblem(inputs->parameters, record.numbers().size(),
                                         record.effectName(), at);
        } else if (const NumberGroups* groups = inputs->triggerNumbers(record.triggerId())) {
            problem = numberCountProblem(
                *groups, record.numbers().size(),
                record.effectName() + "'s trigger " + inQuotes(record.triggerId()), at);
        }
        if (problem)
            found.push_back(std::move(*problem));
    }
    return found;
}

std::vector<Diagnostic> checkFiles(const ScriptFacts& facts) {
    std::vector<Diagnostic> found;
    for (const FileProblem& file : facts.files) {
        const ScriptRecord& record = facts.records.at(file.record);
        const SourcePlace place =
            file.data ? record.placeOf("data", *file.data) : record.placeOf("identifier");
        std::string message =
            file.kind + " " + inQuotes(file.name) + " cannot be used: " + file.status;
        if (!file.data)
            message += " (the default of " + record.effectName() + ")";
        std::vector<std::string> notes;
        if (file.kind == "music")
            notes.push_back("without it the demo is silent and its clock stands at 0");
        else
            notes.push_back(record.effectName() + " draws a transparent picture instead");
        const bool control = std::any_of(file.name.begin(), file.name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20;
        });
        if (control)
            notes.push_back("the name holds a control character: inside double quotes \\t, \\n "
                            "and the like are escapes; file names belong in single quotes");
        found.push_back(warningAt(place, message, notes));
    }
    return found;
}
