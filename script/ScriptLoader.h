#pragma once

#include "DomCursor.h"

#include <memory>
#include <string>

// Reads a script file (and the files it includes) into a data tree. Throws Errors::LoadError
// (or a class derived from it) when the file cannot be opened, lexed or parsed, and
// Errors::DataBaseError when a file value clashes with one already loaded.
std::unique_ptr<DomCursor> loadScript(const std::string& fileName);
