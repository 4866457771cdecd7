#include "FileLoader.h"

#include "LoadError.h"
#include "PortablePath.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path>* recorder = nullptr;

} // namespace

void recordOpenedFiles(std::vector<fs::path>* opened) {
    recorder = opened;
}

std::ifstream openScriptFile(const std::string& fileName, std::uintmax_t* size) {
    const Errors::LoadError cannotOpen("Could not open file \"%s\"", fileName);
    const auto path = resolvePortablePath(fileName);
    std::error_code error;
    if (!path || !fs::is_regular_file(*path, error)) {
        // The viewer watches for it, so that creating the file fixes the load.
        if (recorder)
            if (auto watched = watchedPortablePath(fileName); !watched.empty())
                recorder->push_back(std::move(watched));
        throw cannotOpen;
    }

    std::ifstream stream(*path, std::ios::in | std::ios::binary);
    if (!stream)
        throw cannotOpen;
    if (recorder)
        recorder->push_back(*path);
    if (size) {
        *size = fs::file_size(*path, error);
        if (error)
            throw cannotOpen;
    }
    return stream;
}
