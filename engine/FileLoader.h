#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <string>
#include <vector>

// Opens a file named by a script (portable name resolution, binary mode). Only regular files
// open: a folder or a device would read as empty or never end. `size`, when asked for, is the
// file's size as the file system reports it. Throws Errors::LoadError
// "Could not open file \"%s\"" with the name as written.
std::ifstream openScriptFile(const std::string& fileName, std::uintmax_t* size = nullptr);

// While `opened` is set, the path of every file that openScriptFile opens is added to it, so that
// a viewer learns which files a script load read (the script, its includes, its file values);
// of one that fails to open, where it would be (watchedPortablePath). nullptr stops the
// recording.
// Main thread only.
void recordOpenedFiles(std::vector<std::filesystem::path>* opened);

// The one way the program reads a file by name: open, hand the stream to the format's reader,
// close. Each format derives a loader and implements `read`.
template <typename Result>
class FileLoader {
public:
    virtual ~FileLoader() = default;

    Result load(const std::string& fileName) {
        std::ifstream stream = openScriptFile(fileName);
        return read(fileName, stream);
    }

protected:
    virtual Result read(const std::string& fileName, std::istream& stream) = 0;
};
