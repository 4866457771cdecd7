#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The files a demo reads, watched for changes. The kernel tells of every write, create, delete
// and rename in their folders (so an editor that saves by renaming a new file over the old one
// is seen), and a change counts once nothing has been written to them for `settle`, so that a
// save seen halfway (an editor truncates, then writes) is not taken for the new text. Files in
// folders that are not there yet, or where the kernel will not watch, are looked at now and then
// instead.
class FileWatch {
public:
    explicit FileWatch(std::chrono::milliseconds settle = std::chrono::milliseconds(60));
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    void watch(const std::vector<std::filesystem::path>& files);
    // The files that differ from what watch() saw, once they have held still; empty while none
    // has changed or a change is still being written.
    std::vector<std::filesystem::path> settledChanges();
    bool settledChange() { return !settledChanges().empty(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Stamp {
        std::filesystem::file_time_type time{};
        std::uintmax_t size = 0;
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    using Stamps = std::map<std::filesystem::path, Stamp>;

    Stamps lookNow() const;
    void closeWatches();
    // Reads what the kernel told; true when it named a watched file.
    bool readEvents();

    std::chrono::milliseconds settle;
    Stamps watched;
    int notify = -1;
    // Watch descriptor to the folder, and the names watched in each folder.
    std::map<int, std::filesystem::path> folders;
    std::set<std::filesystem::path> heard;
    bool unheard = false;
    // The last time a watched file was written, or the last look that found it changing.
    std::optional<Clock::time_point> lastStir;
    std::optional<Stamps> changing;
    Clock::time_point lastLook{};
};
