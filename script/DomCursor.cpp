#include "DomCursor.h"

#include "ContainerNode.h"
#include "ScriptErrors.h"

DomCursor::DomCursor(std::unique_ptr<ContainerNode> root)
    : root(std::move(root)), branch(this->root.get()) {}

DomCursor::~DomCursor() = default;

std::size_t DomCursor::count() const {
    return branch->count();
}

void DomCursor::selectNext() {
    current = branch->nextChild();
}

void DomCursor::select(const std::string& name) {
    current = branch->childByName(name);
}

ContainerNode* DomCursor::enter() {
    ContainerNode* container = current ? current->asContainer() : nullptr;
    if (!container)
        fail("No branch found in DOM structure.");
    branch = container;
    return branch;
}

void DomCursor::leave() {
    if (branch->getParent())
        branch = branch->getParent();
}

std::string DomCursor::typeName() const {
    return current ? current->getDeclaredType() : std::string();
}

template <typename Node>
const Node& DomCursor::selected() const {
    if (!current || current->getKind() != Node::leafKind)
        fail("No data found.");
    return static_cast<const Node&>(*current);
}

void DomCursor::fail(const char* message) const {
    Errors::DOMError error(message);
    error.placeAt(current ? current->getPlace() : branch->getPlace());
    throw error;
}

std::string DomCursor::getString() const {
    return selected<StringNode>().getValue();
}

int DomCursor::getInt() const {
    return selected<IntNode>().getValue();
}

double DomCursor::getFloat() const {
    return selected<FloatNode>().getValue();
}

bool DomCursor::getBool() const {
    return selected<BoolNode>().getValue();
}
