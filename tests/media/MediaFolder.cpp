#include "MediaFolder.h"

#include <iterator>

std::unique_ptr<TempFolder> OfflineSound::folder;

void OfflineSound::SetUpTestSuite() {
    folder = std::make_unique<TempFolder>();
    for (ToneFormat format : {ToneFormat::Ogg, ToneFormat::Mp3, ToneFormat::Mp2, ToneFormat::Wma}) {
        encodeTone("tone." + toneExtension(format), format, 1.5);
    }
    encodeTone("short.ogg", ToneFormat::Ogg, 0.5);
    write("song.xm", xmSong(16, 1));
    write("song.mid", midiSong(2.0));
    write("song.rmi", rmiSong(midiSong(2.0)));
    write("song.sgt", "not decoded");
}

void OfflineSound::TearDownTestSuite() {
    folder.reset();
}

void OfflineSound::SetUp() {
    library.setOutput(AudioOutput::Offline);
    ASSERT_TRUE(library.init(44100, 32));
}

void OfflineSound::TearDown() {
    library.close();
    library.setOutput(AudioOutput::Device);
}

std::string OfflineSound::read(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void OfflineSound::write(const std::string& name, const std::string& bytes) {
    folder->write(name, bytes);
}

std::vector<float> OfflineSound::render(std::size_t frames) {
    std::vector<float> out(frames * 2);
    library.renderOffline(out.data(), frames);
    return out;
}

double OfflineSound::rms(const std::vector<float>& samples) {
    double sum = 0.0;
    for (float sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}
