#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Scripts were written on a system whose file names use '\' as separator, may start with a
// separator or a drive letter meaning "the demo's root", and ignore letter case. This finds the
// file such a name means on this system, relative to the working directory.
//
// In order: the name exactly as written; '\' read as a separator; a rooted name (leading separator
// or drive letter) taken relative to the working directory; then each component matched without
// regard to ASCII letter case. Returns nothing when no file or folder answers to the name.
std::optional<std::filesystem::path> resolvePortablePath(const std::string& name);

// Where the file a name means would be if it were created now, letters as written: what a
// viewer watches for a file the script names that is not there yet. A name without '\' or a
// drive letter stays as it is.
std::filesystem::path plainPortablePath(const std::string& name);

// What a viewer watches for a name: the file it means, or else where that file would appear;
// empty when the name cannot mean a file.
std::filesystem::path watchedPortablePath(const std::string& name);

// One name per file on disk, whatever path led to it: used to tell whether two names are the
// same file.
std::filesystem::path fileIdentity(const std::filesystem::path& path);
