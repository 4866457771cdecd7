#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What the fuzz targets share. Each target takes one input through a path of the program as
// the program takes it, and stops the run (a finding) where something that must hold does not.

// Prints `what` and aborts when `holds` is false, so that the fuzzer keeps the input.
void require(bool holds, std::string_view what);

// A new, empty folder that is the working directory while it lives and is removed afterwards:
// every input starts from nothing, as a demo's folder holds only its own files.
class FreshFolder {
public:
    FreshFolder();
    ~FreshFolder();
    FreshFolder(const FreshFolder&) = delete;
    FreshFolder& operator=(const FreshFolder&) = delete;

    void write(const std::string& name, const std::uint8_t* data, std::size_t size) const;

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};
