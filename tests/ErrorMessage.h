#pragma once

#include "LoadError.h"

#include <functional>
#include <string>

// The message of the error of type `Error` that `action` raises, or "(no error)".
template <typename Error = Errors::LoadError>
std::string errorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.getMessage();
    }
    return "(no error)";
}
