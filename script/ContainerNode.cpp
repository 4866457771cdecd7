#include "ContainerNode.h"

#include "TypeDescriptor.h"
#include "Writer.h"

ContainerNode::ContainerNode(Kind kind, std::string declaredType, std::string name,
                             ContainerNode* parent)
    : DataNode(kind, std::move(declaredType), std::move(name), parent) {}

ContainerNode::~ContainerNode() = default;

void ContainerNode::addChild(std::unique_ptr<DataNode> node) {
    node->setParent(this);
    if (parseRoot) {
        if (ContainerNode* added = node->asContainer()) {
            for (const auto& [typeName, type] : types) {
                if (auto copy = type->clone())
                    added->registerType(std::move(copy));
            }
        }
    }
    if (indexesNames())
        nameIndex.try_emplace(node->getName(), node.get());
    children.push_back(std::move(node));
    cursor = 0;
}

void ContainerNode::registerType(std::unique_ptr<TypeDescriptor> type) {
    const std::string key = type->typeName;
    types.try_emplace(key, std::move(type));
}

void ContainerNode::registerWriter(std::unique_ptr<Writer> writer) {
    const std::string key = writer->getKindName();
    writers.try_emplace(key, std::move(writer));
}

DataNode* ContainerNode::nextChild() {
    if (cursor >= children.size())
        return nullptr;
    return children[cursor++].get();
}

DataNode* ContainerNode::childAt(std::size_t index) const {
    if (indexesNames() || index >= children.size())
        return nullptr;
    return children[index].get();
}

DataNode* ContainerNode::childByName(const std::string& childName) const {
    if (!indexesNames())
        return nullptr;
    const auto found = nameIndex.find(childName);
    return found == nameIndex.end() ? nullptr : found->second;
}

std::size_t ContainerNode::count() const {
    return indexesNames() ? nameIndex.size() : children.size();
}

void ContainerNode::rewind() {
    cursor = 0;
    for (const auto& child : children) {
        if (ContainerNode* container = child->asContainer())
            container->rewind();
    }
}

ContainerNode* ContainerNode::nextChildAsContainer() {
    DataNode* child = nextChild();
    return child ? child->asContainer() : nullptr;
}

ContainerNode* ContainerNode::childAtAsContainer(std::size_t index) const {
    DataNode* child = childAt(index);
    return child ? child->asContainer() : nullptr;
}

ContainerNode* ContainerNode::childByNameAsContainer(const std::string& childName) const {
    DataNode* child = childByName(childName);
    return child ? child->asContainer() : nullptr;
}

const TypeDescriptor* ContainerNode::findType(const std::string& typeName) const {
    for (const ContainerNode* scope = this; scope; scope = scope->getParent()) {
        const auto found = scope->types.find(typeName);
        if (found != scope->types.end())
            return found->second.get();
    }
    return nullptr;
}

const Writer* ContainerNode::findWriter(const std::string& typeName) const {
    for (const ContainerNode* scope = this; scope; scope = scope->getParent()) {
        const auto found = scope->writers.find(typeName);
        if (found != scope->writers.end())
            return found->second.get();
    }
    return nullptr;
}

std::unique_ptr<DataNode> ContainerNode::releaseChild(std::size_t index) {
    std::unique_ptr<DataNode> child = std::move(children.at(index));
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
    if (indexesNames()) {
        nameIndex.clear();
        for (const auto& remaining : children)
            nameIndex.try_emplace(remaining->getName(), remaining.get());
    }
    cursor = 0;
    child->setParent(nullptr);
    return child;
}
