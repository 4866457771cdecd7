#include "Writer.h"

#include "ContainerNode.h"

#include <array>

namespace {

template <typename Node>
void writeValue(const Node& node, std::ostream& out) {
    out << node.getValue();
}

void writeQuoted(const std::string& text, std::ostream& out) {
    // Not escaped: a quote or backslash inside does not read back unchanged.
    out << '"' << text << '"';
}

template <>
void writeValue(const StringNode& node, std::ostream& out) {
    writeQuoted(node.getValue(), out);
}

// The file name rather than the stored data, so that the text reads back.
template <>
void writeValue(const FileNode& node, std::ostream& out) {
    writeQuoted(node.getValue(), out);
}

template <>
void writeValue(const CharNode& node, std::ostream& out) {
    out << '"' << node.getValue() << '"';
}

template <>
void writeValue(const BoolNode& node, std::ostream& out) {
    out << (node.getValue() ? "true" : "false");
}

template <>
void writeValue(const Vector2dNode& node, std::ostream& out) {
    out << '<' << node.getValue().x << ',' << node.getValue().y << '>';
}

template <>
void writeValue(const Vector3dNode& node, std::ostream& out) {
    const Vector3& v = node.getValue();
    out << '<' << v.x << ',' << v.y << ',' << v.z << '>';
}

// A leaf is printed with a prefix that its parent's declared type decides: a whole definition
// inside a block, "name value" inside a list, the bare value anywhere else.
template <typename Node>
class LeafWriter : public Writer {
public:
    LeafWriter() : Writer(::kindName(Node::leafKind)) {}

    void write(const DataNode& node, std::ostream& out, int) const override {
        const ContainerNode* parent = node.getParent();
        if (!parent || node.getKind() != Node::leafKind)
            return;
        const std::string& parentType = parent->getDeclaredType();
        if (parentType == "block")
            out << getKindName() << '\t' << node.getName() << '\t';
        else if (parentType == "list")
            out << node.getName() << '\t';
        writeValue(static_cast<const Node&>(node), out);
    }
};

void writeStatements(const ContainerNode& container, std::ostream& out, int depth) {
    for (const auto& child : container.getChildren()) {
        indent(out, depth);
        writeNode(*child, out, depth + 1);
        out << ";\n";
    }
}

// Containers print only as definitions inside a block (or as the top of a print).
bool insideBlock(const DataNode& node) {
    return node.getParent() && node.getParent()->getDeclaredType() == "block";
}

class BlockWriter : public Writer {
public:
    BlockWriter() : Writer("block") {}

    void write(const DataNode& node, std::ostream& out, int depth) const override {
        const ContainerNode* block = node.asContainer();
        if (!block)
            return;
        if (!node.getParent()) {
            writeStatements(*block, out, depth);
            return;
        }
        if (!insideBlock(node))
            return;
        out << "block\t" << node.getName() << "\t{\n";
        writeStatements(*block, out, depth);
        indent(out, depth - 1);
        out << '}';
    }
};

class CollectionWriter : public Writer {
public:
    explicit CollectionWriter(Kind kind) : Writer(::kindName(kind)) {}

    void write(const DataNode& node, std::ostream& out, int depth) const override {
        const ContainerNode* collection = node.asContainer();
        if (!collection || !insideBlock(node))
            return;
        out << getKindName() << '[' << collection->getElementTypeName() << "]\t" << node.getName()
            << "\t{\n";
        if (collection->getKind() == Kind::List) {
            writeStatements(*collection, out, depth);
        } else {
            const auto& elements = collection->getChildren();
            for (std::size_t i = 0; i < elements.size(); ++i) {
                indent(out, depth);
                writeNode(*elements[i], out, depth + 1);
                out << (i + 1 < elements.size() ? ",\n" : "\n");
            }
        }
        indent(out, depth - 1);
        out << '}';
    }
};

std::unique_ptr<Writer> makeWriter(Kind kind) {
    switch (kind) {
    case Kind::String: return std::make_unique<LeafWriter<StringNode>>();
    case Kind::File: return std::make_unique<LeafWriter<FileNode>>();
    case Kind::Int: return std::make_unique<LeafWriter<IntNode>>();
    case Kind::Float: return std::make_unique<LeafWriter<FloatNode>>();
    case Kind::Char: return std::make_unique<LeafWriter<CharNode>>();
    case Kind::Bool: return std::make_unique<LeafWriter<BoolNode>>();
    case Kind::Vector2d: return std::make_unique<LeafWriter<Vector2dNode>>();
    case Kind::Vector3d: return std::make_unique<LeafWriter<Vector3dNode>>();
    case Kind::Block: return std::make_unique<BlockWriter>();
    case Kind::Array:
    case Kind::List: return std::make_unique<CollectionWriter>(kind);
    }
    return nullptr;
}

constexpr std::array allKinds = {Kind::String, Kind::Int,   Kind::File,     Kind::Float,
                                 Kind::Char,   Kind::Bool,  Kind::Vector2d, Kind::Vector3d,
                                 Kind::Block,  Kind::Array, Kind::List};

const Writer& writerOfKind(Kind kind) {
    static const auto writers = [] {
        std::array<std::unique_ptr<Writer>, allKinds.size()> made;
        for (Kind each : allKinds)
            made[static_cast<std::size_t>(each)] = makeWriter(each);
        return made;
    }();
    return *writers[static_cast<std::size_t>(kind)];
}

} // namespace

void indent(std::ostream& out, int tabs) {
    for (int i = 0; i < tabs; ++i)
        out << '\t';
}

void registerBuiltinWriters(ContainerNode& root) {
    for (Kind kind : allKinds)
        root.registerWriter(makeWriter(kind));
}

void writeNode(const DataNode& node, std::ostream& out, int depth) {
    const ContainerNode* scope = node.getParent() ? node.getParent() : node.asContainer();
    const Writer* writer = scope ? scope->findWriter(node.getDeclaredType()) : nullptr;
    // A type name can be reused for a value of another kind; such a writer cannot print it.
    if (!writer || writer->getKindName() != node.getKindName())
        writer = &writerOfKind(node.getKind());
    writer->write(node, out, depth);
}
