#include "MediaFolder.h"
#include "StreamDecoder.h"

#include <chrono>
#include <random>
#include <thread>

namespace {

using SoundLibraryOffline = OfflineSound;

// 440 Hz at half amplitude has an RMS near 0.35; lossy coding keeps it close.
constexpr double toneLevel = 0.2;

TEST_F(SoundLibraryOffline, EveryStreamKindDecodesAndAdvancesByExactlyTheFramesMixed) {
    for (const char* name : {"tone.ogg", "tone.mp3", "tone.mp2", "tone.wma"}) {
        SCOPED_TRACE(name);
        StreamHandle stream = library.openStream(name);
        ASSERT_TRUE(stream) << library.lastError();
        EXPECT_EQ(library.streamTime(stream), 0);
        int channel = library.playStream(SoundLibrary::noChannel, stream);
        ASSERT_EQ(channel, 0);
        EXPECT_EQ(library.streamTime(stream), 0);
        render(4410); // past the encoders' start-up padding
        std::vector<float> heard = render(17640);
        EXPECT_GT(rms(heard), toneLevel);
        EXPECT_EQ(library.streamTime(stream), 500);
        render(22050);
        EXPECT_EQ(library.streamTime(stream), 1000);
        library.stopStream(stream);
        EXPECT_EQ(library.streamTime(stream), 0);
    }
}

TEST_F(SoundLibraryOffline, TheAsfExtensionAndPortableNamesOpenToo) {
    write("Music/Tone.ASF", read("tone.wma"));
    StreamHandle stream = library.openStream("\\MUSIC\\tone.asf");
    ASSERT_TRUE(stream) << library.lastError();
    library.playStream(SoundLibrary::noChannel, stream);
    render(44100);
    EXPECT_EQ(library.streamTime(stream), 1000);
}

TEST_F(SoundLibraryOffline, AnEndedStreamHoldsItsPositionAndStartsOverWhenPlayedAgain) {
    StreamHandle stream = library.openStream("short.ogg");
    ASSERT_TRUE(stream);
    int channel = library.playStream(SoundLibrary::noChannel, stream);
    render(44100);
    EXPECT_TRUE(library.streamEnded(stream));
    EXPECT_FALSE(library.channelPlaying(channel));
    EXPECT_EQ(library.channelStream(channel), stream); // the channel still names it
    int end = library.streamTime(stream);
    EXPECT_GE(end, 490);
    EXPECT_LE(end, 560);
    render(44100);
    EXPECT_EQ(library.streamTime(stream), end);
    EXPECT_LT(rms(render(4410)), 1e-6);

    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, stream), channel);
    EXPECT_FALSE(library.streamEnded(stream));
    EXPECT_EQ(library.streamTime(stream), 0);
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 100);
}

// A saved state of the demo puts its music back to the very frame: the clock reads the same at
// once and the same audio follows, whether the stream goes back (decoded again from its start)
// or forward.
TEST_F(SoundLibraryOffline, ARestoredStreamGoesOnFromTheSavedFrame) {
    for (const char* name : {"tone.ogg", "tone.mp3"}) {
        SCOPED_TRACE(name);
        StreamHandle stream = library.openStream(name);
        ASSERT_TRUE(stream) << library.lastError();
        const int channel = library.playStream(SoundLibrary::noChannel, stream);
        render(4410 + 123);
        const auto early = library.streamState(stream);
        ASSERT_TRUE(early);
        EXPECT_EQ(early->position, 4410 + 123);
        EXPECT_EQ(early->channel, channel);
        const int earlyTime = library.streamTime(stream);
        const std::vector<float> afterEarly = render(4410);
        render(30000);
        const auto late = library.streamState(stream);
        const std::vector<float> afterLate = render(2205);

        ASSERT_TRUE(library.restoreStreamState(stream, *early));
        EXPECT_EQ(library.streamTime(stream), earlyTime);
        EXPECT_EQ(render(4410), afterEarly);
        ASSERT_TRUE(library.restoreStreamState(stream, *late));
        EXPECT_EQ(render(2205), afterLate);

        // An ended stream comes back playing.
        render(44100);
        ASSERT_TRUE(library.streamEnded(stream));
        ASSERT_TRUE(library.restoreStreamState(stream, *early));
        EXPECT_FALSE(library.streamEnded(stream));
        EXPECT_TRUE(library.channelPlaying(channel));
        EXPECT_EQ(render(4410), afterEarly);
        library.stopStream(stream);
    }
    EXPECT_FALSE(library.streamState(StreamHandle{}));
    EXPECT_FALSE(library.restoreStreamState(StreamHandle{}, {}));
}

