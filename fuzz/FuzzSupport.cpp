#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

void require(bool holds, std::string_view what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

FreshFolder::FreshFolder() : previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "reelfuzz-XXXXXX").string();
    require(::mkdtemp(pattern.data()) != nullptr, "cannot make a folder to work in");
    folder = pattern;
    std::filesystem::current_path(folder);
}

FreshFolder::~FreshFolder() {
    std::error_code error;
    std::filesystem::current_path(previous, error);
    std::filesystem::remove_all(folder, error);
}

void FreshFolder::write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        require(false, "cannot write " + name);
}
