#pragma once

#include "LoadNotes.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What one script load keeps while it parses: the chain of open files (to refuse include cycles
// and runaway include chains), how deep containers are nested across all of them, how many
// include directives have run and how much text all files together have brought in (a file
// included many times over counts each time). Counting the directives bounds fan-out: files that
// each include the next twice would otherwise double the work with every file.
struct ParseContext {
    static constexpr std::size_t maxIncludeDepth = 64;
    static constexpr std::size_t maxIncludes = 4096;
    static constexpr int maxContainerDepth = 256;
    static constexpr std::uintmax_t maxTotalScriptBytes = std::uintmax_t{32} << 20;

    std::vector<std::filesystem::path> openFiles;
    // The file each include name stands for, found once per load: resolving a name walks the
    // whole path with a system call per folder, which made up most of an include's cost.
    std::map<std::string, std::optional<std::filesystem::path>> includeIdentities;
    // The text of each file included, read once per load: opening, reading and closing a file
    // again for every include of it was the rest of that cost. Bounded by the total above.
    std::map<std::filesystem::path, std::string> includeTexts;
    // What the load noticed that changes nothing, for the checks of the script.
    LoadNotes notes;
    int containerDepth = 0;
    std::size_t includes = 0;
    std::uintmax_t scriptBytes = 0;
};

// Holds one level of container nesting for as long as a container is being filled.
class ContainerDepth {
public:
    ContainerDepth(ParseContext& context, const std::string& name);
    ~ContainerDepth() { --context.containerDepth; }
    ContainerDepth(const ContainerDepth&) = delete;
    ContainerDepth& operator=(const ContainerDepth&) = delete;

private:
    ParseContext& context;
};