TEST_F(SoundLibraryOffline, PausedStreamsHoldAndStoppedStreamsStartAgain) {
    StreamHandle stream = library.openStream("tone.ogg");
    int channel = library.playStream(SoundLibrary::noChannel, stream);
    render(4410);
    library.setStreamPaused(stream, true);
    EXPECT_TRUE(library.streamPaused(stream));
    EXPECT_TRUE(library.channelPlaying(channel)); // paused still holds its channel
    EXPECT_LT(rms(render(4410)), 1e-6);
    EXPECT_EQ(library.streamTime(stream), 100);
    // Playing it again where it plays only unpauses it.
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, stream), channel);
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 200);

    library.stopStream(stream);
    EXPECT_FALSE(library.channelPlaying(channel));
    EXPECT_FALSE(library.channelStream(channel));
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, stream), channel);
    render(4410);
    EXPECT_EQ(library.streamTime(stream), 100);
}

TEST_F(SoundLibraryOffline, ChannelsHaveVolumesAndRunOut) {
    StreamHandle stream = library.openStream("tone.ogg");
    int channel = library.playStream(SoundLibrary::noChannel, stream);
    render(4410);
    double full = rms(render(4410));
    library.setChannelVolume(channel, 0);
    EXPECT_LT(rms(render(4410)), 1e-6);
    library.setChannelVolume(channel, 128);
    EXPECT_NEAR(rms(render(4410)) / full, 128.0 / 255.0, 0.02);
    EXPECT_EQ(library.channelVolume(channel), 128);

    // Every channel taken: the next stream finds none free; a named channel is taken over.
    std::vector<StreamHandle> others;
    for (int i = 1; i < 32; ++i) {
        others.push_back(library.openStream("short.ogg"));
        EXPECT_EQ(library.playStream(SoundLibrary::noChannel, others.back()), i);
    }
    StreamHandle extra = library.openStream("short.ogg");
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, extra), SoundLibrary::noChannel);
    EXPECT_EQ(library.playStream(5, extra), 5);
    EXPECT_EQ(library.channelStream(5), extra);
    EXPECT_EQ(library.playStream(32, library.openStream("short.ogg")), SoundLibrary::noChannel);
    EXPECT_EQ(library.channelVolume(5), 255); // a new sound starts at full volume
}

TEST_F(SoundLibraryOffline, ModuleSongPlaysAndEnds) {
    SongHandle song = library.loadSong("song.xm");
    ASSERT_TRUE(song) << library.lastError();
    EXPECT_FALSE(library.songPlaying(song));
    library.playSong(song);
    EXPECT_TRUE(library.songPlaying(song));
    EXPECT_GT(rms(render(22050)), 0.01);
    EXPECT_EQ(library.songTime(song), 500);
    library.setSongPaused(song, true);
    EXPECT_LT(rms(render(4410)), 1e-6);
    EXPECT_EQ(library.songTime(song), 500);
    library.setSongPaused(song, false);
    library.setSongVolume(song, 0);
    EXPECT_LT(rms(render(4410)), 1e-6);
    EXPECT_EQ(library.songVolume(song), 0);
    render(44100 * 2);
    EXPECT_FALSE(library.songPlaying(song));
    // 16 rows of 0.12 s, and the short ramp-down the player adds at the end.
    EXPECT_GE(library.songTime(song), 1920);
    EXPECT_LE(library.songTime(song), 2200);
    // Played again, it starts from the beginning.
    library.setSongVolume(song, 255);
    library.playSong(song);
    EXPECT_GT(rms(render(22050)), 0.01);
    EXPECT_EQ(library.songTime(song), 500);
    library.freeSong(song);
    EXPECT_FALSE(library.songPlaying(song));
    EXPECT_EQ(library.songTime(song), 0);
}

