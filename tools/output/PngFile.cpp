#include "PngFile.h"

#include "PngEncoder.h"

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <stdexcept>
#include <string>

// libpng reports failures by a long jump; they are turned into exceptions only in the frame
// that called setjmp, never thrown through libpng's own frames.
struct PngWriter::Codec {
    png_structp png = nullptr;
    png_infop info = nullptr;
    OutputFile* file = nullptr;
    std::string failure;

    ~Codec() { png_destroy_write_struct(&png, &info); }
};

namespace {

void recordError(png_structp png, png_const_charp message) {
    auto* codec = static_cast<PngWriter::Codec*>(png_get_error_ptr(png));
    if (codec->failure.empty())
        codec->failure = "cannot write " + codec->file->path().string() + ": " + message;
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

void writeData(png_structp png, png_bytep data, std::size_t length) {
    auto* codec = static_cast<PngWriter::Codec*>(png_get_io_ptr(png));
    errno = 0;
    if (std::fwrite(data, 1, length, codec->file->handle()) != length) {
        codec->failure = "cannot write " + codec->file->path().string() + ": " +
                         (errno != 0 ? std::strerror(errno) : "write failed");
        png_error(png, "write failed");
    }
}

// The file is flushed once, when it is committed.
void flushData(png_structp) {}

// Runs one libpng step; a failure inside it arrives here by long jump and leaves as an exception.
template <typename Step>
void guarded(PngWriter::Codec& codec, Step step) {
    if (setjmp(png_jmpbuf(codec.png)) == 0) {
        step();
        return;
    }
    throw std::runtime_error(codec.failure);
}

} // namespace

PngWriter::PngWriter(const std::filesystem::path& path, int width, int height, PixelOrder order)
    : file(path), codec(std::make_unique<Codec>()) {
    codec->file = &file;
    codec->png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, codec.get(), recordError, ignoreWarning);
    if (codec->png)
        codec->info = png_create_info_struct(codec->png);
    if (!codec->png || !codec->info)
        throw std::runtime_error("cannot write " + path.string() + ": out of memory");
    guarded(*codec, [&] {
        png_set_write_fn(codec->png, codec.get(), writeData, flushData);
        // Frames are written by the thousand: the fastest setting with the filter that suits it
        // (rows of a frame mostly repeat the row above) are worth more than the last bytes.
        png_set_compression_level(codec->png, 1);
        png_set_IHDR(codec->png, codec->info, static_cast<png_uint_32>(width),
                     static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_filter(codec->png, 0, PNG_FILTER_UP);
        png_write_info(codec->png, codec->info);
        if (order == PixelOrder::Bgr)
            png_set_bgr(codec->png);
    });
}

PngWriter::~PngWriter() = default;

void PngWriter::writeRow(const std::uint8_t* rgb) {
    guarded(*codec, [&] { png_write_row(codec->png, const_cast<png_bytep>(rgb)); });
}

void PngWriter::finish() {
    guarded(*codec, [&] { png_write_end(codec->png, nullptr); });
    file.commit();
}

void writePng(const std::filesystem::path& path, const Image& picture) {
    PngEncoder().write(path, picture);
}

Image readPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw std::runtime_error("cannot read " + path.string() + ": " + image.message);
    image.format = PNG_FORMAT_RGB;
    Image picture(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        throw std::runtime_error("cannot read " + path.string() + ": " + image.message);
    }
    return picture;
}
