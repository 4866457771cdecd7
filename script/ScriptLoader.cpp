#include "ScriptLoader.h"

#include "BuiltinTypes.h"
#include "ContainerNode.h"
#include "FileLoader.h"
#include "ParseContext.h"
#include "PortablePath.h"
#include "ScriptErrors.h"
#include "ScriptLexer.h"
#include "Writer.h"

namespace {

class ScriptFileLoader : public FileLoader<std::unique_ptr<DomCursor>> {
protected:
    std::unique_ptr<DomCursor> read(const std::string& fileName, std::istream& stream) override {
        std::unique_ptr<Element> elements;
        ParseContext context;
        {
            ScriptLexer lexer;
            elements = lexer.parse(fileName, stream);
            const SourcePlace cause = lexer.firstErrorPlace();
            const std::string firstError = lexer.popFirstError();
            if (!firstError.empty()) {
                Errors::DOMError error(firstError + "\n");
                error.placeAt(cause);
                throw error;
            }
            context.scriptBytes = lexer.bytesRead();
            context.notes.droppedEscapes = lexer.takeDroppedEscapes();
        }

        if (const auto path = resolvePortablePath(fileName))
            context.openFiles.push_back(fileIdentity(*path));

        ContainerNode root(Kind::Block, "block", "", nullptr);
        registerBuiltinTypes(root);
        registerBuiltinWriters(root);
        root.makeParseRoot();
        BlockType(true).parseValue(context, root, elements.get(), "");
        elements.reset();

        // The root only carried the built-in tables, which the top block received as copies.
        std::unique_ptr<DataNode> top = root.releaseChild(0);
        auto cursor = std::make_unique<DomCursor>(
            std::unique_ptr<ContainerNode>(static_cast<ContainerNode*>(top.release())));
        cursor->setNotes(std::move(context.notes));
        return cursor;
    }
};

} // namespace

std::unique_ptr<DomCursor> loadScript(const std::string& fileName) {
    ScriptFileLoader loader;
    return loader.load(fileName);
}
