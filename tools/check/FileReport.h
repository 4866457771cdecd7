#pragma once

#include "TimelineEvent.h"

#include <ostream>
#include <string>
#include <vector>

class ContainerNode;

// The files a demo needs, each once, in the order they are first named, with whether it can be
// used: "ok", "missing", "unreadable: <reason>", or what else stands in its way.
class FileReport {
public:
    // The script's `file` values; the script loaded, so they were all read.
    void addFileValues(const ContainerNode& top);
    // The pictures and music that the effects of the timeline's records will load.
    void addEffectFiles(const std::vector<TimelineEvent>& events);

    // One line per file: its kind, its name as written, its status.
    void print(std::ostream& out) const;
    // True when every file that a record needs can be used.
    bool recordFilesUsable() const;
    // Every file's name as written, in the order of the report.
    std::vector<std::string> names() const;

private:
    struct Entry {
        std::string kind;
        std::string name;
        std::string status;
        bool usable;
    };

    bool has(const std::string& kind, const std::string& name) const;

    std::vector<Entry> entries;
};

// Whether a picture loads: "ok", "missing" or "unreadable: <reason>".
std::string pictureStatus(const std::string& fileName);
// Whether music plays: "ok", "missing", "unreadable: <reason>", "no player for this extension",
// or for a CD track "cd track <n>, mode <m>".
std::string musicStatus(const std::string& specification);
// Whether a file of that status can be used.
bool usableStatus(const std::string& status);
