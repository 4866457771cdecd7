#include "TimelineChange.h"

#include "DemoSystem.h"
#include "RecordingEffect.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TimelineEvent event(double time, EventKind kind, Effect* effect) {
    TimelineEvent made;
    made.time = time;
    made.kind = kind;
    made.effect = effect;
    return made;
}

} // namespace

// What an edit changes, found as the earliest differing event of either timeline.
TEST(TimelineChange, FindsTheEarliestEventThatDiffers) {
    // Effects register with the engine; no window is needed.
    DemoSystem demo;
    std::vector<std::string> log;
    RecordingEffect first("First", log);
    RecordingEffect second("Second", log);
    const std::vector<TimelineEvent> before{
        event(0, EventKind::Init, &first), event(1, EventKind::Start, &first),
        event(5, EventKind::Init, &second), event(6, EventKind::Start, &second),
        event(9, EventKind::Stop, &first)};
    EXPECT_TRUE(std::isinf(firstChange(before, before)));

    // A record moved later: the change is where it was, the earlier time.
    auto moved = before;
    moved[3].time = 7;
    EXPECT_EQ(firstChange(before, moved), 6.0);
    // Moved earlier: where it is now.
    moved[3].time = 5.5;
    EXPECT_EQ(firstChange(before, moved), 5.5);

    // Data, numbers, layer or a trigger's message changed: at the event's time.
    auto changed = before;
    changed[2].data = {"sky.jpg"};
    EXPECT_EQ(firstChange(before, changed), 5.0);
    changed = before;
    changed[2].layer = 3;
    EXPECT_EQ(firstChange(before, changed), 5.0);
    changed = before;
    changed[1].parameters = {1.0f};
    EXPECT_EQ(firstChange(before, changed), 1.0);
    auto triggered = before;
    triggered.insert(triggered.begin() + 4, event(8, EventKind::Trigger, &second));
    triggered[4].message = std::make_shared<TriggerMessage>(TriggerMessage{"Go", {1.0f}});
    EXPECT_EQ(firstChange(before, triggered), 8.0);
    auto retriggered = triggered;
    retriggered[4].message = std::make_shared<TriggerMessage>(TriggerMessage{"Go", {2.0f}});
    EXPECT_EQ(firstChange(triggered, retriggered), 8.0);
    // The same message in another object is no change.
    retriggered[4].message = std::make_shared<TriggerMessage>(TriggerMessage{"Go", {1.0f}});
    EXPECT_TRUE(std::isinf(firstChange(triggered, retriggered)));

    // Events added or taken off the end.
    auto longer = before;
    longer.push_back(event(12, EventKind::Stop, &second));
    EXPECT_EQ(firstChange(before, longer), 12.0);
    EXPECT_EQ(firstChange(longer, before), 12.0);
    // Another effect object at the same time.
    changed = before;
    changed[1].effect = &second;
    EXPECT_EQ(firstChange(before, changed), 1.0);
}
