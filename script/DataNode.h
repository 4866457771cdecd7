#pragma once

#include "SourcePlace.h"

#include <string>
#include <utility>

class ContainerNode;

// The built-in kind that fixes a node's class and storage, whatever name its type was given.
enum class Kind { String, File, Int, Float, Char, Bool, Vector2d, Vector3d, Block, Array, List };

const char* kindName(Kind kind);

// One definition of a script: a leaf holding a value, or a container.
class DataNode {
public:
    DataNode(Kind kind, std::string declaredType, std::string name, ContainerNode* parent)
        : kind(kind), declaredType(std::move(declaredType)), name(std::move(name)), parent(parent) {
    }
    virtual ~DataNode() = default;
    DataNode(const DataNode&) = delete;
    DataNode& operator=(const DataNode&) = delete;

    virtual ContainerNode* asContainer() { return nullptr; }
    virtual const ContainerNode* asContainer() const { return nullptr; }

    Kind getKind() const { return kind; }
    const char* getKindName() const { return kindName(kind); }
    const std::string& getDeclaredType() const { return declaredType; }
    const std::string& getName() const { return name; }
    ContainerNode* getParent() const { return parent; }
    void setParent(ContainerNode* newParent) { parent = newParent; }

    // Where the node was written: the definition that made it, or, for a value without a
    // definition of its own (an element of an array, a member of a record), the value itself.
    const SourcePlace& getPlace() const { return place; }
    void setPlace(SourcePlace where) { place = std::move(where); }

private:
    Kind kind;
    std::string declaredType;
    std::string name;
    ContainerNode* parent;
    SourcePlace place;
};

struct Vector2 {
    double x = 0.0;
    double y = 0.0;
};

struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A single value; it never changes after the node is made.
template <Kind K, typename T>
class LeafNode : public DataNode {
public:
    using Value = T;
    static constexpr Kind leafKind = K;

    LeafNode(T value, std::string declaredType, std::string name, ContainerNode* parent)
        : DataNode(K, std::move(declaredType), std::move(name), parent), value(std::move(value)) {}

    const T& getValue() const { return value; }

private:
    T value;
};

using StringNode = LeafNode<Kind::String, std::string>;
using IntNode = LeafNode<Kind::Int, int>;
using FloatNode = LeafNode<Kind::Float, double>;
using CharNode = LeafNode<Kind::Char, char>;
using BoolNode = LeafNode<Kind::Bool, bool>;
using Vector2dNode = LeafNode<Kind::Vector2d, Vector2>;
using Vector3dNode = LeafNode<Kind::Vector3d, Vector3>;

class DataObject;

// A file value: making it loads the file into the data base, where its data is found by name.
class FileNode : public LeafNode<Kind::File, std::string> {
public:
    FileNode(std::string fileName, std::string declaredType, std::string name,
             ContainerNode* parent);

    const DataObject* getData() const;
};
