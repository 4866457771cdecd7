#pragma once

#include <string>
#include <string_view>
#include <vector>

// The files each effect loads when it runs: its pictures or its music, from its data strings or
// its own default names. Tools read this to check a demo's files before it plays.
enum class FileKind { Picture, Music };

struct FileUse {
    FileKind kind;
    std::string name;

    friend bool operator==(const FileUse&, const FileUse&) = default;
};

// The files that the effect registered under `effectName` loads when set up with `data`, in the
// order it loads them; nothing for an effect that loads no file.
std::vector<FileUse> filesUsedBy(std::string_view effectName, const std::vector<std::string>& data);
