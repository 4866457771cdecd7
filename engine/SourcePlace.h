#pragma once

#include <memory>
#include <string>

// Where something stands in a script: the file as the script names it, and the line and column
// of its first character, both counted from 1 (the first character of a line is column 1,
// a tab counting as one). A place without a file is nowhere: what it belongs to came from no
// script text. The file's name is shared by every place in it.
struct SourcePlace {
    std::shared_ptr<const std::string> file;
    int line = 0;
    int column = 0;

    bool known() const { return file != nullptr; }
    const std::string& fileName() const {
        static const std::string nowhere;
        return file ? *file : nowhere;
    }
};
