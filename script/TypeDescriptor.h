#pragma once

#include "LoadNotes.h"

#include <memory>
#include <string>

class ContainerNode;
class Element;
struct ParseContext;

// The parser of one type, found by name in the type tables of the containers. Reads definitions
// ("type name value;") and values into the data tree.
class TypeDescriptor {
public:
    explicit TypeDescriptor(std::string typeName) : typeName(std::move(typeName)) {}
    virtual ~TypeDescriptor() = default;

    // True for the built-in array and list, whose definitions name their element type.
    virtual bool needsElementType() const { return false; }
    // A copy under the same class; nothing for types made by typedef, which cannot be copied.
    virtual std::unique_ptr<TypeDescriptor> clone() const = 0;

    // Reads a definition whose type word has already been taken: [element type], name, value.
    virtual void parseStatement(ParseContext& context, ContainerNode& container,
                                Element& statement) const;
    // Makes the node for one value (nullptr when the definition has none) and adds it.
    virtual void parseValue(ParseContext& context, ContainerNode& container, Element* value,
                            const std::string& name) const = 0;

    std::string typeName;
    std::string memberName;
    std::string elementTypeName;

protected:
    TypeDescriptor(const TypeDescriptor&) = default;
    TypeDescriptor& operator=(const TypeDescriptor&) = default;
};

// The texts of the parser's errors, shared by every type. `at`, when given, is the element the
// error comes from; without it the error takes the place of the statement being read.
[[noreturn]] void throwSyntaxError(const Element* at = nullptr);
[[noreturn]] void throwNameSyntaxError(const Element* at = nullptr);
[[noreturn]] void throwUndefinedType(const std::string& typeName, const Element* at = nullptr);
[[noreturn]] void throwNoData(const std::string& name, const Element* at = nullptr);
[[noreturn]] void throwDataFormat(const std::string& name, const Element* at = nullptr);
[[noreturn]] void throwWrongType(const std::string& name);

// Reads the "[elementtype]" block of an array or list definition.
std::string readElementTypeName(Element& statement);

// Notes `extra`, a value that the definition `definition` of type `type` never reads.
void noteIgnoredValue(ParseContext& context, IgnoredValue::After after, const Element& extra,
                      const std::string& definition, const std::string& type,
                      bool namesType = false);
// Notes the first child of `statement` left once its definition has been read, if there is one.
void noteRestOfStatement(ParseContext& context, const ContainerNode& container, Element& statement,
                         const std::string& definition, const std::string& type);
