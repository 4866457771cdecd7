#pragma once

#include "LoadError.h"

#include <string>
#include <utility>

namespace Errors {

// The script side's errors carry their whole text, names from the script included. It is kept
// as the argument of a bare "%s" so that a '%' written in a script is printed as written.
class DOMError : public LoadError {
public:
    explicit DOMError(std::string message) : LoadError("%s", std::move(message)) {}
};

class ScriptLoaderError : public LoadError {
public:
    explicit ScriptLoaderError(std::string message) : LoadError("%s", std::move(message)) {}
};

// Not a LoadError: code that catches only load errors does not catch this one.
class DataBaseError {
public:
    explicit DataBaseError(std::string message) : message(std::move(message)) {}
    virtual ~DataBaseError() = default;
    DataBaseError(const DataBaseError&) = default;
    DataBaseError& operator=(const DataBaseError&) = default;

    virtual std::string getMessage() const { return message; }

private:
    std::string message;
};

} // namespace Errors
