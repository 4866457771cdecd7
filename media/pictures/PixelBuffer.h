#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// An allocator whose elements start uninitialised. Pixel memory is written in full by the
// decoder; clearing it first would touch every page of a picture that a crafted header made
// huge, before the data is found to be missing.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };

    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

using PixelBuffer = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;
