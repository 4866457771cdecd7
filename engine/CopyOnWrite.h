#pragma once

#include <memory>
#include <utility>

// A value that copies of its owner share until one of them changes it: saving an effect's state
// then costs nothing for a mesh the effect does not touch again, and one copy for a mesh that it
// goes on changing. Reading never copies; `edit` copies first while the value is shared.
template <typename Value>
class CopyOnWrite {
public:
    CopyOnWrite() : value(std::make_shared<Value>()) {}
    CopyOnWrite(Value initial) : value(std::make_shared<Value>(std::move(initial))) {}

    const Value& operator*() const { return *value; }
    const Value* operator->() const { return value.get(); }
    Value& edit() {
        if (value.use_count() > 1)
            value = std::make_shared<Value>(*value);
        return *value;
    }
    // Whether no other copy shares the value, so that it is this owner's alone to count.
    bool unshared() const { return value.use_count() == 1; }

private:
    std::shared_ptr<Value> value;
};
