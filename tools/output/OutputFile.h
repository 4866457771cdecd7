#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// A new file beside `target` with a name of its own, made only by this call: runs that write
// the same name at the same time never share one, and the last to finish wins, whole. Throws
// std::runtime_error naming `target` when it cannot be made.
struct TemporaryFile {
    int descriptor;
    std::filesystem::path path;
};
TemporaryFile createTemporaryBeside(const std::filesystem::path& target);

// A file written under a temporary name beside its own and renamed to it only once everything
// has been written and flushed, so that a failed write (a folder that cannot be written, a full
// disk) never leaves a partial file under the real name. Failures throw std::runtime_error
// naming the file and the reason.
class OutputFile {
public:
    explicit OutputFile(std::filesystem::path path);
    // Removes the temporary file when `commit` was not reached.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const void* bytes, std::size_t size);
    // Rewrites bytes already written, `offset` from the start (a header whose sizes are known
    // only at the end).
    void writeAt(long offset, const void* bytes, std::size_t size);
    // Flushes, closes and renames the file to its name.
    void commit();

    std::FILE* handle() { return file; }
    const std::filesystem::path& path() const { return target; }
    // Throws the error of a failed write, with errno's reason.
    [[noreturn]] void fail() const;

private:
    std::filesystem::path target;
    std::filesystem::path temporary;
    std::FILE* file = nullptr;
};
