#include "ScriptTest.h"

#include "ScriptErrors.h"
#include "ScriptLoader.h"

std::unique_ptr<DomCursor> ScriptTest::load(const std::string& text, const std::string& name) {
    folder.write(name, text);
    return loadScript(name);
}

std::string ScriptTest::errorOf(const std::string& text, const std::string& name) {
    try {
        load(text, name);
    } catch (const Errors::LoadError& error) {
        return error.getMessage();
    } catch (const Errors::DataBaseError& error) {
        return "DataBaseError: " + error.getMessage();
    }
    return "(loaded)";
}
