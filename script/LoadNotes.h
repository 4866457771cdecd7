#pragma once

#include "DataNode.h"
#include "SourcePlace.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// What a load noticed in passing that changes nothing it loads. The checks of a script turn it
// into warnings; the loader only records it. At most `maxEach` notes of each sort are kept: a
// script of a million slips needs no million warnings, and a note must not cost more than the
// text it comes from.

// A value that a definition never reads: written after a statement's value, after a record's
// last member, or after a vector's coordinates.
struct IgnoredValue {
    enum class After { Statement, Record, Vector };

    After after = After::Statement;
    // The first value ignored.
    SourcePlace place;
    // That value: a word's text, or a bracket group's opening bracket.
    std::string text;
    // The name of the definition that ignores it, and its type.
    std::string definition;
    std::string type;
    // The ignored value is a word that names a type, as the first word of a definition does.
    bool namesType = false;
};

// A word read as an int or a float that is not a number as a whole: the value is what the
// conversion made of its beginning.
struct NumberWord {
    SourcePlace place;
    std::string text;
    // The name of the definition or member it is the value of.
    std::string definition;
    Kind kind = Kind::Int;
};

// A backslash inside double quotes followed by a character that has no escape: both vanish.
struct DroppedEscape {
    // The backslash.
    SourcePlace place;
    char character = 0;
};

struct LoadNotes {
    static constexpr std::size_t maxEach = 1000;

    std::vector<IgnoredValue> ignoredValues;
    std::vector<NumberWord> numberWords;
    std::vector<DroppedEscape> droppedEscapes;

    template <typename Note>
    static void keep(std::vector<Note>& notes, Note note) {
        if (notes.size() < maxEach)
            notes.push_back(std::move(note));
    }
};
