#include "RunMarks.h"

#ifdef REELPLAY_VECTOR_RUN_MARKS
#include <immintrin.h>
#endif

RunMarks markRuns8(const std::uint8_t* at) {
    RunMarks marks;
    for (int i = 0; i < 8; ++i) {
        marks.byte |= std::uint64_t{at[i] == at[i - 1]} << i;
        marks.pixel |= std::uint64_t{at[i] == at[i - 3]} << i;
    }
    return marks;
}

#ifdef REELPLAY_VECTOR_RUN_MARKS

// SSE2 is in every x86-64 processor.
RunMarks markRuns16(const std::uint8_t* at) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const auto equal = [here, at](int distance) {
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at - distance));
        return static_cast<std::uint64_t>(
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, before))));
    };
    return {equal(1), equal(3)};
}

__attribute__((target("avx2"))) RunMarks markRuns32(const std::uint8_t* at) {
    const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i byte = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at - 1));
    const __m256i pixel = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at - 3));
    return {static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(here, byte))),
            static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(here, pixel)))};
}

__attribute__((target("avx512f,avx512bw"))) RunMarks markRuns64(const std::uint8_t* at) {
    const __m512i here = _mm512_loadu_si512(at);
    return {_mm512_cmpeq_epi8_mask(here, _mm512_loadu_si512(at - 1)),
            _mm512_cmpeq_epi8_mask(here, _mm512_loadu_si512(at - 3))};
}

std::size_t fastestRunMarks() {
    static const std::size_t width = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512bw"))
            return 64;
        if (__builtin_cpu_supports("avx2"))
            return 32;
        return 16;
    }();
    return width;
}

#else

std::size_t fastestRunMarks() {
    return 8;
}

#endif
