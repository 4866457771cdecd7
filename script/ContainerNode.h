#pragma once

#include "DataNode.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TypeDescriptor;
class Writer;

// A block, array or list. Blocks and lists index their children by name (the first child of a
// name wins); arrays are addressed by position. Containers also hold the type and writer tables
// through which names are resolved for everything below them.
class ContainerNode : public DataNode {
public:
    ContainerNode(Kind kind, std::string declaredType, std::string name, ContainerNode* parent);
    ~ContainerNode() override;

    ContainerNode* asContainer() override { return this; }
    const ContainerNode* asContainer() const override { return this; }

    void addChild(std::unique_ptr<DataNode> node);
    // The first registration of a name stays in effect.
    void registerType(std::unique_ptr<TypeDescriptor> type);
    void registerWriter(std::unique_ptr<Writer> writer);

    DataNode* nextChild();
    DataNode* childAt(std::size_t index) const;
    DataNode* childByName(const std::string& childName) const;
    // Distinct child names of a block or list; elements of an array.
    std::size_t count() const;
    void rewind();

    ContainerNode* nextChildAsContainer();
    ContainerNode* childAtAsContainer(std::size_t index) const;
    ContainerNode* childByNameAsContainer(const std::string& childName) const;

    // Looked up here first, then in each ancestor; nothing when no table has the name.
    const TypeDescriptor* findType(const std::string& typeName) const;
    const Writer* findWriter(const std::string& typeName) const;

    const std::vector<std::unique_ptr<DataNode>>& getChildren() const { return children; }
    std::unique_ptr<DataNode> releaseChild(std::size_t index);

    // The root of a parse hands a copy of its types to each container added to it: this is
    // how a script's top block receives the built-in types.
    void makeParseRoot() { parseRoot = true; }

    // For arrays and lists: the type their elements were read with.
    const std::string& getElementTypeName() const { return elementTypeName; }
    void setElementTypeName(std::string typeName) { elementTypeName = std::move(typeName); }

private:
    bool indexesNames() const { return getKind() != Kind::Array; }

    std::vector<std::unique_ptr<DataNode>> children;
    std::unordered_map<std::string, DataNode*> nameIndex;
    std::size_t cursor = 0;
    std::unordered_map<std::string, std::unique_ptr<TypeDescriptor>> types;
    std::unordered_map<std::string, std::unique_ptr<Writer>> writers;
    std::string elementTypeName;
    bool parseRoot = false;
};
