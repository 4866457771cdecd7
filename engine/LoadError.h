#pragma once

#include <string>

namespace Errors {

// The base of every error raised while a script and its files load. Thrown by value, caught by
// reference; the timeline loader catches this one type for all of them.
class LoadError {
public:
    LoadError(std::string format, std::string argument);
    virtual std::string getMessage() const;
    virtual ~LoadError() = default;

    LoadError(const LoadError&) = default;
    LoadError& operator=(const LoadError&) = default;

private:
    std::string argument;
    std::string format;
};

} // namespace Errors
