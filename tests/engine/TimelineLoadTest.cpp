#include "DemoSystem.h"
#include "Effect.h"
#include "LoadError.h"
#include "RecordingEffect.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TimelineLoader.h"
#include "TriggerTimes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// Loading only: a DemoSystem without a window, as reelcheck has it.
class TimelineLoad : public ::testing::Test {
protected:
    void load(const std::string& records) { loadText(recordTypes + records); }

    void loadText(const std::string& script) {
        folder.write("demoscript.scr", script);
        demo.loadTimeline("demoscript.scr");
    }

    std::string refusal(const std::string& records) { return refusalOfText(recordTypes + records); }

    std::string refusalOfText(const std::string& script) {
        try {
            loadText(script);
        } catch (const Errors::LoadError& error) {
            return error.getMessage();
        }
        return "(loaded)";
    }

    // "<time> <kind> <effect>" for each event, in timeline order.
    std::vector<std::string> timeline() const {
        std::vector<std::string> lines;
        for (const TimelineEvent& event : demo.getEvents()) {
            std::ostringstream line;
            line << event.time << ' ' << eventKindName(event.kind) << ' '
                 << event.effect->getName();
            if (event.kind == EventKind::Trigger)
                line << ' ' << event.message->triggerId;
            lines.push_back(line.str());
        }
        return lines;
    }

    TempFolder folder;
    DemoSystem demo;
    std::vector<std::string> log;
    RecordingEffect alpha{"Alpha", log};
    RecordingEffect beta{"Beta", log};
};

TEST_F(TimelineLoad, SortsByTimeAndKeepsCreationOrderForEqualTimes) {
    load(effectRecord("late", "Beta", 1, "2", "3", "4") +
         effectRecord("early", "Alpha", 1, "0", "0", "0") +
         triggerRecord("go", "Beta", "Go", false, "0", "0", "0") +
         effectRecord("mixed", "Beta", 1, "3", "1", "0.5"));
    EXPECT_THAT(timeline(),
                ElementsAre("0 Init Alpha", "0 Start Alpha", "0 Stop Alpha", "0 Trigger Beta Go",
                            "0.5 Stop Beta", "1 Start Beta", "2 Init Beta", "3 Start Beta",
                            "3 Init Beta", "4 Stop Beta"));
}

TEST_F(TimelineLoad, InitCarriesLayerDataAndSinglePrecisionParameters) {
    load(effectRecord("a", "Alpha", 7, "0", "1", "2", "one.jpg \"two words\"", "0.1 -3.5 2"));
    const TimelineEvent& init = demo.getEvents().front();
    EXPECT_EQ(init.kind, EventKind::Init);
    EXPECT_EQ(init.layer, 7);
    EXPECT_THAT(init.data, ElementsAre("one.jpg", "two words"));
    EXPECT_THAT(init.parameters, ElementsAre(0.1f, -3.5f, 2.0f));
    // The double 0.1 reaches the effect rounded to single precision.
    EXPECT_NE(static_cast<double>(init.parameters[0]), 0.1);
    EXPECT_TRUE(demo.getEvents()[1].parameters.empty());
}

TEST_F(TimelineLoad, ReadsRecordsThatShareAName) {
    load(effectRecord("same", "Alpha", 1, "0", "0", "1") +
         effectRecord("same", "Beta", 1, "0", "0", "1") +
         triggerRecord("same", "Beta", "T", false, "5", "0", "0"));
    EXPECT_THAT(timeline(),
                ElementsAre("0 Init Alpha", "0 Start Alpha", "0 Init Beta", "0 Start Beta",
                            "1 Stop Alpha", "1 Stop Beta", "5 Trigger Beta T"));
}

TEST_F(TimelineLoad, IgnoresOtherRecordTypesAndAnEmptyScript) {
    load("typedef block Other { string identifier; };\nOther x ( Alpha );\n");
    EXPECT_TRUE(demo.getEvents().empty());
}

TEST_F(TimelineLoad, ExpandsTriggersOnceOrPeriodically) {
    load(triggerRecord("once", "Alpha", "Once", false, "12.5", "20", "1", "1 2") +
         triggerRecord("tick", "Beta", "Tick", true, "10", "12", "0.5") +
         triggerRecord("single", "Beta", "Single", true, "3", "3", "1"));
    EXPECT_THAT(timeline(), ElementsAre("3 Trigger Beta Single", "10 Trigger Beta Tick",
                                        "10.5 Trigger Beta Tick", "11 Trigger Beta Tick",
                                        "11.5 Trigger Beta Tick", "12.5 Trigger Alpha Once"));
    EXPECT_THAT(demo.getEvents().back().message->parameters, ElementsAre(1.0f, 2.0f));
}

