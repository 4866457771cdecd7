#pragma once

#include <cstddef>
#include <iterator>
#include <map>
#include <optional>

// The demo's snapshots the viewer keeps, by the time of the frame that comes next after each:
// a seek puts back the latest one at or before its target and replays the rest. Kept within a
// budget of bytes: past it, every other snapshot goes (the oldest, at 0, always stays), so a
// long demo keeps snapshots further apart rather than running out of memory.
template <typename Snapshot>
class SnapshotShelf {
public:
    explicit SnapshotShelf(std::size_t budgetBytes) : budget(budgetBytes) {}

    // `nextFrame`: the demo time the frame after the snapshot is drawn at.
    void keep(double nextFrame, Snapshot snapshot) {
        bytes += snapshot.byteSize();
        auto [place, added] = shelf.insert_or_assign(nextFrame, std::move(snapshot));
        if (!added)
            recount();
        while (bytes > budget && shelf.size() > 2)
            thinOut();
    }

    // The latest snapshot whose next frame is at or before `time`; null when none is.
    const Snapshot* latestAtOrBefore(double time, double* nextFrame = nullptr) const {
        auto after = shelf.upper_bound(time);
        if (after == shelf.begin())
            return nullptr;
        const auto found = std::prev(after);
        if (nextFrame)
            *nextFrame = found->first;
        return &found->second;
    }

    // The latest time kept, if any: where the next snapshot is due from.
    std::optional<double> latestTime() const {
        if (shelf.empty())
            return std::nullopt;
        return shelf.rbegin()->first;
    }

    // Forgets every snapshot whose next frame is after `time`: the demo from there on is not
    // what they hold any more.
    void dropAfter(double time) {
        shelf.erase(shelf.upper_bound(time), shelf.end());
        recount();
    }

    void clear() {
        shelf.clear();
        bytes = 0;
    }

    std::size_t size() const { return shelf.size(); }
    std::size_t byteSize() const { return bytes; }

private:
    void recount() {
        bytes = 0;
        for (const auto& entry : shelf)
            bytes += entry.second.byteSize();
    }

    // Every second snapshot after the first goes.
    void thinOut() {
        bool drop = false;
        for (auto entry = std::next(shelf.begin()); entry != shelf.end();) {
            if (drop)
                entry = shelf.erase(entry);
            else
                ++entry;
            drop = !drop;
        }
        recount();
    }

    std::size_t budget;
    std::size_t bytes = 0;
    std::map<double, Snapshot> shelf;
};
