// The checks of a loaded script, each on scripts that show its mistake and on scripts that are
// right: a warning on a correct script is as much a fault as a missed one.

#include "ScriptChecks.h"

#include "DemoSystem.h"
#include "RecordingEffect.h"
#include "ScriptLoader.h"
#include "ScriptText.h"
#include "TempFolder.h"
#include "TimelineLoader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The test's own effects, stated as the catalogue states the real ones.
constexpr EffectInputs fadeInputs =
    EffectInputs::anyTrigger(noNumbers, NumberGroups::wholeOrNone(6));
constexpr EffectInputs pictureInputs{{1, 3}, {{"AlphaOut"}}};
constexpr EffectInputs cubeInputs{noNumbers, {{"ReverseAngle"}, {"Zoom", {1}}}};
constexpr EffectInputs musicInputs = EffectInputs::musicPlayer("TheEnd", 200);
constexpr EffectInputs plainInputs{noNumbers};

const EffectInputs* inputsOf(std::string_view name) {
    if (name == "Fade")
        return &fadeInputs;
    if (name == "Pic1" || name == "Pic2")
        return &pictureInputs;
    if (name == "Cube")
        return &cubeInputs;
    if (name == "Music")
        return &musicInputs;
    if (name == "Plain")
        return &plainInputs;
    return nullptr;
}

// "line:column message", and each note after it as "note: ...".
std::vector<std::string> said(const std::vector<Diagnostic>& diagnostics) {
    std::vector<std::string> lines;
    for (const Diagnostic& d : diagnostics) {
        lines.push_back(std::to_string(d.place.line) + ":" + std::to_string(d.place.column) + " " +
                        d.message);
        for (const std::string& note : d.notes)
            lines.push_back("note: " + note);
    }
    return lines;
}

// Records are written after the record types, from line 6 on.
class ScriptChecks : public ::testing::Test {
protected:
    const ScriptFacts& factsOf(const std::string& records, bool musicClock = true) {
        folder.write("demoscript.scr", recordTypes + records);
        cursor = loadScript("demoscript.scr");
        facts = ScriptFacts{};
        facts.notes = &cursor->getNotes();
        facts.records = readScriptRecords(*cursor, demo.getRegistry());
        for (const Effect* effect : demo.getRegistry())
            facts.effectNames.push_back(effect->getName());
        facts.inputsOf = inputsOf;
        facts.musicClock = musicClock;
        facts.music = {"tune.ogg", true, true, 100.0};
        return facts;
    }

    // A script whose music starts the clock at 0, with `records` from line 7 on.
    const ScriptFacts& withMusic(const std::string& records) {
        return factsOf(effectRecord("music", "Music", 0, "0", "0", "600", "'tune.ogg'") + records);
    }

    TempFolder folder;
    DemoSystem demo;
    std::vector<std::string> log;
    RecordingEffect fade{"Fade", log};
    RecordingEffect pic1{"Pic1", log};
    RecordingEffect pic2{"Pic2", log};
    RecordingEffect cube{"Cube", log};
    RecordingEffect music{"Music", log};
    RecordingEffect plain{"Plain", log};
    std::unique_ptr<DomCursor> cursor;
    ScriptFacts facts;
};

TEST_F(ScriptChecks, ValuesADefinitionNeverReads) {
    // A missing ';' swallows the next definition; it is named when it starts with a type.
    EXPECT_THAT(
        said(checkIgnoredValues(*factsOf("block a { int x 1 int y 2; float z 1 2; };\n").notes)),
        ElementsAre("6:19 \"int\" and what follows it up to the ';' are ignored: the "
                    "definition of [x] ends with the value before it",
                    "note: is a ';' missing before \"int\"? The definition it begins is "
                    "swallowed",
                    "6:38 \"2\" and what follows it up to the ';' are ignored: the "
                    "definition of [z] ends with the value before it",
                    "note: the usual cause is a missing ';' before it"));
    // An include without its ';' swallows what follows it, whose type it defines itself.
    folder.write("types.scr", recordTypes);
    folder.write("demoscript.scr", "include types.scr\nDemoEffect a ( Fade 1 0 0 1 ( ) ( ) );");
    auto included = loadScript("demoscript.scr");
    EXPECT_THAT(said(checkIgnoredValues(included->getNotes())),
                ElementsAre("2:1 \"DemoEffect\" and what follows it up to the ';' are ignored: "
                            "include reads one file name",
                            "note: is a ';' missing before \"DemoEffect\"? The definition it "
                            "begins is swallowed"));
    // More values than a record has members, more coordinates than a vector reads.
    EXPECT_THAT(said(checkIgnoredValues(
                    *factsOf("DemoEffect a ( Fade 1 0 0 1 ( ) ( ) ( 9 ) );\n"
                             "block b { vector2d v < 1 2 3 >; typedef float S extra; };\n")
                         .notes)),
                ElementsAre("6:37 \"(\" and the values after it are ignored: DemoEffect [a] has "
                            "no member left for them",
                            "note: a record takes one value per member of its type, in order",
                            "7:28 \"3\" and the values after it are ignored: vector2d [v] reads "
                            "two numbers",
                            "7:49 \"extra\" and what follows it up to the ';' are ignored: the "
                            "typedef of [S] ends before it",
                            "note: the usual cause is a missing ';' before it"));
    // An array or list type may carry a body it ignores; nothing else is left over here.
    EXPECT_THAT(checkIgnoredValues(*factsOf("block b { typedef array [float] F { }; F f (1 2); "
                                            "list [int] l { a 1; }; vector3d v <1 2 3>; };")
                                        .notes),
                IsEmpty());
}

