#include "Music.h"

#include "CdPlayer.h"
#include "MediaFolder.h"
#include "SongPlayer.h"
#include "StreamPlayer.h"
#include "VolumeGroup.h"

#include <cerrno>
#include <sstream>

#include <gmock/gmock.h>

namespace {

// The process-wide music: started through initSound on the offline output, and taken down at the
// end of every test by the exit actions, as at process exit.
class ProgramMusic : public OfflineSound {
protected:
    void SetUp() override {
        library.setOutput(AudioOutput::Offline);
        ASSERT_TRUE(initSound());
        musicGroup().setMasterVolume(255);
    }
    void TearDown() override {
        runExitActions();
        library.setOutput(AudioOutput::Device);
    }
};

TEST_F(ProgramMusic, InitSoundStartsTheLibraryOnce) {
    EXPECT_TRUE(soundStarted());
    EXPECT_TRUE(library.started());
    EXPECT_TRUE(initSound());
    EXPECT_EQ(musicGroup().masterVolume(), 255);
}

TEST_F(ProgramMusic, AStreamBecomesTheClock) {
    loadMusic("tone.ogg");
    auto* player = dynamic_cast<StreamPlayer*>(currentPlayer());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(currentStream(), player->stream());
    EXPECT_EQ(player->channel(), 0);
    EXPECT_EQ(musicGroup().count(), 1u);
    render(44100);
    EXPECT_EQ(streamTime(currentStream()), 1000);
    musicGroup().setMasterVolume(200);
    EXPECT_EQ(library.channelVolume(0), 199);
    musicGroup().setMasterVolume(0);
    EXPECT_EQ(library.channelVolume(0), 0);
}

TEST_F(ProgramMusic, TheNewMusicStartsBeforeTheOldStops) {
    loadMusic("tone.ogg");
    StreamHandle first = currentStream();
    loadMusic("tone.mp3");
    auto* second = dynamic_cast<StreamPlayer*>(currentPlayer());
    ASSERT_NE(second, nullptr);
    // The first still held channel 0 when the second started.
    EXPECT_EQ(second->channel(), 1);
    EXPECT_FALSE(library.channelPlaying(0));
    EXPECT_NE(currentStream(), first);
    EXPECT_EQ(musicGroup().count(), 1u);
}

TEST_F(ProgramMusic, ASongReplacesTheStreamButNotItsHandle) {
    loadMusic("tone.ogg");
    StreamHandle stream = currentStream();
    render(4410);
    loadMusic("song.xm");
    auto* player = dynamic_cast<SongPlayer*>(currentPlayer());
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(library.songPlaying(player->song()));
    // The clock still reads the old stream, stopped and back at its start.
    EXPECT_EQ(currentStream(), stream);
    EXPECT_FALSE(library.channelPlaying(0));
    render(4410);
    EXPECT_EQ(streamTime(currentStream()), 0);
}

// A song that is the music goes on from a saved state at the frame it stood at, whatever was
// played since; a state from before it stops it and gives the stream back its place, and the
// song's own state loads it again. A module sounds the same again to the sample; the MIDI
// synthesiser, started again in the middle of its 64-frame block, may place its notes a little
// apart, so only its place is compared.
TEST_F(ProgramMusic, ASavedSongGoesOnWhereItStood) {
    for (const char* name : {"song.xm", "song.mid"}) {
        SCOPED_TRACE(name);
        const bool exact = std::string(name).ends_with(".xm");
        loadMusic("tone.ogg");
        render(4410);
        const MusicState beforeSong = saveMusicState();
        loadMusic(name);
        render(22050);
        const MusicState inSong = saveMusicState();
        ASSERT_TRUE(inSong.song);
        const std::vector<float> heard = render(8820);
        render(22050);
        restoreMusicState(inSong);
        auto* song = dynamic_cast<SongPlayer*>(currentPlayer());
        ASSERT_NE(song, nullptr);
        EXPECT_EQ(library.songTime(song->song()), 500);
        if (exact) {
            EXPECT_EQ(render(8820), heard);
        }

        restoreMusicState(beforeSong);
        EXPECT_EQ(dynamic_cast<SongPlayer*>(currentPlayer()), nullptr);
        EXPECT_TRUE(library.channelPlaying(0));
        EXPECT_EQ(streamTime(currentStream()), 100);

        restoreMusicState(inSong);
        auto* again = dynamic_cast<SongPlayer*>(currentPlayer());
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(library.songTime(again->song()), 500);
        EXPECT_FALSE(library.channelPlaying(0));
        if (exact) {
            EXPECT_EQ(render(8820), heard);
        }
    }
}

TEST_F(ProgramMusic, TextsThatNameNoPlayerChangeNothing) {
    loadMusic("tone.ogg");
    MusicPlayer* playing = currentPlayer();
    for (const char* text : {"notes.txt", "CD:\\5 loop", "music", ""}) {
        loadMusic(text);
        EXPECT_EQ(currentPlayer(), playing) << text;
    }
    EXPECT_TRUE(library.channelPlaying(0));
}

TEST_F(ProgramMusic, AMissingFileStillMakesASilentPlayerAndStopsTheClock) {
    loadMusic("tone.ogg");
    loadMusic("missing.ogg");
    auto* player = dynamic_cast<StreamPlayer*>(currentPlayer());
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(currentStream());
    EXPECT_EQ(streamTime(currentStream()), 0);
    EXPECT_LT(rms(render(4410)), 1e-6);

    loadMusic("missing.xm");
    ASSERT_NE(dynamic_cast<SongPlayer*>(currentPlayer()), nullptr);
}

// Silent music is named with its reason once, however often it is asked for; music that plays
// says nothing.
TEST_F(ProgramMusic, UnplayableMusicIsNamedOnceWithItsReason) {
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(i * 7919 % 251);
    write("noise-music.ogg", noise);
    write("noise-song.xm", noise);

    testing::internal::CaptureStderr();
    loadMusic("tone.ogg");
    loadMusic("noise-music.ogg");
    loadMusic("noise-music.ogg");
    loadMusic("never-there.mp3");
    loadMusic("noise-song.xm");
    const std::string said = testing::internal::GetCapturedStderr();

    const std::string program = program_invocation_short_name;
    std::istringstream lines(said);
    std::vector<std::string> seen;
    for (std::string line; std::getline(lines, line);)
        seen.push_back(line);
    ASSERT_EQ(seen.size(), 3u) << said;
    EXPECT_THAT(seen[0], testing::StartsWith(program + ": cannot play music \"noise-music.ogg\": "
                                                       "not a stream file"));
    EXPECT_EQ(seen[1], program + ": cannot play music \"never-there.mp3\": file not found");
    EXPECT_THAT(seen[2], testing::StartsWith(program + ": cannot play music \"noise-song.xm\": "));
    EXPECT_GT(seen[2].size(), (program + ": cannot play music \"noise-song.xm\": ").size());
}

TEST_F(ProgramMusic, CdSpecificationsMakeCdPlayers) {
    loadMusic("cd:\\5 random");
    auto* player = dynamic_cast<CdPlayer*>(currentPlayer());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->track(), 5);
    EXPECT_EQ(player->mode(), 3);
    EXPECT_TRUE(library.cd().playing);
    EXPECT_EQ(library.cd().mode, 3);
    loadMusic("cd:\\7 ");
    EXPECT_EQ(library.cd().track, 7);
    EXPECT_EQ(library.cd().mode, 2);
    // The old player, destroyed after the new one started the CD, leaves it playing.
    EXPECT_TRUE(library.cd().playing);
    runExitActions();
    EXPECT_FALSE(library.cd().playing);
}

TEST_F(ProgramMusic, ExitActionsDestroyThePlayerThenCloseTheLibrary) {
    loadMusic("tone.ogg");
    loadMusic("song.xm");
    runExitActions();
    EXPECT_EQ(currentPlayer(), nullptr);
    EXPECT_EQ(musicGroup().count(), 0u);
    EXPECT_FALSE(soundStarted());
    EXPECT_FALSE(library.started());
    runExitActions(); // nothing left to do
    // A later start begins again, with its own exit action.
    library.setOutput(AudioOutput::Offline);
    EXPECT_TRUE(initSound());
    EXPECT_TRUE(library.started());
}

} // namespace
