#pragma once

#include <cstddef>
#include <cstdint>

// Which bytes of a window equal the byte one before them, and which the byte three before (a
// pixel's), a bit for each, the first byte's lowest: what RunDeflate finds its runs in. Marking
// a window at `at` reads from at - 3 up to the window's end.
struct RunMarks {
    std::uint64_t byte = 0;
    std::uint64_t pixel = 0;
};

// Marks for windows of 8 bytes, in plain C++, and of 16, 32 and 64 bytes with the vector
// instructions of SSE2, AVX2 and AVX-512 where the compiler has them. Only those of at most
// fastestRunMarks() may be called; none is inlined into its caller.
RunMarks markRuns8(const std::uint8_t* at);
#if defined(__x86_64__) && defined(__GNUC__)
#define REELPLAY_VECTOR_RUN_MARKS 1
RunMarks markRuns16(const std::uint8_t* at);
RunMarks markRuns32(const std::uint8_t* at);
RunMarks markRuns64(const std::uint8_t* at);
#endif

// The widest window this processor marks: 8, 16, 32 or 64 bytes.
std::size_t fastestRunMarks();