TEST_F(SoundLibraryOffline, MidiSongsPlayThroughTheSynthesiser) {
    for (const char* name : {"song.mid", "song.rmi"}) {
        SCOPED_TRACE(name);
        SongHandle song = library.loadSong(name);
        ASSERT_TRUE(song) << library.lastError();
        library.playSong(song);
        std::vector<float> start = render(22050);
        EXPECT_EQ(library.songTime(song), 500);
        EXPECT_TRUE(library.songPlaying(song));
        // With no SoundFont installed a MIDI song runs silently.
        if (std::filesystem::exists("/usr/share/sounds/sf2/TimGM6mb.sf2")) {
            EXPECT_GT(rms(start), 0.005);
        }
        // The synthesiser lets the last notes ring for up to two seconds after the song.
        render(44100 * 5);
        EXPECT_FALSE(library.songPlaying(song));
        library.freeSong(song);
    }
}

TEST_F(SoundLibraryOffline, SgtSongsAndCdTracksAreAcceptedAndSilent) {
    SongHandle song = library.loadSong("song.sgt");
    ASSERT_TRUE(song);
    library.playSong(song);
    EXPECT_LT(rms(render(4410)), 1e-6);
    EXPECT_TRUE(library.songPlaying(song));
    EXPECT_EQ(library.songTime(song), 100);

    library.setCdPlayMode(3);
    library.playCd(5);
    library.setCdVolume(99);
    CdState cd = library.cd();
    EXPECT_EQ(cd.mode, 3);
    EXPECT_EQ(cd.track, 5);
    EXPECT_TRUE(cd.playing);
    EXPECT_EQ(cd.volume, 99);
    library.setCdPaused(true);
    EXPECT_TRUE(library.cdPaused());
    library.stopCd();
    EXPECT_FALSE(library.cd().playing);
    EXPECT_FALSE(library.cdPaused());
    EXPECT_LT(rms(render(4410)), 1e-6);
}

