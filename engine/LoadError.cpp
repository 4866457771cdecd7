#include "LoadError.h"

#include <utility>

namespace Errors {

LoadError::LoadError(std::string format, std::string argument)
    : argument(std::move(argument)), format(std::move(format)) {}

std::string LoadError::getMessage() const {
    // Only the first "%s" is a directive; every other character, '%' included, is copied.
    const auto at = format.find("%s");
    if (at == std::string::npos)
        return format;
    std::string message = format;
    message.replace(at, 2, argument);
    return message;
}

} // namespace Errors