TEST_F(ScriptChecks, WordsThatAreNotNumbers) {
    EXPECT_THAT(said(checkNumberWords(*factsOf("block b { int ten ten; float v 1.5.2;\n"
                                               "  int px 12px; int big 99999999999;\n"
                                               "  float huge 1e999; array [int] a ( 1 x ); };")
                                           .notes)),
                ElementsAre("6:19 \"ten\" is not a number: [ten] reads it as 0",
                            "6:32 \"1.5.2\" is not a number as a whole: [v] reads only its "
                            "beginning, 1.5",
                            "7:10 \"12px\" is not a number as a whole: [px] reads only its "
                            "beginning, 12",
                            "7:24 \"99999999999\" is out of range for an int: [big] reads it as "
                            "2147483647",
                            "8:14 \"1e999\" is out of range for a float: [huge] reads it as inf",
                            "8:39 \"x\" is not a number: [a[1]] reads it as 0"));
    EXPECT_THAT(checkNumberWords(*factsOf("block b { int a -3; int b +2; float c 1e3; float d -.5; "
                                          "float e 0x10; float f inf; int g 2147483647; };")
                                      .notes),
                IsEmpty());
}

TEST_F(ScriptChecks, EscapesThatDoubleQuotesDrop) {
    EXPECT_THAT(said(checkDroppedEscapes(
                    *factsOf("block b { string s \"sub\\pic.jpg\"; string t 'sub\\pic.jpg';\n"
                             "  string u \"tab\\t, quote\\\", back\\\\\"; };")
                         .notes)),
                ElementsAre("6:24 \"\\p\" inside double quotes is no escape: the backslash and "
                            "\"p\" are both dropped",
                            "note: inside single quotes a backslash stays as written, as file "
                            "names need"));
}

TEST_F(ScriptChecks, TriggersTheirEffectNeverReactsTo) {
    EXPECT_THAT(said(checkTriggerNames(factsOf(
                    triggerRecord("a", "Cube", "reverseangle", false, "1", "0", "0") +
                    triggerRecord("b", "Cube", "Spin", false, "1", "0", "0") +
                    triggerRecord("c", "Plain", "Go", false, "1", "0", "0") +
                    // Any name reaches the fader; an effect without a statement is not judged.
                    triggerRecord("d", "Fade", "Whatever", false, "1", "0", "0") +
                    triggerRecord("e", "Cube", "Zoom", false, "1", "0", "0", "2")))),
                ElementsAre("6:22 Cube never reacts to the trigger \"reverseangle\": it knows "
                            "\"ReverseAngle\", \"Zoom\"",
                            "note: did you mean \"ReverseAngle\"?",
                            "7:22 Cube never reacts to the trigger \"Spin\": it knows "
                            "\"ReverseAngle\", \"Zoom\"",
                            "8:23 Plain reacts to no trigger: \"Go\" changes nothing"));
}

TEST_F(ScriptChecks, TriggersForAnEffectNoRecordSetsUp) {
    EXPECT_THAT(said(checkTriggerTargets(
                    factsOf(effectRecord("p", "Pic1", 1, "0", "0", "5") +
                            triggerRecord("a", "Pic1", "AlphaOut", false, "1", "0", "0") +
                            triggerRecord("b", "Pic2", "AlphaOut", false, "1", "0", "0")))),
                ElementsAre("8:17 no DemoEffect record sets up Pic2: the trigger \"AlphaOut\" "
                            "reaches an effect that never shows"));
}

