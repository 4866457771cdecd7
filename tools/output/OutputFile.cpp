#include "OutputFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace {

std::string reason(int error) {
    return error != 0 ? std::strerror(error) : "write failed";
}

// Told apart by process and by a count within it; a name taken all the same (a process of
// another machine sharing the folder) is passed over.
std::string temporarySuffix() {
    static std::atomic<unsigned> made{0};
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld-%u.partial", static_cast<long>(getpid()), made++);
    return suffix;
}

} // namespace

TemporaryFile createTemporaryBeside(const std::filesystem::path& target) {
    constexpr unsigned attempts = 100;
    for (unsigned attempt = 0; attempt < attempts; ++attempt) {
        std::filesystem::path path = target.string() + temporarySuffix();
        const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            return {descriptor, std::move(path)};
        if (errno != EEXIST)
            break;
    }
    throw std::runtime_error("cannot write " + target.string() + ": " + reason(errno));
}

OutputFile::OutputFile(std::filesystem::path path) : target(std::move(path)) {
    const TemporaryFile made = createTemporaryBeside(target);
    temporary = made.path;
    errno = 0;
    file = fdopen(made.descriptor, "wb");
    if (!file) {
        const int error = errno;
        close(made.descriptor);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        errno = error;
        fail();
    }
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