TEST(TriggerTimes, AccumulatesTheDelayInDoublePrecision) {
    // 0.1 + 0.1 + 0.1 is 0.30000000000000004, not below 0.3.
    EXPECT_THAT(triggerTimes(true, 0.0, 0.3, 0.1, "t", "e"), ElementsAre(0.0, 0.1, 0.2));
    const std::vector<double> tenths = triggerTimes(true, 0.0, 1.0, 0.1, "t", "e");
    ASSERT_EQ(tenths.size(), 11u); // the tenth sum is 0.9999999999999999
    EXPECT_EQ(tenths[3], 0.1 + 0.1 + 0.1);
    EXPECT_THAT(triggerTimes(true, 5.0, 2.0, -1.0, "t", "e"), ElementsAre(5.0));
    EXPECT_THAT(triggerTimes(false, 1.0, 9.0, 0.0, "t", "e"), ElementsAre(1.0));
}

TEST(TriggerTimes, RefusesRepetitionWithoutEnd) {
    const std::string message = "Error : trigger [Tick] for [Fader] repeats without end";
    auto refusal = [](double begin, double end, double delay) -> std::string {
        try {
            triggerTimes(true, begin, end, delay, "Tick", "Fader");
        } catch (const Errors::LoadError& error) {
            return error.getMessage();
        }
        return "(expanded)";
    };
    EXPECT_EQ(refusal(0, 10, 0), message);
    EXPECT_EQ(refusal(0, 10, -1), message);
    // A delay too small to move the sum, and one that would make too many events.
    EXPECT_EQ(refusal(1e6, 2e6, 1e-12), message);
    EXPECT_EQ(refusal(0, 1'000'000.5, 1), message);
    EXPECT_EQ(triggerTimes(true, 0, 1'000'000, 1, "t", "e").size(), 1'000'000u);
}

TEST_F(TimelineLoad, RefusesRecordsForUnknownEffects) {
    EXPECT_EQ(refusal(effectRecord("r1", "alpha", 1, "0", "0", "1")),
              "Error : unknown effect [alpha] in record [r1]");
    EXPECT_EQ(refusal(triggerRecord("t1", "Gamma", "Go", false, "0", "0", "0")),
              "Error : unknown effect [Gamma] in record [t1]");
}

TEST_F(TimelineLoad, AnUnknownEffectNamesTheNearestRegisteredOne) {
    const auto notesOf = [this](const std::string& effect) {
        try {
            load(effectRecord("r", effect, 1, "0", "0", "1"));
        } catch (const Errors::LoadError& error) {
            EXPECT_EQ(error.getPlace().line, 6) << effect;
            EXPECT_EQ(error.getPlace().column, 16) << effect;
            return error.getNotes();
        }
        return std::vector<std::string>{"(loaded)"};
    };
    EXPECT_THAT(notesOf("alpha"), ElementsAre("did you mean \"Alpha\"?"));
    EXPECT_THAT(notesOf("Betta"), ElementsAre("did you mean \"Beta\"?"));
    EXPECT_THAT(notesOf("Tunnel"), ::testing::IsEmpty());
}

TEST_F(TimelineLoad, RefusesTimesThatAreNotFinite) {
    for (const char* time : {"nan", "inf", "-inf", "1e999"}) {
        EXPECT_EQ(refusal(effectRecord("e", "Alpha", 1, "0", time, "1")),
                  "Error : time is not a finite number in record [e]")
            << time;
        EXPECT_EQ(refusal(triggerRecord("t", "Alpha", "Go", false, "0", "1", time)),
                  "Error : time is not a finite number in record [t]")
            << time;
    }
}

TEST_F(TimelineLoad, RefusesRunawayTriggersAndKeepsTheTimelineItHad) {
    load(effectRecord("a", "Alpha", 1, "0", "0", "1"));
    EXPECT_EQ(refusal(triggerRecord("t", "Beta", "Spin", true, "0", "10", "0")),
              "Error : trigger [Spin] for [Beta] repeats without end");
    EXPECT_EQ(timeline().size(), 3u);
}

// "n n n ..." with `count` numbers.
std::string manyNumbers(int count) {
    std::string numbers;
    for (int i = 0; i < count; ++i)
        numbers += "1 ";
    return numbers;
}

