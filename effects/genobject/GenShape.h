#pragma once

#include <string>

// One of the objects a GenObject shows. Each frame it moves on and draws itself, building its
// geometry anew; triggers that it does not know are ignored.
class GenShape {
public:
    GenShape() = default;
    virtual ~GenShape() = default;
    GenShape(const GenShape&) = delete;
    GenShape& operator=(const GenShape&) = delete;

    virtual void draw() = 0;
    virtual void trigger(const std::string&) {}
};
