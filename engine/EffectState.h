#pragma once

#include <cstddef>
#include <memory>
#include <typeindex>
#include <utility>

// A saved part of the demo's state: opaque to the engine, read back only by the code that made
// it. Immutable once made, so that snapshots can share it.
class EffectState {
public:
    virtual ~EffectState() = default;
    // The memory the saved state holds of its own, in bytes; what it shares with the running
    // demo (textures, geometry built once) is not counted.
    virtual std::size_t byteSize() const = 0;
};

// A saved copy of a plain value (a struct of accumulators, a generator's state).
template <typename Value>
class SavedValue final : public EffectState {
public:
    explicit SavedValue(Value value) : value(std::move(value)) {}
    std::size_t byteSize() const override { return sizeof(SavedValue); }

    const Value value;
};

template <typename Value>
std::shared_ptr<const EffectState> saveValue(const Value& value) {
    return std::make_shared<SavedValue<Value>>(value);
}

// Puts the value back; throws std::bad_cast when the state was made from another type.
template <typename Value>
void restoreValue(Value& into, const EffectState& state) {
    into = dynamic_cast<const SavedValue<Value>&>(state).value;
}

// Something outside the effects whose state the next frame depends on, such as the shared
// random generator; the engine saves and restores it with everything else.
class SavedPart {
public:
    virtual ~SavedPart() = default;
    virtual std::shared_ptr<const EffectState> save() const = 0;
    virtual void restore(const EffectState& state) = 0;
};
