#pragma once

#include "TypeDescriptor.h"

#include <memory>
#include <string>
#include <vector>

// "typedef base [elementtype] newname body;": an alias of a copyable type, or a new record,
// array or list type, registered in the container where the statement stands.
class TypedefType : public TypeDescriptor {
public:
    TypedefType() : TypeDescriptor("typedef") {}

    std::unique_ptr<TypeDescriptor> clone() const override;
    void parseStatement(ParseContext& context, ContainerNode& container,
                        Element& statement) const override;
    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override;
};

// A record type ("typedef block Name { members };"): its values fill the members by position.
class RecordType : public TypeDescriptor {
public:
    RecordType(std::string typeName, std::vector<std::unique_ptr<TypeDescriptor>> members)
        : TypeDescriptor(std::move(typeName)), members(std::move(members)) {}

    std::unique_ptr<TypeDescriptor> clone() const override { return nullptr; }
    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override;

    const std::vector<std::unique_ptr<TypeDescriptor>>& getMembers() const { return members; }

private:
    std::vector<std::unique_ptr<TypeDescriptor>> members;
};
