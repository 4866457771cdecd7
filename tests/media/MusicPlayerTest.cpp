#include "CdPlayer.h"
#include "MediaFolder.h"
#include "SongPlayer.h"
#include "StreamPlayer.h"
#include "VolumeGroup.h"

namespace {

class MusicPlayers : public OfflineSound {
protected:
    VolumeGroup group{"Test", 200};
};

TEST_F(MusicPlayers, StreamPlayerPlaysPausesAndStopsItsChannel) {
    StreamHandle stream = library.openStream("tone.ogg");
    auto player = std::make_unique<StreamPlayer>(group, library, stream);
    EXPECT_EQ(player->channel(), -1);
    EXPECT_EQ(player->volume(), 255);
    player->play();
    ASSERT_EQ(player->channel(), 0);
    EXPECT_TRUE(player->stillPlaysOwnStream());
    EXPECT_FALSE(player->lost());

    group.setMasterVolume(200);
    EXPECT_EQ(library.channelVolume(0), 199);
    player->setVolume(100);
    EXPECT_EQ(library.channelVolume(0), 78);

    render(4410);
    player->pause();
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 100);
    player->play(); // resumes where it was
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 200);
    player->pause();
    player->resume();
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 300);

    player->stop();
    EXPECT_EQ(player->channel(), -1);
    EXPECT_FALSE(library.channelPlaying(0));
    EXPECT_EQ(library.streamTime(stream), 0);
    player->play();
    EXPECT_EQ(player->channel(), 0);
    player.reset(); // destroying stops the stream, which stays open
    EXPECT_FALSE(library.channelPlaying(0));
    EXPECT_EQ(group.count(), 0u);
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, stream), 0);
}

TEST_F(MusicPlayers, StreamPlayerLetsGoOfAChannelGivenToAnotherSound) {
    StreamHandle own = library.openStream("tone.ogg");
    StreamPlayer player(group, library, own);
    player.play();
    ASSERT_EQ(player.channel(), 0);
    StreamHandle other = library.openStream("tone.mp3");
    ASSERT_EQ(library.playStream(0, other), 0);
    library.setChannelVolume(0, 17);

    // Neither volume nor stop may touch the other sound's channel.
    player.setVolume(255);
    EXPECT_EQ(player.channel(), -1);
    EXPECT_EQ(library.channelVolume(0), 17);
    player.stop();
    EXPECT_TRUE(library.channelPlaying(0));
    EXPECT_EQ(library.channelStream(0), other);
    // Play starts the own stream again, on a free channel.
    player.play();
    EXPECT_EQ(player.channel(), 1);
}

TEST_F(MusicPlayers, StreamPlayerStartsAnEndedStreamAgain) {
    StreamHandle stream = library.openStream("short.ogg");
    StreamPlayer player(group, library, stream);
    player.play();
    render(44100);
    // The channel still holds the stream but no longer plays it.
    EXPECT_FALSE(player.lost());
    EXPECT_FALSE(player.stillPlaysOwnStream());
    EXPECT_EQ(player.channel(), -1);
    player.play();
    EXPECT_EQ(player.channel(), 0);
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 100);
}

TEST_F(MusicPlayers, StreamPlayerWithoutAStreamStaysSilent) {
    StreamPlayer player(group, library, library.openStream("missing.ogg"));
    player.play();
    player.setVolume(10);
    player.pause();
    player.resume();
    EXPECT_EQ(player.channel(), -1);
    EXPECT_LT(rms(render(4410)), 1e-6);
}

TEST_F(MusicPlayers, SongPlayerPlaysPausesResumesAndFreesItsSong) {
    SongHandle song = library.loadSong("song.xm");
    auto player = std::make_unique<SongPlayer>(group, library, song);
    player->play();
    EXPECT_TRUE(library.songPlaying(song));
    player->setVolume(255);
    EXPECT_EQ(library.songVolume(song), 199);
    render(4410);
    player->pause();
    EXPECT_TRUE(library.songPaused(song));
    render(4410);
    player->play(); // unpauses instead of starting over
    EXPECT_FALSE(library.songPaused(song));
    render(4410);
    EXPECT_EQ(library.songTime(song), 200);
    player->pause();
    player->resume();
    EXPECT_FALSE(library.songPaused(song));
    player->stop();
    EXPECT_FALSE(library.songPlaying(song));
    player.reset();
    EXPECT_EQ(library.songTime(song), 0); // freed
}

TEST_F(MusicPlayers, CdPlayerDrivesTheCdState) {
    auto player = std::make_unique<CdPlayer>(group, library, 5, 1);
    player->play();
    EXPECT_EQ(library.cd().track, 5);
    EXPECT_EQ(library.cd().mode, 1);
    EXPECT_TRUE(library.cd().playing);
    player->setVolume(255);
    EXPECT_EQ(library.cd().volume, 199);
    player->pause();
    EXPECT_TRUE(library.cdPaused());
    library.setCdPlayMode(0);
    player->play(); // only unpauses: the mode is not sent again
    EXPECT_FALSE(library.cdPaused());
    EXPECT_EQ(library.cd().mode, 0);
    player.reset();
    EXPECT_FALSE(library.cd().playing);
}

TEST_F(MusicPlayers, CdPlayerLeavesACdStartedByAnotherPlayer) {
    CdPlayer first(group, library, 3, 2);
    first.play();
    EXPECT_TRUE(first.ownsCd());
    {
        CdPlayer second(group, library, 8, 1);
        second.play();
        EXPECT_FALSE(first.ownsCd());
        first.stop();
        EXPECT_TRUE(library.cd().playing);
        EXPECT_EQ(library.cd().track, 8);
    }
    EXPECT_FALSE(library.cd().playing);
    // A player that never started the CD stops nothing either.
    library.playCd(4);
    CdPlayer idle(group, library, 1, 0);
    idle.stop();
    EXPECT_TRUE(library.cd().playing);
}

} // namespace
