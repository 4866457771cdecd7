#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// What a script can hand an effect, stated once by each effect class: the numbers it reads from
// its record and the triggers it reacts to, with theirs. The effects compare trigger names with
// the names stated here, and the checks of a script compare the script with the same statement,
// so that the two cannot disagree.

// Numbers read by position in groups: a group is read only when the list reaches its last number
// (a shorter list leaves the group's defaults). For each group in order, `end` is the length of
// list that completes it: x, then y and z together, is {1, 3}.
struct NumberGroups {
    static constexpr std::size_t maxGroups = 8;

    constexpr NumberGroups() = default;
    constexpr NumberGroups(std::initializer_list<int> groupEnds) {
        for (int groupEnd : groupEnds)
            ends[count++] = static_cast<std::uint8_t>(groupEnd);
    }
    // A list read only as one whole of exactly `length` numbers: any other length is not read.
    static constexpr NumberGroups wholeOrNone(int length) {
        NumberGroups groups{length};
        groups.whole = true;
        return groups;
    }

    // How many numbers are read at most.
    constexpr std::size_t mostRead() const { return count == 0 ? 0 : ends[count - 1]; }
    constexpr std::size_t end(std::size_t group) const { return ends[group]; }
    constexpr std::size_t groups() const { return count; }
    constexpr bool onlyWhole() const { return whole; }

private:
    std::array<std::uint8_t, maxGroups> ends{};
    std::size_t count = 0;
    bool whole = false;
};

struct TriggerInput {
    constexpr TriggerInput() = default;
    constexpr TriggerInput(std::string_view name, NumberGroups numbers = {})
        : name(name), numbers(numbers) {}

    std::string_view name;
    NumberGroups numbers;
};

struct EffectInputs {
    static constexpr std::size_t maxTriggers = 4;

    // An effect that reads `parameters` from its record and reacts to the named triggers only.
    constexpr EffectInputs(NumberGroups parameters, std::initializer_list<TriggerInput> named = {})
        : parameters(parameters) {
        for (const TriggerInput& trigger : named)
            triggers[triggerCount++] = trigger;
    }
    // An effect that reacts to every trigger alike, whatever its name.
    static constexpr EffectInputs anyTrigger(NumberGroups parameters, NumberGroups numbers) {
        EffectInputs inputs(parameters);
        inputs.anyName = true;
        inputs.anyNameNumbers = numbers;
        return inputs;
    }
    // The sound player: its first data string names the music, whose position is the clock, and
    // `endTrigger` fades the music out over `endFrames` drawn frames, which ends the demo.
    static constexpr EffectInputs musicPlayer(std::string_view endTrigger, int endFrames) {
        EffectInputs inputs({}, {{endTrigger, {}}});
        inputs.music = true;
        inputs.demoEnd = endTrigger;
        inputs.demoEndFrames = endFrames;
        return inputs;
    }

    // The numbers a trigger of this name is read with; nothing when the effect ignores it.
    constexpr const NumberGroups* triggerNumbers(std::string_view name) const {
        if (anyName)
            return &anyNameNumbers;
        for (std::size_t i = 0; i < triggerCount; ++i) {
            if (triggers[i].name == name)
                return &triggers[i].numbers;
        }
        return nullptr;
    }
    constexpr bool reactsToAnyName() const { return anyName; }
    // The names it reacts to, in the order stated.
    constexpr const TriggerInput* namedBegin() const { return triggers.data(); }
    constexpr const TriggerInput* namedEnd() const { return triggers.data() + triggerCount; }

    constexpr bool playsMusic() const { return music; }
    constexpr std::string_view endTrigger() const { return demoEnd; }
    constexpr int endFrames() const { return demoEndFrames; }

    NumberGroups parameters;

private:
    std::array<TriggerInput, maxTriggers> triggers{};
    std::size_t triggerCount = 0;
    bool anyName = false;
    NumberGroups anyNameNumbers;
    bool music = false;
    std::string_view demoEnd;
    int demoEndFrames = 0;
};

inline constexpr NumberGroups noNumbers{};
