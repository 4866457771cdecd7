#pragma once

#include "Image.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

// Frames shrunk to thumbnails in a grid, each labelled with its time, written as one PNG. The
// labelled thumbnails wait in a temporary file until the sheet is written, so that a long span
// needs memory for one row of the sheet only.
class ContactSheet {
public:
    static constexpr int columns = 6;
    static constexpr int thumbnailWidth = 160;
    static constexpr int thumbnailHeight = 120;
    static constexpr int labelHeight = 20;
    static constexpr int margin = 8;

    // Throws std::runtime_error at once when `path` cannot be written.
    explicit ContactSheet(std::filesystem::path path);

    void add(const Image& frame, double seconds);
    // Throws std::runtime_error when the sheet cannot be written, or holds no thumbnail.
    void write();
    int count() const { return thumbnails; }

    // "m:ss.ss"
    static std::string timeLabel(double seconds);

private:
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    Image labelledThumbnail(const Image& frame, double seconds) const;
    [[noreturn]] void fail(const std::string& reason) const;

    std::filesystem::path path;
    std::unique_ptr<std::FILE, CloseFile> waiting;
    int thumbnails = 0;
};
