#include "TempFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() : previous(fs::current_path()) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            fs::temp_directory_path() / ("reelplay-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            folder = candidate;
            fs::current_path(folder);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::current_path(previous, error);
    fs::remove_all(folder, error);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    const fs::path file = folder / name;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}
