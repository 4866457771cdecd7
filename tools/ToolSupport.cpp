#include "ToolSupport.h"

#include "LoadError.h"
#include "ScriptErrors.h"

#include <exception>
#include <filesystem>
#include <iostream>

namespace {

int fail(std::string message) {
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    std::cerr << "error: " << message << '\n';
    return 1;
}

} // namespace

std::string enterScriptFolder(const std::string& script) {
    const std::filesystem::path path(script);
    const std::string baseName = path.filename().string();
    std::error_code error;
    if (!path.parent_path().empty())
        std::filesystem::current_path(path.parent_path(), error);
    if (error || baseName.empty())
        throw Errors::LoadError("Could not open file \"%s\"", script);
    return baseName;
}

int runReportingErrors(const std::function<int()>& work) {
    try {
        return work();
    } catch (const Errors::LoadError& error) {
        return fail(error.getMessage());
    } catch (const Errors::DataBaseError& error) {
        return fail(error.getMessage());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
