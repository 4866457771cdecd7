#include "DataNode.h"

#include "DataBase.h"

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::String: return "string";
    case Kind::File: return "file";
    case Kind::Int: return "int";
    case Kind::Float: return "float";
    case Kind::Char: return "char";
    case Kind::Bool: return "bool";
    case Kind::Vector2d: return "vector2d";
    case Kind::Vector3d: return "vector3d";
    case Kind::Block: return "block";
    case Kind::Array: return "array";
    case Kind::List: return "list";
    }
    return "";
}

FileNode::FileNode(std::string fileName, std::string declaredType, std::string name,
                   ContainerNode* parent)
    : LeafNode(std::move(fileName), std::move(declaredType), std::move(name), parent) {
    DataBase::instance().open(getValue());
}

const DataObject* FileNode::getData() const {
    return DataBase::instance().get(getValue());
}
