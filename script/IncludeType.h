#pragma once

#include "TypeDescriptor.h"

// "include name;": the statements of another script file, read into the container where the
// include stands as if they were written there.
class IncludeType : public TypeDescriptor {
public:
    IncludeType() : TypeDescriptor("include") {}

    std::unique_ptr<TypeDescriptor> clone() const override;
    void parseStatement(ParseContext& context, ContainerNode& container,
                        Element& statement) const override;
    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override;
};
