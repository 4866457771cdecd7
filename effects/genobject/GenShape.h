#pragma once

#include <cstddef>
#include <memory>
#include <string>

// One of the objects a GenObject shows. Each frame it moves on and draws itself, building its
// geometry anew; triggers that it does not know are ignored.
class GenShape {
public:
    GenShape() = default;
    virtual ~GenShape() = default;
    GenShape& operator=(const GenShape&) = delete;

    virtual void draw() = 0;
    virtual void trigger(const std::string&) {}
    // A copy in the same state, for a saved state of the effect that shows the object.
    virtual std::unique_ptr<GenShape> clone() const = 0;
    // The memory the object holds besides itself, in bytes.
    virtual std::size_t heapBytes() const = 0;

protected:
    GenShape(const GenShape&) = default;
};