TEST_F(ScriptChecks, TimesOutOfOrderOrOutOfReach) {
    // Times out of order: said whatever the clock.
    EXPECT_THAT(said(checkTimes(factsOf(effectRecord("a", "Pic1", 1, "2", "1", "0.5"), false))),
                ElementsAre("6:27 [a] stops at 0.5 s, before it starts at 1 s: Pic1 then stays "
                            "on to the end",
                            "6:25 [a] starts at 1 s, before it is set up at 2 s: Pic1 is drawn "
                            "before its set-up"));
    // After the music's end (100 s here), the clock stops: only with the music's clock.
    const std::string late = effectRecord("a", "Pic1", 1, "99", "101", "120") +
                             triggerRecord("t", "Pic1", "AlphaOut", false, "100.5", "0", "0");
    EXPECT_THAT(said(checkTimes(withMusic(late))),
                ElementsAre("7:26 [a] starts at 101 s, after the music ends at 100 s: the clock "
                            "stops there, so it never happens",
                            "8:37 [t] is sent at 100.5 s, after the music ends at 100 s: the "
                            "clock stops there, so it never happens"));
    EXPECT_THAT(checkTimes(factsOf(late, false)), IsEmpty());
    // After the end trigger and its 200 frames of fade, counted at 60 frames/s.
    const std::string ending = triggerRecord("end", "Music", "TheEnd", false, "50", "0", "0") +
                               effectRecord("during", "Pic1", 1, "53", "53", "90") +
                               effectRecord("after", "Pic2", 1, "54", "54", "90");
    EXPECT_THAT(said(checkTimes(withMusic(ending))),
                ElementsAre("9:30 [after] starts at 54 s, after the demo has ended through "
                            "\"TheEnd\" (sent at 50 s, the music fading out over 200 frames)"));
    // The fade runs only while the music player is drawn.
    EXPECT_THAT(
        checkTimes(factsOf(effectRecord("music", "Music", 0, "0", "0", "40", "'m.ogg'") + ending)),
        IsEmpty());
}

TEST_F(ScriptChecks, NothingAfterZeroWithoutMusicOnTheClock) {
    const std::string later =
        effectRecord("a", "Pic1", 1, "0", "0", "5") + effectRecord("b", "Pic2", 1, "2", "2", "5");
    EXPECT_THAT(said(checkMusicClock(factsOf(later))),
                ElementsAre("7:1 no record sets up Music: the clock stands at 0 until music "
                            "plays, so nothing after 0 s ever happens",
                            "note: set up Music at 0 s with the music file as its first data "
                            "string"));
    EXPECT_THAT(said(checkMusicClock(
                    factsOf(effectRecord("m", "Music", 0, "1", "1", "600", "'tune.ogg'") + later))),
                ElementsAre("6:24 Music is set up at 1 s and starts at 1 s: the clock stands at 0 "
                            "until music plays, so nothing after 0 s ever happens",
                            "note: set it up and start it at 0 s"));
    EXPECT_THAT(
        said(checkMusicClock(factsOf(effectRecord("m", "Music", 0, "0", "0", "600") + later))),
        ElementsAre("6:32 Music names no music: the clock stands at 0 until music plays, "
                    "so nothing after 0 s ever happens"));
    factsOf(effectRecord("m", "Music", 0, "0", "0", "600", "'song.mod'") + later);
    facts.music = {"song.mod", false, true, std::nullopt};
    EXPECT_THAT(said(checkMusicClock(facts)),
                ElementsAre("6:34 \"song.mod\" is not a stream, whose position could be the "
                            "clock: the clock stands at 0 until music plays, so nothing after 0 "
                            "s ever happens",
                            "note: streams are MP2, MP3, OGG, WMA and ASF files"));
    // Music from 0, everything at 0, or a clock that runs without music: nothing to say.
    EXPECT_THAT(checkMusicClock(withMusic(later)), IsEmpty());
    EXPECT_THAT(checkMusicClock(factsOf(effectRecord("a", "Pic1", 1, "0", "0", "5"))), IsEmpty());
    EXPECT_THAT(checkMusicClock(factsOf(later, false)), IsEmpty());
}

TEST_F(ScriptChecks, RecordsOfOneObjectWhoseTimesOverlap) {
    EXPECT_THAT(said(checkOverlaps(withMusic(effectRecord("a", "Pic1", 1, "0", "0", "10") +
                                             effectRecord("b", "Pic1", 1, "10", "10", "20") +
                                             effectRecord("c", "Pic1", 1, "15", "15", "16") +
                                             effectRecord("d", "Pic2", 1, "5", "5", "12")))),
                ElementsAre("9:1 [c] sets up Pic1 at 15 s while [b] shows it (10 s to 20 s): the "
                            "second set-up re-configures the object the first is showing",
                            "note: \"Pic2\" is a second object of the same kind"));
}