// What a file of every kind turns into when damaged: random bytes, nothing, only its first bytes,
// its first half, its middle third scrambled. None may crash or hang.
TEST_F(SoundLibraryOffline, BrokenAndTruncatedFilesFailOrEndEarly) {
    std::mt19937 random(5);
    std::string noise(8192, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    for (const char* name :
         {"tone.ogg", "tone.mp3", "tone.mp2", "tone.wma", "song.xm", "song.mid", "song.rmi"}) {
        SCOPED_TRACE(name);
        std::string extension = std::filesystem::path(name).extension().string();
        bool isStream = extension != ".xm" && extension != ".mid" && extension != ".rmi";
        std::string whole = read(name);
        std::string scrambled = whole;
        for (std::size_t i = scrambled.size() / 3; i < scrambled.size() * 2 / 3; ++i) {
            scrambled[i] = static_cast<char>(random());
        }
        struct Damage {
            const char* what;
            std::string bytes;
            bool mustFail;
            bool mustEnd;
        };
        const Damage damages[] = {
            {"noise", noise, true, true},
            {"empty", "", true, true},
            {"header", whole.substr(0, 40), true, true},
            {"half", whole.substr(0, whole.size() / 2), false, true},
            // Scrambled song data may well describe a long song: it only has to play safely.
            {"scrambled", scrambled, false, isStream},
        };
        for (const Damage& damage : damages) {
            SCOPED_TRACE(damage.what);
            std::string broken = std::string("broken-") + damage.what + extension;
            write(broken, damage.bytes);
            if (isStream) {
                StreamHandle stream = library.openStream(broken);
                if (damage.mustFail) {
                    EXPECT_FALSE(stream);
                    EXPECT_FALSE(library.lastError().empty());
                }
                library.playStream(SoundLibrary::noChannel, stream);
                render(44100 * 2);
                EXPECT_FALSE(library.channelPlaying(0));
                EXPECT_LE(library.streamTime(stream), 1500);
                library.stopStream(stream);
            } else {
                SongHandle song = library.loadSong(broken);
                // The synthesiser's files are checked whole; a module cut short may still play
                // what is left of it.
                if (damage.mustFail || (extension != ".xm" && damage.mustEnd)) {
                    EXPECT_FALSE(song);
                    EXPECT_FALSE(library.lastError().empty());
                }
                library.playSong(song);
                render(44100 * 5);
                if (damage.mustEnd) {
                    EXPECT_FALSE(library.songPlaying(song));
                }
                library.freeSong(song);
            }
        }
    }
}

// A file of zeros, or one larger than any music, costs a bounded read before it is refused,
// whatever its size; a real stream behind the same reader still plays to its end.
TEST_F(SoundLibraryOffline, SilentAndOversizedStreamsAreRefusedAfterABoundedRead) {
    write("huge.mp3", "");
    std::filesystem::resize_file("huge.mp3", std::uintmax_t{300} << 20);
    EXPECT_FALSE(library.openStream("huge.mp3"));
    EXPECT_EQ(library.lastError(), "file too large");

    for (const char* name : {"zeros.mp3", "zeros.mp2", "zeros.ogg", "zeros.wma"}) {
        SCOPED_TRACE(name);
        write(name, "");
        std::filesystem::resize_file(name, std::uintmax_t{64} << 20);
        std::uint64_t bytesRead = 0;
        EXPECT_THROW(StreamDecoder(name, 44100, &bytesRead), std::runtime_error);
        EXPECT_GT(bytesRead, 0u);
        EXPECT_LE(bytesRead, StreamDecoder::probeBytes);
        EXPECT_FALSE(library.openStream(name));
        EXPECT_FALSE(library.lastError().empty());
    }

    std::uint64_t bytesRead = 0;
    StreamDecoder tone("tone.mp3", 44100, &bytesRead);
    std::vector<float> out(4096 * 2);
    std::size_t frames = 0;
    while (std::size_t made = tone.render(out.data(), 4096))
        frames += made;
    EXPECT_NEAR(static_cast<double>(frames), 1.5 * 44100, 4096);
    EXPECT_EQ(bytesRead, std::filesystem::file_size("tone.mp3"));
}

// A header may declare any rate: one no music file has is refused before anything is decoded,
// and at the extremes that are allowed, what waits to be played stays small.
TEST_F(SoundLibraryOffline, StreamsDeclaringARateNoMusicHasAreRefusedWithTheirRate) {
    for (ToneFormat format : {ToneFormat::Ogg, ToneFormat::Wma}) {
        const std::string extension = toneExtension(format);
        SCOPED_TRACE(extension);
        const std::string tone = read("tone." + extension);
        for (const std::uint32_t rate : {1u, 3999u, 768001u, 0x7FFFFFFFu}) {
            const std::string name = "rate-" + std::to_string(rate) + "." + extension;
            write(name, withDeclaredRate(tone, format, rate));
            const std::string reason = "sample rate out of range (" +
                                       std::to_string(static_cast<std::int32_t>(rate)) + " Hz)";
            std::uint64_t bytesRead = 0;
            try {
                StreamDecoder refused(name, 44100, &bytesRead);
                ADD_FAILURE() << name << " was not refused";
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(error.what(), reason);
            }
            EXPECT_LE(bytesRead, tone.size());
            EXPECT_FALSE(library.openStream(name));
            EXPECT_EQ(library.lastError(), reason);
        }
    }

    // The lowest rate allowed makes eleven frames of every one decoded.
    write("rate-4000.ogg", withDeclaredRate(read("tone.ogg"), ToneFormat::Ogg, 4000));
    write("rate-768000.ogg", withDeclaredRate(read("tone.ogg"), ToneFormat::Ogg, 768000));
    for (const auto& [name, frames] :
         {std::pair{"rate-4000.ogg", 1.5 * 44100 * 44100 / 4000},
          std::pair{"rate-768000.ogg", 1.5 * 44100 * 44100 / 768000}}) {
        SCOPED_TRACE(name);
        StreamDecoder decoder(name, 44100);
        std::vector<float> out(1024 * 2);
        std::size_t made = 0;
        while (std::size_t got = decoder.render(out.data(), 1024))
            made += got;
        EXPECT_NEAR(static_cast<double>(made), frames, frames * 0.05);
        EXPECT_GT(decoder.peakPendingFrames(), 0u);
        EXPECT_LE(decoder.peakPendingFrames(), StreamDecoder::pieceFrames + 1024);
    }
}

TEST_F(SoundLibraryOffline, MissingFilesFoldersAndUnknownHandlesAnswerNothing) {
    EXPECT_FALSE(library.openStream("missing.ogg"));
    EXPECT_EQ(library.lastError(), "file not found");
    EXPECT_FALSE(library.loadSong("missing.xm"));
    EXPECT_EQ(library.lastError(), "file not found");
    std::filesystem::create_directory("folder.ogg");
    EXPECT_FALSE(library.openStream("folder.ogg"));
    EXPECT_FALSE(library.loadSong("folder.ogg"));

    StreamHandle none;
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, none), SoundLibrary::noChannel);
    EXPECT_EQ(library.streamTime(none), 0);
    library.setStreamPaused(none, true);
    library.stopStream(none);
    library.playSong(SongHandle{});
    library.freeSong(SongHandle{12345});
    EXPECT_FALSE(library.channelStream(-1));
    EXPECT_FALSE(library.channelPlaying(99));
    library.setChannelVolume(-1, 3);
}

