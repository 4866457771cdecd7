#pragma once

#include <filesystem>
#include <string>

// A fresh folder that is the working directory for the life of the object, as a demo's folder
// is for the player.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    // Writes `content` to `name` (relative to the folder), making parent folders as needed.
    void write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};
