#include "TypedefType.h"

#include "BuiltinTypes.h"
#include "ContainerNode.h"
#include "Element.h"
#include "LoadError.h"
#include "ParseContext.h"

namespace {

enum class Role { Typedef, Member };

std::unique_ptr<TypeDescriptor> defineType(ParseContext& context, const ContainerNode& scope,
                                           const std::string& base, Element& statement, Role role);

std::vector<std::unique_ptr<TypeDescriptor>>
readMembers(ParseContext& context, const ContainerNode& scope, Element& body) {
    std::vector<std::unique_ptr<TypeDescriptor>> members;
    while (Element* member = body.nextChild()) {
        if (!member->isBlock())
            throwSyntaxError(member);
        Errors::placingErrors(member->getPlace(), [&] {
            Element* typeWord = member->nextChild();
            if (!typeWord || !typeWord->isWord())
                throwSyntaxError(typeWord);
            members.push_back(
                defineType(context, scope, typeWord->getText(), *member, Role::Member));
        });
    }
    return members;
}

// Reads "[elementtype] name body" after the base type word. "block", "array" and "list" build
// a new type named `name`; any other base is copied: under the new name for a typedef, under
// its own name with `name` as member name for a record member.
std::unique_ptr<TypeDescriptor> defineType(ParseContext& context, const ContainerNode& scope,
                                           const std::string& base, Element& statement, Role role) {
    const bool isRecord = base == "block";
    const bool isCollection = base == "array" || base == "list";
    std::unique_ptr<TypeDescriptor> alias;
    if (!isRecord && !isCollection) {
        const TypeDescriptor* found = scope.findType(base);
        alias = found ? found->clone() : nullptr;
        if (!alias)
            throwUndefinedType(base);
    }
    const std::string elementType = isCollection ? readElementTypeName(statement) : std::string();

    Element* nameElement = statement.nextChild();
    if (!nameElement || !nameElement->isWord())
        throwNameSyntaxError(nameElement);
    const std::string name = nameElement->getText();

    std::unique_ptr<TypeDescriptor> type;
    if (alias) {
        type = std::move(alias);
        if (role == Role::Typedef)
            type->typeName = name;
    } else if (isCollection) {
        type = CollectionType::built(base == "array" ? Kind::Array : Kind::List, name, elementType);
        // The body of an array or list type is left unread by design; what follows it is not.
        statement.nextChild();
    } else {
        Element* body = statement.nextChild();
        if (!body || !body->isBlock())
            throwSyntaxError(body);
        type = std::make_unique<RecordType>(name, readMembers(context, scope, *body));
    }
    noteRestOfStatement(context, scope, statement, name, role == Role::Typedef ? "typedef" : base);
    if (role == Role::Member)
        type->memberName = name;
    return type;
}

} // namespace

std::unique_ptr<TypeDescriptor> TypedefType::clone() const {
    return std::make_unique<TypedefType>();
}

void TypedefType::parseStatement(ParseContext& context, ContainerNode& container,
                                 Element& statement) const {
    Element* base = statement.nextChild();
    if (!base || !base->isWord())
        throwSyntaxError(base);
    container.registerType(
        defineType(context, container, base->getText(), statement, Role::Typedef));
}

void TypedefType::parseValue(ParseContext&, ContainerNode&, Element*,
                             const std::string& name) const {
    // Only reachable when typedef is named as the element type of an array or list.
    throwDataFormat(name);
}

void RecordType::parseValue(ParseContext& context, ContainerNode& container, Element* value,
                            const std::string& name) const {
    if (!value)
        throwDataFormat(name);
    ContainerDepth depth(context, name);
    auto node = std::make_unique<ContainerNode>(Kind::Block, typeName, name, &container);
    node->setPlace(value->getPlace());
    for (const auto& member : members) {
        Element* child = value->nextChild();
        if (!child)
            throwNoData(member->memberName, value);
        member->parseValue(context, *node, child, member->memberName);
    }
    if (const Element* extra = value->nextChild())
        noteIgnoredValue(context, IgnoredValue::After::Record, *extra, name, typeName);
    container.addChild(std::move(node));
}