TEST_F(TimelineLoad, BoundsTheNumbersThatAllTriggerEventsDeliver) {
    // 1,000 numbers repeated 16,000 times are the most accepted; the events share them.
    load(triggerRecord("full", "Alpha", "Beat", true, "0", "16000", "1", manyNumbers(1000)));
    ASSERT_EQ(demo.getEvents().size(), 16'000u);
    EXPECT_EQ(demo.getEvents().front().message, demo.getEvents().back().message);
    EXPECT_EQ(demo.getEvents().back().message->parameters.size(), 1000u);

    // One repetition more, spread over two records: the second one is named.
    EXPECT_EQ(
        refusal(triggerRecord("most", "Alpha", "Beat", true, "0", "15999", "1", manyNumbers(1000)) +
                triggerRecord("more", "Beta", "Beat", true, "0", "2", "1", manyNumbers(1000))),
        "Error : timeline too large in record [more]");
    EXPECT_EQ(refusal(triggerRecord("huge", "Alpha", "Beat", true, "0", "999999", "1",
                                    manyNumbers(1000))),
              "Error : timeline too large in record [huge]");
}

TEST_F(TimelineLoad, BoundsTheEventsOfTheWholeTimeline) {
    // Each record alone is allowed; together they pass a million events.
    const std::string big = triggerRecord("big", "Alpha", "Tick", true, "0", "600000", "1");
    EXPECT_EQ(refusal(big + triggerRecord("big2", "Beta", "Tock", true, "0", "600000", "1")),
              "Error : timeline too large in record [big2]");
    EXPECT_EQ(refusal(triggerRecord("fill", "Alpha", "Tick", true, "0", "999998", "1") +
                      effectRecord("fx", "Beta", 1, "0", "0", "1")),
              "Error : timeline too large in record [fx]");
    // A single record past the bound still says it repeats without end.
    EXPECT_EQ(refusal(triggerRecord("t", "Alpha", "Spin", true, "0", "1000001", "1")),
              "Error : trigger [Spin] for [Alpha] repeats without end");

    load(triggerRecord("fill", "Alpha", "Tick", true, "0", "999997", "1") +
         effectRecord("fx", "Beta", 1, "0", "0", "1"));
    EXPECT_EQ(demo.getEvents().size(), TimelineLoader::maxEvents);
}

TEST_F(TimelineLoad, PassesOnTheCursorsErrorsForMisshapenRecords) {
    // Record types are the script's own, so a script can get them wrong.
    EXPECT_EQ(refusalOfText("typedef block DemoEffect { string identifier; float layer; };\n"
                            "DemoEffect e ( Alpha 1 );\n"),
              "No data found.");
    EXPECT_EQ(refusalOfText("typedef block DemoTrigger { string effectId; string triggerId; };\n"
                            "DemoTrigger t ( Alpha Go );\n"),
              "No data found.");
    EXPECT_EQ(refusalOfText("typedef block DemoEffect { string identifier; int layer; float "
                            "initTime; float startTime; float stopTime; string data; };\n"
                            "DemoEffect e ( Alpha 1 0 0 1 x );\n"),
              "No branch found in DOM structure.");
    EXPECT_EQ(refusal("int loose 5;\n"), "No branch found in DOM structure.");
}

TEST_F(TimelineLoad, NamesAMissingScript) {
    try {
        demo.loadTimeline("nowhere.scr");
        FAIL() << "loaded";
    } catch (const Errors::LoadError& error) {
        EXPECT_EQ(error.getMessage(), "Could not open file \"nowhere.scr\"");
    }
}

TEST_F(TimelineLoad, FindsEffectsByExactName) {
    const TimelineLoader loader(demo.getRegistry());
    EXPECT_EQ(loader.findEffect("Alpha"), &alpha);
    EXPECT_EQ(loader.findEffect("alpha"), nullptr);
    EXPECT_EQ(loader.findEffect("Alph"), nullptr);
    EXPECT_EQ(loader.findEffect(""), nullptr);
    // The first registered of a name wins.
    RecordingEffect second("Alpha", log);
    EXPECT_EQ(loader.findEffect("Alpha"), &alpha);
}

TEST(EffectRegistry, NeedsTheDemoSystemAndTakesEffectsInConstructionOrder) {
    std::vector<std::string> log;
    EXPECT_THROW(RecordingEffect("Early", log), std::logic_error);
    DemoSystem demo;
    EXPECT_THROW(DemoSystem(), std::logic_error);
    RecordingEffect first("First", log);
    RecordingEffect second("Second", log);
    ASSERT_EQ(demo.getRegistry().size(), 2u);
    EXPECT_EQ(demo.getRegistry()[0], &first);
    EXPECT_EQ(demo.getRegistry()[1], &second);
}

} // namespace
