#include "TypeDescriptor.h"

#include "ContainerNode.h"
#include "Element.h"
#include "ParseContext.h"
#include "ScriptErrors.h"

namespace {

[[noreturn]] void throwFrom(const Element* at, std::string message) {
    Errors::ScriptLoaderError error(std::move(message));
    if (at)
        error.placeAt(at->getPlace());
    throw error;
}

} // namespace

ContainerDepth::ContainerDepth(ParseContext& context, const std::string& name) : context(context) {
    if (context.containerDepth >= ParseContext::maxContainerDepth)
        throw Errors::ScriptLoaderError("Error : nesting too deep in definition of [" + name + "]");
    ++context.containerDepth;
}

void throwSyntaxError(const Element* at) {
    throwFrom(at, "Error : syntax error in typedef");
}

void throwNameSyntaxError(const Element* at) {
    throwFrom(at, "Error : syntax error in name definition");
}

void throwUndefinedType(const std::string& typeName, const Element* at) {
    throwFrom(at, "Error : undefined type [" + typeName + "]");
}

void throwNoData(const std::string& name, const Element* at) {
    throwFrom(at, "Error : no data in definition for [" + name + "]");
}

void throwDataFormat(const std::string& name, const Element* at) {
    throwFrom(at, "Error : erorr in dataformat for definition of [" + name + "]");
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
    const std::size_t before = container.getChildren().size();
    reader->parseValue(context, container, statement.nextChild(), name);
    // The node made is the definition's: it stands where the definition does.
    if (container.getChildren().size() > before)
        container.getChildren().back()->setPlace(statement.getPlace());
    noteRestOfStatement(context, container, statement, name, reader->typeName);
}

void noteIgnoredValue(ParseContext& context, IgnoredValue::After after, const Element& extra,
                      const std::string& definition, const std::string& type, bool namesType) {
    IgnoredValue note;
    note.after = after;
    note.place = extra.getPlace();
    note.text = extra.isWord() ? extra.getText() : std::string(1, extra.getOpener());
    note.definition = definition;
    note.type = type;
    note.namesType = namesType;
    LoadNotes::keep(context.notes.ignoredValues, std::move(note));
}

void noteRestOfStatement(ParseContext& context, const ContainerNode& container, Element& statement,
                         const std::string& definition, const std::string& type) {
    const Element* extra = statement.nextChild();
    if (!extra)
        return;
    const bool namesType = extra->isWord() && container.findType(extra->textRef()) != nullptr;
    noteIgnoredValue(context, IgnoredValue::After::Statement, *extra, definition, type, namesType);
}