TEST_F(ScriptChecks, NumbersAnEffectCannotUse) {
    EXPECT_THAT(said(checkNumberCounts(withMusic(
                    effectRecord("whole", "Pic1", 1, "0", "0", "1", "", "1 2 3") +
                    effectRecord("half", "Pic1", 1, "1", "1", "2", "", "1 2") +
                    effectRecord("more", "Pic2", 1, "0", "0", "1", "", "1 2 3 4 5") +
                    effectRecord("none", "Plain", 1, "0", "0", "1", "", "7") +
                    triggerRecord("six", "Fade", "Go", false, "1", "0", "0", "1 0 0.1 1 1 1") +
                    triggerRecord("five", "Fade", "Go", false, "1", "0", "0", "1 0 0.1 1 1") +
                    triggerRecord("zoom", "Cube", "Zoom", false, "1", "0", "0", "1 2")))),
                ElementsAre("8:41 Pic1 reads numbers 2 to 3 only together: this group holds 1 of "
                            "its 2 and is ignored whole",
                            "9:45 Pic2 reads at most 3 numbers: this one and the 1 number after "
                            "it are ignored",
                            "10:40 Plain reads no numbers: this one is ignored",
                            "12:42 Fade's trigger \"Go\" reads exactly 6 numbers or none: these 5 "
                            "are ignored, as if there were none",
                            "13:46 Cube's trigger \"Zoom\" reads at most 1 number: this one is "
                            "ignored"));
}

TEST_F(ScriptChecks, FilesThatCannotBeUsedStandWhereTheyAreNamed) {
    factsOf(effectRecord("a", "Pic1", 1, "0", "0", "5", "'gone.jpg' \"x\\ty.jpg\"") +
            effectRecord("b", "Pic2", 1, "0", "0", "5"));
    facts.files = {{0, 1, "picture", "x\ty.jpg", "missing"},
                   {1, std::nullopt, "picture", "\\picture.jpg", "unreadable: not a JPEG file"}};
    EXPECT_THAT(said(checkFiles(facts)),
                ElementsAre("6:42 picture \"x\ty.jpg\" cannot be used: missing",
                            "note: Pic1 draws a transparent picture instead",
                            "note: the name holds a control character: inside double quotes \\t, "
                            "\\n and the like are escapes; file names belong in single quotes",
                            "7:16 picture \"\\picture.jpg\" cannot be used: unreadable: not a "
                            "JPEG file (the default of Pic2)",
                            "note: Pic2 draws a transparent picture instead"));
}

TEST_F(ScriptChecks, ACorrectScriptGetsNoWarningAndEachWarningIsSaidOnce) {
    EXPECT_THAT(checkScript(withMusic(
                    effectRecord("a", "Pic1", 1, "0", "1", "10", "'a.jpg'", "-1.2 0 0.5") +
                    triggerRecord("out", "Pic1", "AlphaOut", false, "9", "0", "0") +
                    effectRecord("b", "Pic1", 1, "10", "10", "20") +
                    effectRecord("f", "Fade", 9, "0", "0", "30") +
                    triggerRecord("in", "Fade", "In", true, "0", "20", "5", "0 1 0.1 1 1 1") +
                    triggerRecord("end", "Music", "TheEnd", false, "30", "0", "0"))),
                IsEmpty());
    // A file included twice says its things once, sorted by place.
    folder.write("part.scr", "block b { int x ten; };");
    folder.write("demoscript.scr", "include 'part.scr';\nblock c { float y 1x; };\n"
                                   "include 'part.scr';");
    auto twice = loadScript("demoscript.scr");
    ScriptFacts text;
    text.notes = &twice->getNotes();
    EXPECT_THAT(said(checkScript(text)),
                ElementsAre("2:19 \"1x\" is not a number as a whole: [y] reads only its "
                            "beginning, 1",
                            "1:17 \"ten\" is not a number: [x] reads it as 0"));
}

TEST(NearestName, ALikelySlipOrNothing) {
    const std::vector<std::string_view> names{"Fader", "TheEnd", "Particles", "Particles2", "In"};
    EXPECT_EQ(nearestName("theend", names), "TheEnd");
    EXPECT_EQ(nearestName("Fadr", names), "Fader");
    EXPECT_EQ(nearestName("Particle", names), "Particles");
    EXPECT_EQ(nearestName("Partcles2", names), "Particles2");
    EXPECT_EQ(nearestName("IN", names), "In");
    // Too far, or too short to tell a slip from another name.
    EXPECT_EQ(nearestName("Tunnel", names), "");
    EXPECT_EQ(nearestName("On", names), "");
    EXPECT_EQ(nearestName("", names), "");
}

} // namespace
