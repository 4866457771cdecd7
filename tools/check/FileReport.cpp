#include "FileReport.h"

#include "ContainerNode.h"
#include "Effect.h"
#include "EffectFiles.h"
#include "JpegDecoder.h"
#include "MusicRequest.h"
#include "SoundLibrary.h"
#include "TimelinePrinter.h"

#include <algorithm>

namespace {

constexpr const char* ok = "ok";
constexpr const char* missing = "missing";

void collectFileValues(const ContainerNode& container, std::vector<std::string>& names) {
    for (const auto& child : container.getChildren()) {
        if (child->getKind() == Kind::File)
            names.push_back(static_cast<const FileNode&>(*child).getValue());
        else if (const ContainerNode* inner = child->asContainer())
            collectFileValues(*inner, names);
    }
}

} // namespace

std::string pictureStatus(const std::string& fileName) {
    JpegDecoder decoder;
    DecodedPicture picture;
    std::string error;
    if (decoder.decodeFile(fileName, picture, error))
        return ok;
    return pictureFailureReason(error);
}

std::string musicStatus(const std::string& specification) {
    const MusicRequest music = MusicRequest::parse(specification);
    if (music.kind == MusicRequest::Kind::CdTrack)
        return "cd track " + std::to_string(music.track) + ", mode " + std::to_string(music.mode);
    if (music.kind == MusicRequest::Kind::None)
        return "no player for this extension";

    // A library of its own, without a device, so that checking plays nothing.
    SoundLibrary probe;
    probe.setOutput(AudioOutput::Offline);
    if (!probe.init(44100, 1))
        return "unreadable: the sound library does not start";
    const bool opened = music.kind == MusicRequest::Kind::Stream
                            ? static_cast<bool>(probe.openStream(specification))
                            : static_cast<bool>(probe.loadSong(specification));
    const std::string error = probe.lastError();
    probe.close();
    if (opened)
        return ok;
    return error == "file not found" ? missing : "unreadable: " + error;
}

bool usableStatus(const std::string& status) {
    return status == ok || status.starts_with("cd track");
}

void FileReport::addFileValues(const ContainerNode& top) {
    std::vector<std::string> names;
    collectFileValues(top, names);
    for (const std::string& name : names) {
        if (!has("file", name))
            entries.push_back({"file", name, ok, true});
    }
}

void FileReport::addEffectFiles(const std::vector<TimelineEvent>& events) {
    for (const TimelineEvent& event : events) {
        if (event.kind != EventKind::Init || !event.effect)
            continue;
        for (const FileUse& file : filesUsedBy(event.effect->getName(), event.data)) {
            const std::string kind = file.kind == FileKind::Picture ? "picture" : "music";
            if (has(kind, file.name))
                continue;
            const std::string status =
                file.kind == FileKind::Picture ? pictureStatus(file.name) : musicStatus(file.name);
            entries.push_back({kind, file.name, status, usableStatus(status)});
        }
    }
}

void FileReport::print(std::ostream& out) const {
    for (const Entry& entry : entries)
        out << entry.kind << ' ' << quoted(entry.name) << ": " << entry.status << '\n';
}

bool FileReport::recordFilesUsable() const {
    return std::all_of(entries.begin(), entries.end(),
                       [](const Entry& entry) { return entry.usable; });
}

bool FileReport::has(const std::string& kind, const std::string& name) const {
    return std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) {
        return entry.kind == kind && entry.name == name;
    });
}

std::vector<std::string> FileReport::names() const {
    std::vector<std::string> all;
    for (const Entry& entry : entries)
        all.push_back(entry.name);
    return all;
}
