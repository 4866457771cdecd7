#include "MusicRequest.h"

#include <gtest/gtest.h>

namespace {

using Kind = MusicRequest::Kind;

MusicRequest cd(const std::string& text) {
    MusicRequest parsed = MusicRequest::parse(text);
    EXPECT_EQ(parsed.kind, Kind::CdTrack) << text;
    return parsed;
}

TEST(MusicRequest, ExtensionAfterTheLastFullStopChoosesThePlayer) {
    struct Case {
        const char* text;
        Kind kind;
        const char* extension;
    };
    const Case cases[] = {
        {"music.mp3", Kind::Stream, "MP3"},
        {"Music.Mp3", Kind::Stream, "MP3"},
        {"a.b.ogg", Kind::Stream, "OGG"},
        {"x.mp2", Kind::Stream, "MP2"},
        {"x.asf", Kind::Stream, "ASF"},
        {"x.WMA", Kind::Stream, "WMA"},
        {"song.xm", Kind::Song, "XM"},
        {"x.mod", Kind::Song, "MOD"},
        {"x.it", Kind::Song, "IT"},
        {"x.mid", Kind::Song, "MID"},
        {"x.rmi", Kind::Song, "RMI"},
        {"x.sgt", Kind::Song, "SGT"},
        {"notes.txt", Kind::None, "TXT"},
        {"music", Kind::None, "MUSIC"},
        {"music.ogg.bak", Kind::None, "BAK"},
        {"music.", Kind::None, ""},
        {"", Kind::None, ""},
        {"dir.v2\\tune", Kind::None, "V2\\TUNE"},
        {"x.Ogg ", Kind::None, "OGG "},
        {"data\\Tune.XM", Kind::Song, "XM"},
    };
    for (const Case& each : cases) {
        MusicRequest parsed = MusicRequest::parse(each.text);
        EXPECT_EQ(parsed.kind, each.kind) << each.text;
        EXPECT_EQ(parsed.extension, each.extension) << each.text;
    }
}

TEST(MusicRequest, CdTrackAndModeWords) {
    EXPECT_EQ(cd("cd:\\5 loop").track, 5);
    EXPECT_EQ(cd("cd:\\5 loop").mode, 2);
    EXPECT_EQ(cd("cd:\\5 once").mode, 1);
    EXPECT_EQ(cd("cd:\\5 random").mode, 3);
    EXPECT_EQ(cd("cd:\\5 all").mode, 0);
    // The words are compared exactly.
    EXPECT_EQ(cd("cd:\\5 Loop").mode, 0);
    EXPECT_EQ(cd("cd:\\5 loop ").mode, 0);
    // Without a blank the whole rest is the mode word, here "5": no keyword.
    EXPECT_EQ(cd("cd:\\5").mode, 0);
    EXPECT_EQ(cd("cd:\\5").track, 5);
    // One blank and nothing after it: an empty word, the default mode.
    EXPECT_EQ(cd("cd:\\5 ").mode, 2);
    EXPECT_EQ(cd("cd:\\12 loop").track, 12);
}

TEST(MusicRequest, CdTrackNumberReadAsAtoiDoes) {
    EXPECT_EQ(cd("cd:\\ 7 once").track, 0); // the first blank ends the number text at once
    EXPECT_EQ(cd("cd:\\7x once").track, 7);
    EXPECT_EQ(cd("cd:\\-3 once").track, -3);
    EXPECT_EQ(cd("cd:\\x once").track, 0);
    EXPECT_EQ(cd("cd:\\99999999999 once").track, 2147483647);
    // Only the first backslash counts.
    EXPECT_EQ(cd("cd:\\4\\5 once").track, 4);
    // No backslash: the number is read from the whole text, which starts with "cd".
    MusicRequest noBackslash = cd("cd:5 loop");
    EXPECT_EQ(noBackslash.track, 0);
    EXPECT_EQ(noBackslash.mode, 2);
    EXPECT_EQ(cd("cd").track, 0);
    EXPECT_EQ(cd("cd:").mode, 0);
}

TEST(MusicRequest, CdPrefixIsCaseSensitiveAndEndsAtTheFirstColon) {
    MusicRequest upper = MusicRequest::parse("CD:\\5 loop");
    EXPECT_EQ(upper.kind, Kind::None);
    EXPECT_EQ(upper.extension, "CD:\\5 LOOP");
    EXPECT_EQ(MusicRequest::parse("cdx:\\5 loop").kind, Kind::None);
    EXPECT_EQ(MusicRequest::parse("cd.ogg").kind, Kind::Stream);
    EXPECT_EQ(MusicRequest::parse("c:\\music\\cd.ogg").kind, Kind::Stream);
}

} // namespace
