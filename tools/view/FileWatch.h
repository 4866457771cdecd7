#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

// The files a demo reads, looked at now and then for changes. A change counts once the files
// have held still between two looks, so that a save seen halfway (an editor truncates, then
// writes) is not taken for the new text.
class FileWatch {
public:
    void watch(const std::vector<std::filesystem::path>& files);
    // True when the files differ from what watch() saw and are as they were at the last look.
    bool settledChange();

private:
    struct Stamp {
        std::filesystem::file_time_type time{};
        std::uintmax_t size = 0;
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    using Stamps = std::map<std::filesystem::path, Stamp>;

    Stamps lookNow() const;

    Stamps watched;
    std::optional<Stamps> changing;
};
