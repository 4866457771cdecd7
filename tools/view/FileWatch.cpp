#include "FileWatch.h"

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Where the kernel cannot tell, a look this often: the old way, which costs a stat per file.
constexpr auto lookInterval = std::chrono::milliseconds(300);

constexpr std::uint32_t folderEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE |
                                       IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                                       IN_MOVE_SELF;

} // namespace

FileWatch::FileWatch(std::chrono::milliseconds settle) : settle(settle) {}

FileWatch::~FileWatch() {
    closeWatches();
}

void FileWatch::closeWatches() {
    if (notify >= 0)
        close(notify);
    notify = -1;
    folders.clear();
    heard.clear();
}

void FileWatch::watch(const std::vector<fs::path>& files) {
    closeWatches();
    watched.clear();
    unheard = false;
    notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    std::map<fs::path, int> byFolder;
    for (const auto& file : files) {
        watched[file] = {};
        const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
        auto found = byFolder.find(folder);
        if (found == byFolder.end()) {
            const int descriptor =
                notify < 0 ? -1 : inotify_add_watch(notify, folder.c_str(), folderEvents);
            found = byFolder.emplace(folder, descriptor).first;
            if (descriptor >= 0)
                folders[descriptor] = folder;
        }
        // As the kernel's events will name it: the folder and the name in it.
        if (found->second >= 0)
            heard.insert(folder / file.filename());
        else
            unheard = true;
    }
    watched = lookNow();
    changing.reset();
    lastStir.reset();
    lastLook = Clock::now();
}

bool FileWatch::readEvents() {
    if (notify < 0)
        return false;
    bool named = false;
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t count = read(notify, buffer, sizeof buffer);
        if (count <= 0)
            break;
        for (ssize_t at = 0; at < count;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders.find(event->wd);
            if (folder == folders.end())
                continue;
            // A folder moved or gone, or events lost: any of its files may have changed.
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW) || event->len == 0) {
                named = true;
                continue;
            }
            if (heard.count(folder->second / event->name))
                named = true;
        }
    }
    return named;
}

std::vector<fs::path> FileWatch::settledChanges() {
    const auto now = Clock::now();
    if (readEvents())
        lastStir = now;
    // Files the kernel does not watch are looked at as before: a change that holds still from
    // one look to the next.
    if (unheard && now - lastLook >= lookInterval) {
        lastLook = now;
        Stamps look = lookNow();
        if (look != watched && !(changing && *changing == look))
            lastStir = now;
        changing = std::move(look);
    }
    if (!lastStir || now - *lastStir < settle)
        return {};
    lastStir.reset();
    const Stamps look = lookNow();
    changing = look;
    std::vector<fs::path> changed;
    for (const auto& [file, stamp] : look) {
        if (watched.at(file) != stamp)
            changed.push_back(file);
    }
    return changed;
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