TEST_F(SoundLibraryOffline, ClosingForgetsEveryHandle) {
    StreamHandle stream = library.openStream("tone.ogg");
    library.playStream(SoundLibrary::noChannel, stream);
    render(4410);
    EXPECT_EQ(library.outputDriver(), "offline");
    library.close();
    EXPECT_FALSE(library.started());
    EXPECT_EQ(library.streamTime(stream), 0);
    EXPECT_FALSE(library.openStream("tone.ogg"));
    ASSERT_TRUE(library.init(44100, 32));
    // Handles are never reused: the old one names nothing in the new session.
    StreamHandle again = library.openStream("tone.ogg");
    EXPECT_NE(again, stream);
    EXPECT_EQ(library.playStream(SoundLibrary::noChannel, stream), SoundLibrary::noChannel);
}

// The viewer steps a stream offline, hands it to the device and takes it back: the position
// goes on from where it was each time, never back. The device plays what it takes a little
// later, so when it is let go of, the stream goes back to the frame heard and the frames it had
// taken but not played are mixed again: the clock neither steps back nor skips, and the audio
// that follows is the stream's own from exactly that frame. However long the device plays before
// it is let go of (a loaded machine), the stream is long enough to go on.
TEST_F(SoundLibraryOffline, SwitchingOutputKeepsStreamsAndTheirPositions) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    encodeTone("long.ogg", ToneFormat::Ogg, 8.0);
    std::vector<float> whole;
    {
        StreamDecoder reference("long.ogg", 44100);
        std::vector<float> out(4096 * 2);
        while (std::size_t made = reference.render(out.data(), 4096))
            whole.insert(whole.end(), out.begin(), out.begin() + static_cast<long>(made * 2));
    }
    StreamHandle stream = library.openStream("long.ogg");
    ASSERT_TRUE(stream);
    library.playStream(SoundLibrary::noChannel, stream);
    render(44100);
    EXPECT_EQ(library.streamTime(stream), 1000);
    ASSERT_TRUE(library.switchOutput(AudioOutput::Device)) << library.lastError();
    EXPECT_EQ(library.outputDriver(), "dummy");
    // Until the device has played some of it, the position stands where offline mixing left it.
    int onDevice = library.streamTime(stream);
    for (int look = 0; onDevice == 1000 && look < 20000; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const int now = library.streamTime(stream);
        EXPECT_GE(now, onDevice);
        onDevice = now;
    }
    ASSERT_GT(onDevice, 1000) << "the device played nothing";
    ASSERT_TRUE(library.switchOutput(AudioOutput::Offline));
    EXPECT_EQ(library.outputDriver(), "offline");
    const int handedBack = library.streamTime(stream);
    EXPECT_GE(handedBack, onDevice);
    ASSERT_LE(handedBack + 500, 8000) << "the device played on past the stream's end";
    const std::vector<float> after = render(22050);
    EXPECT_EQ(library.streamTime(stream), handedBack + 500);

    // The frame handed back is one whose time reads handedBack; the mixed audio goes on from it.
    std::vector<std::size_t> matches;
    for (std::size_t frame = 0; frame + 22050 <= whole.size() / 2; ++frame) {
        if (static_cast<int>(frame * 1000 / 44100) == handedBack &&
            std::equal(after.begin(), after.end(), whole.begin() + static_cast<long>(frame * 2)))
            matches.push_back(frame);
    }
    EXPECT_EQ(matches.size(), 1u);
}

} // namespace
