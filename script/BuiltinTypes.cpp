#include "BuiltinTypes.h"

#include "ContainerNode.h"
#include "Element.h"
#include "IncludeType.h"
#include "ParseContext.h"
#include "TypedefType.h"

#include <climits>
#include <cstdlib>

namespace {

// Decimal as strtol reads it: leading blanks and a sign, stops at the first non-digit, no digits
// give 0; values beyond 32 bits saturate.
int toInt(const std::string& text, const std::string&) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double toDouble(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

double toFloat(const std::string& text, const std::string&) {
    return toDouble(text);
}

std::string toText(const std::string& text, const std::string&) {
    return text;
}

char toChar(const std::string& text, const std::string& name) {
    if (text.size() != 1)
        throwWrongType(name);
    return text[0];
}

bool toBool(const std::string& text, const std::string& name) {
    if (text == "true")
        return true;
    if (text != "false")
        throwWrongType(name);
    return false;
}

// A type whose value is one word, converted into a leaf.
template <typename Node>
class WordType : public TypeDescriptor {
public:
    using Convert = typename Node::Value (*)(const std::string& text, const std::string& name);

    WordType(std::string typeName, Convert convert)
        : TypeDescriptor(std::move(typeName)), convert(convert) {}

    std::unique_ptr<TypeDescriptor> clone() const override {
        return std::unique_ptr<TypeDescriptor>(new WordType(*this));
    }

    void parseValue(ParseContext&, ContainerNode& container, Element* value,
                    const std::string& name) const override {
        if (!value)
            throwNoData(name);
        if (!value->isWord())
            throwDataFormat(name);
        container.addChild(
            std::make_unique<Node>(convert(value->textRef(), name), typeName, name, &container));
    }

private:
    WordType(const WordType&) = default;

    Convert convert;
};

// A bracket block whose first two or three children are the coordinates.
template <typename Node>
class VectorType : public TypeDescriptor {
public:
    using TypeDescriptor::TypeDescriptor;

    std::unique_ptr<TypeDescriptor> clone() const override {
        return std::unique_ptr<TypeDescriptor>(new VectorType(*this));
    }

    void parseValue(ParseContext&, ContainerNode& container, Element* value,
                    const std::string& name) const override {
        if (!value)
            throwNoData(name);
        if (!value->isBlock())
            throwDataFormat(name);
        typename Node::Value vector;
        vector.x = coordinate(*value, name);
        vector.y = coordinate(*value, name);
        if constexpr (Node::leafKind == Kind::Vector3d)
            vector.z = coordinate(*value, name);
        container.addChild(std::make_unique<Node>(vector, typeName, name, &container));
    }

private:
    VectorType(const VectorType&) = default;

    // A child that is itself a block counts as empty text.
    static double coordinate(Element& block, const std::string& name) {
        Element* child = block.nextChild();
        if (!child)
            throwDataFormat(name);
        return toDouble(child->textRef());
    }
};

} // namespace

std::unique_ptr<TypeDescriptor> BlockType::clone() const {
    return std::make_unique<BlockType>(makesNode);
}

void BlockType::parseValue(ParseContext& context, ContainerNode& container, Element* value,
                           const std::string& name) const {
    if (!value)
        throwDataFormat(name);
    if (!makesNode) {
        readStatements(context, container, *value);
        return;
    }
    ContainerDepth depth(context, name);
    auto node = std::make_unique<ContainerNode>(Kind::Block, typeName, name, &container);
    readStatements(context, *node, *value);
    container.addChild(std::move(node));
}

void BlockType::readStatements(ParseContext& context, ContainerNode& container, Element& block) {
    while (Element* statement = block.nextChild()) {
        if (!statement->isBlock())
            throwSyntaxError();
        Element* typeWord = statement->nextChild();
        if (!typeWord || !typeWord->isWord())
            throwSyntaxError();
        const TypeDescriptor* type = container.findType(typeWord->textRef());
        if (!type)
            throwUndefinedType(typeWord->textRef());
        type->parseStatement(context, container, *statement);
    }
}

std::unique_ptr<CollectionType> CollectionType::builtIn(Kind kind) {
    return std::unique_ptr<CollectionType>(new CollectionType(kind, kindName(kind), true));
}

std::unique_ptr<CollectionType> CollectionType::built(Kind kind, std::string typeName,
                                                      std::string elementTypeName) {
    auto type =
        std::unique_ptr<CollectionType>(new CollectionType(kind, std::move(typeName), false));
    type->elementTypeName = std::move(elementTypeName);
    return type;
}

std::unique_ptr<TypeDescriptor> CollectionType::clone() const {
    if (!isBuiltIn)
        return nullptr;
    return std::unique_ptr<TypeDescriptor>(new CollectionType(*this));
}

void CollectionType::parseValue(ParseContext& context, ContainerNode& container, Element* value,
                                const std::string& name) const {
    const TypeDescriptor* element = container.findType(elementTypeName);
    if (!element)
        throwUndefinedType(elementTypeName);
    if (!value)
        throwDataFormat(name);
    ContainerDepth depth(context, name);
    auto node = std::make_unique<ContainerNode>(kind, typeName, name, &container);
    node->setElementTypeName(elementTypeName);
    if (kind == Kind::Array)
        readElements(context, *node, *element, *value);
    else
        readEntries(context, *node, *element, *value);
    container.addChild(std::move(node));
}

void CollectionType::readElements(ParseContext& context, ContainerNode& node,
                                  const TypeDescriptor& element, Element& value) const {
    std::size_t position = 0;
    while (Element* child = value.nextChild())
        element.parseValue(context, node, child, std::to_string(position++));
}

void CollectionType::readEntries(ParseContext& context, ContainerNode& node,
                                 const TypeDescriptor& element, Element& value) const {
    while (Element* entry = value.nextChild()) {
        if (!entry->isBlock())
            throwDataFormat(node.getName());
        element.parseStatement(context, node, *entry);
    }
}

void registerBuiltinTypes(ContainerNode& root) {
    root.registerType(std::make_unique<WordType<StringNode>>("string", toText));
    root.registerType(std::make_unique<WordType<IntNode>>("int", toInt));
    root.registerType(std::make_unique<WordType<FileNode>>("file", toText));
    root.registerType(std::make_unique<WordType<FloatNode>>("float", toFloat));
    root.registerType(std::make_unique<WordType<CharNode>>("char", toChar));
    root.registerType(std::make_unique<WordType<BoolNode>>("bool", toBool));
    root.registerType(std::make_unique<VectorType<Vector2dNode>>("vector2d"));
    root.registerType(std::make_unique<VectorType<Vector3dNode>>("vector3d"));
    root.registerType(std::make_unique<BlockType>(true));
    root.registerType(CollectionType::builtIn(Kind::Array));
    root.registerType(CollectionType::builtIn(Kind::List));
    root.registerType(std::make_unique<TypedefType>());
    root.registerType(std::make_unique<IncludeType>());
}
