#pragma once

#include "DataNode.h"
#include "TypeDescriptor.h"

class ContainerNode;
class Element;
struct ParseContext;

// Registers the built-in types in their fixed order into the root container of a parse.
void registerBuiltinTypes(ContainerNode& root);

// "block": a bracket block of statements. Without makesNode it reads the statements into the
// given container itself, which is how include pulls a file in.
class BlockType : public TypeDescriptor {
public:
    explicit BlockType(bool makesNode) : TypeDescriptor("block"), makesNode(makesNode) {}

    std::unique_ptr<TypeDescriptor> clone() const override;
    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override;

    // Reads every statement of `block`, in order, into `container`.
    static void readStatements(ParseContext& context, ContainerNode& container, Element& block);

    bool makesNode;
};

// "array" and "list", and the types that typedef builds from them. The built-in ones take their
// element type from each definition; built ones carry a fixed element type and a name of their
// own, and cannot be copied.
class CollectionType : public TypeDescriptor {
public:
    static std::unique_ptr<CollectionType> builtIn(Kind kind);
    static std::unique_ptr<CollectionType> built(Kind kind, std::string typeName,
                                                 std::string elementTypeName);

    bool needsElementType() const override { return isBuiltIn; }
    std::unique_ptr<TypeDescriptor> clone() const override;
    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override;

private:
    CollectionType(Kind kind, std::string typeName, bool isBuiltIn)
        : TypeDescriptor(std::move(typeName)), kind(kind), isBuiltIn(isBuiltIn) {}

    void readElements(ParseContext& context, ContainerNode& node, const TypeDescriptor& element,
                      Element& value) const;
    void readEntries(ParseContext& context, ContainerNode& node, const TypeDescriptor& element,
                     Element& value) const;

    Kind kind;
    bool isBuiltIn;
};
