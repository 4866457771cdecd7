#pragma once

#include "Effect.h"
#include "EffectState.h"

#include <concepts>
#include <cstddef>
#include <memory>
#include <vector>

template <typename T>
std::size_t vectorBytes(const std::vector<T>& values) {
    return values.capacity() * sizeof(T);
}

// What the base fields of a saved effect hold besides the object.
std::size_t effectFieldBytes(const Effect& effect);

// A copy of a whole effect object, its base fields included. Copies of effects are made only to
// be kept here: they are not registered and never drawn.
template <typename Derived>
class SavedEffect final : public EffectState {
public:
    explicit SavedEffect(const Derived& effect) : copy(effect) {}
    std::size_t byteSize() const override {
        std::size_t bytes = sizeof(SavedEffect) + effectFieldBytes(copy);
        if constexpr (requires(const Derived& d) {
                          { d.heapBytes() } -> std::convertible_to<std::size_t>;
                      })
            bytes += copy.heapBytes();
        return bytes;
    }

    const Derived copy;
};

// The base of an effect class whose state can be saved and put back: the object is copied as a
// whole, so that a field added to the class cannot be left out, and the class's `programWide`
// struct, where it has one, is saved as the class's state. A class names itself:
// `class Tunnel : public SavableEffect<Tunnel>`. A class whose objects own more than plain values
// gives them value semantics (copies share what is built once). `heapBytes()`, where a class
// has it, tells what its copy holds besides the object itself.
template <typename Derived>
class SavableEffect : public Effect {
public:
    explicit SavableEffect(const std::string& name) : Effect(name) {}

    std::shared_ptr<const EffectState> saveState() const override {
        return std::make_shared<SavedEffect<Derived>>(static_cast<const Derived&>(*this));
    }
    void restoreState(const EffectState& state) override {
        static_cast<Derived&>(*this) = dynamic_cast<const SavedEffect<Derived>&>(state).copy;
    }
    std::shared_ptr<const EffectState> saveClassState() const override {
        if constexpr (requires { Derived::programWide; })
            return saveValue(Derived::programWide);
        else
            return nullptr;
    }
    void restoreClassState(const EffectState& state) override {
        if constexpr (requires { Derived::programWide; })
            restoreValue(Derived::programWide, state);
    }

protected:
    SavableEffect(const SavableEffect&) = default;
    SavableEffect& operator=(const SavableEffect&) = default;
};
