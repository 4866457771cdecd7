#pragma once

#include <memory>
#include <utility>

// Owns one object through a pointer to its base, and copies it whole through its `clone()`: an
// owner that is copied to save its state gets its own object, of the same class, in the same
// state. Otherwise used as std::unique_ptr.
template <typename Base>
class ClonePtr {
public:
    ClonePtr() = default;
    ClonePtr(std::unique_ptr<Base> owned) : owned(std::move(owned)) {}
    ClonePtr(const ClonePtr& other) : owned(other.owned ? other.owned->clone() : nullptr) {}
    ClonePtr(ClonePtr&&) noexcept = default;
    ClonePtr& operator=(const ClonePtr& other) {
        if (this != &other)
            owned = other.owned ? other.owned->clone() : nullptr;
        return *this;
    }
    ClonePtr& operator=(ClonePtr&&) noexcept = default;
    ClonePtr& operator=(std::unique_ptr<Base> replaced) {
        owned = std::move(replaced);
        return *this;
    }

    Base* get() const { return owned.get(); }
    Base* operator->() const { return owned.get(); }
    Base& operator*() const { return *owned; }
    explicit operator bool() const { return owned != nullptr; }
    void reset() { owned.reset(); }

private:
    std::unique_ptr<Base> owned;
};
