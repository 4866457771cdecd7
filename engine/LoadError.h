#pragma once

#include "SourcePlace.h"

#include <string>
#include <vector>

namespace Errors {

// The base of every error raised while a script and its files load. Thrown by value, caught by
// reference; the timeline loader catches this one type for all of them. Besides its message it
// may say where in the script it comes from, and carry notes on a likely fix; neither is part of
// the message.
class LoadError {
public:
    LoadError(std::string format, std::string argument);
    virtual std::string getMessage() const;
    virtual ~LoadError() = default;

    LoadError(const LoadError&) = default;
    LoadError& operator=(const LoadError&) = default;

    const SourcePlace& getPlace() const { return place; }
    // Gives the error the place it comes from unless it has one already: the innermost place,
    // nearest the cause, is the one kept as the error passes out through the loader.
    void placeAt(const SourcePlace& where) {
        if (!place.known())
            place = where;
    }

    const std::vector<std::string>& getNotes() const { return notes; }
    void addNote(std::string note) { notes.push_back(std::move(note)); }

private:
    std::string argument;
    std::string format;
    SourcePlace place;
    std::vector<std::string> notes;
};

// Runs `work`; a load error that leaves it gets `place` unless it has a place already.
template <typename Work>
decltype(auto) placingErrors(const SourcePlace& place, Work&& work) {
    try {
        return work();
    } catch (LoadError& error) {
        error.placeAt(place);
        throw;
    }
}

} // namespace Errors
