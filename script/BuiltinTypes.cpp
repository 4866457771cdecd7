#include "BuiltinTypes.h"

#include "ContainerNode.h"
#include "Element.h"
#include "IncludeType.h"
#include "LoadError.h"
#include "ParseContext.h"
#include "ScriptErrors.h"
#include "TypedefType.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Whether a conversion read the whole word: all of it, some digits, and a value in range.
bool readWhole(const std::string& text, const char* end, bool inRange) {
    return !text.empty() && end == text.c_str() + text.size() && inRange;
}

// Decimal as strtol reads it: leading blanks and a sign, stops at the first non-digit, no digits
// give 0; values beyond 32 bits saturate.
int toInt(const std::string& text, const std::string&, bool& whole) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    whole = readWhole(text, end, errno != ERANGE && value >= INT_MIN && value <= INT_MAX);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double toDouble(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// Only overflow counts as out of range: a value too small to hold still reads as about 0.
double toFloat(const std::string& text, const std::string&, bool& whole) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    whole = readWhole(text, end, !(errno == ERANGE && std::isinf(value)));
    return value;
}

std::string toText(const std::string& text, const std::string&, bool&) {
    return text;
}

char toChar(const std::string& text, const std::string& name, bool&) {
    if (text.size() != 1)
        throwWrongType(name);
    return text[0];
}

bool toBool(const std::string& text, const std::string& name, bool&) {
    if (text == "true")
        return true;
    if (text != "false")
        throwWrongType(name);
    return false;
}

// A type whose value is one word, converted into a leaf. A number that is not one as a whole is
// noted, as its leaf holds only what the conversion made of it.
template <typename Node>
class WordType : public TypeDescriptor {
public:
    using Convert = typename Node::Value (*)(const std::string& text, const std::string& name,
                                             bool& whole);

    WordType(std::string typeName, Convert convert)
        : TypeDescriptor(std::move(typeName)), convert(convert) {}

    std::unique_ptr<TypeDescriptor> clone() const override {
        return std::unique_ptr<TypeDescriptor>(new WordType(*this));
    }

    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override {
        if (!value)
            throwNoData(name);
        if (!value->isWord())
            throwDataFormat(name, value);
        bool whole = true;
        // Making a file leaf loads its file: a file that cannot be read is this value's error.
        auto node = Errors::placingErrors(value->getPlace(), [&] {
            return std::make_unique<Node>(convert(value->textRef(), name, whole), typeName, name,
                                          &container);
        });
        node->setPlace(value->getPlace());
        if (!whole) {
            // An array's elements are named by position: name the array too.
            const std::string definition =
                container.getKind() == Kind::Array ? container.getName() + "[" + name + "]" : name;
            LoadNotes::keep(
                context.notes.numberWords,
                NumberWord{value->getPlace(), value->getText(), definition, Node::leafKind});
        }
        container.addChild(std::move(node));
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

    void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                    const std::string& name) const override {
        if (!value)
            throwNoData(name);
        if (!value->isBlock())
            throwDataFormat(name, value);
        typename Node::Value vector;
        vector.x = coordinate(*value, name);
        vector.y = coordinate(*value, name);
        if constexpr (Node::leafKind == Kind::Vector3d)
            vector.z = coordinate(*value, name);
        auto node = std::make_unique<Node>(vector, typeName, name, &container);
        node->setPlace(value->getPlace());
        container.addChild(std::move(node));
        if (const Element* extra = value->nextChild())
            noteIgnoredValue(context, IgnoredValue::After::Vector, *extra, name, typeName);
    }

private:
    VectorType(const VectorType&) = default;

    // A child that is itself a block counts as empty text.
    static double coordinate(Element& block, const std::string& name) {
        Element* child = block.nextChild();
        if (!child)
            throwDataFormat(name, &block);
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
    node->setPlace(value->getPlace());
    readStatements(context, *node, *value);
    container.addChild(std::move(node));
}

namespace {

// Text after the last ';' of a block stays loose among its statements.
[[noreturn]] void throwLooseElement(const Element& element) {
    Errors::ScriptLoaderError error("Error : syntax error in typedef");
    error.placeAt(element.getPlace());
    error.addNote("every definition ends with ';': is it missing after this one?");
    throw error;
}

} // namespace

void BlockType::readStatements(ParseContext& context, ContainerNode& container, Element& block) {
    while (Element* statement = block.nextChild()) {
        if (!statement->isBlock())
            throwLooseElement(*statement);
        // An error without a place of its own belongs to the statement being read.
        Errors::placingErrors(statement->getPlace(), [&] {
            Element* typeWord = statement->nextChild();
            if (!typeWord || !typeWord->isWord())
                throwSyntaxError(typeWord);
            const TypeDescriptor* type = container.findType(typeWord->textRef());
            if (!type)
                throwUndefinedType(typeWord->textRef(), typeWord);
            type->parseStatement(context, container, *statement);
        });
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
    node->setPlace(value->getPlace());
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
            throwDataFormat(node.getName(), entry);
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
