#include "OutputFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace {

std::string reason(int error) {
    return error != 0 ? std::strerror(error) : "write failed";
}

} // namespace

OutputFile::OutputFile(std::filesystem::path path)
    : target(std::move(path)), temporary(target.string() + ".partial") {
    errno = 0;
    file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        fail();
}

OutputFile::~OutputFile() {
    if (!file)
        return;
    std::fclose(file);
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
}

void OutputFile::fail() const {
    throw std::runtime_error("cannot write " + target.string() + ": " + reason(errno));
}

void OutputFile::write(const void* bytes, std::size_t size) {
    errno = 0;
    if (std::fwrite(bytes, 1, size, file) != size)
        fail();
}

void OutputFile::writeAt(long offset, const void* bytes, std::size_t size) {
    errno = 0;
    const long end = std::ftell(file);
    if (end < 0 || std::fseek(file, offset, SEEK_SET) != 0)
        fail();
    write(bytes, size);
    if (std::fseek(file, end, SEEK_SET) != 0)
        fail();
}

void OutputFile::commit() {
    errno = 0;
    // A full disk often shows only when the buffered end of the file is flushed.
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    std::error_code error;
    if (!flushed || !closed) {
        std::filesystem::remove(temporary, error);
        errno = flushError != 0 ? flushError : errno;
        fail();
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + target.string() + ": " + error.message());
    }
}
