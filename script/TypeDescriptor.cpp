#include "TypeDescriptor.h"

#include "Element.h"
#include "ParseContext.h"
#include "ScriptErrors.h"

ContainerDepth::ContainerDepth(ParseContext& context, const std::string& name) : context(context) {
    if (context.containerDepth >= ParseContext::maxContainerDepth)
        throw Errors::ScriptLoaderError("Error : nesting too deep in definition of [" + name + "]");
    ++context.containerDepth;
}

void throwSyntaxError() {
    throw Errors::ScriptLoaderError("Error : syntax error in typedef");
}

void throwNameSyntaxError() {
    throw Errors::ScriptLoaderError("Error : syntax error in name definition");
}

void throwUndefinedType(const std::string& typeName) {
    throw Errors::ScriptLoaderError("Error : undefined type [" + typeName + "]");
}

void throwNoData(const std::string& name) {
    throw Errors::ScriptLoaderError("Error : no data in definition for [" + name + "]");
}

void throwDataFormat(const std::string& name) {
    throw Errors::ScriptLoaderError("Error : erorr in dataformat for definition of [" + name + "]");
}

void throwWrongType(const std::string& name) {
    throw Errors::ScriptLoaderError("Error : wrong data type [" + name + "]");
}

std::string readElementTypeName(Element& statement) {
    Element* block = statement.nextChild();
    Element* word = block && block->isBlock() ? block->nextChild() : nullptr;
    if (!word || !word->isWord())
        throwSyntaxError();
    return word->getText();
}

void TypeDescriptor::parseStatement(ParseContext& context, ContainerNode& container,
                                    Element& statement) const {
    const TypeDescriptor* reader = this;
    std::unique_ptr<TypeDescriptor> definition;
    if (needsElementType()) {
        // The element type belongs to this one definition, not to the shared descriptor.
        definition = clone();
        definition->elementTypeName = readElementTypeName(statement);
        reader = definition.get();
    }
    Element* nameElement = statement.nextChild();
    const std::string name = nameElement ? nameElement->getText() : std::string();
    reader->parseValue(context, container, statement.nextChild(), name);
}
