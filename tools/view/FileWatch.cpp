#include "FileWatch.h"

namespace fs = std::filesystem;

void FileWatch::watch(const std::vector<fs::path>& files) {
    watched.clear();
    for (const auto& file : files)
        watched[file] = {};
    watched = lookNow();
    changing.reset();
}

bool FileWatch::settledChange() {
    Stamps now = lookNow();
    if (now == watched) {
        changing.reset();
        return false;
    }
    if (changing && *changing == now)
        return true;
    changing = std::move(now);
    return false;
}

// Size as well as time: two writes within one tick of the file system's clock share a time.
FileWatch::Stamps FileWatch::lookNow() const {
    Stamps stamps;
    for (const auto& entry : watched) {
        const fs::path& file = entry.first;
        Stamp& stamp = stamps[file];
        std::error_code failed;
        stamp.time = fs::last_write_time(file, failed);
        if (failed)
            continue;
        stamp.size = fs::file_size(file, failed);
        stamp.exists = !failed;
    }
    return stamps;
}
