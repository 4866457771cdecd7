#include "IncludeType.h"

#include "BuiltinTypes.h"
#include "Element.h"
#include "FileLoader.h"
#include "LoadError.h"
#include "ParseContext.h"
#include "PortablePath.h"
#include "ScriptErrors.h"
#include "ScriptLexer.h"

#include <algorithm>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

const std::optional<fs::path>& identityOf(ParseContext& context, const std::string& name) {
    auto [entry, added] = context.includeIdentities.try_emplace(name);
    if (added) {
        if (const auto path = resolvePortablePath(name))
            entry->second = fileIdentity(*path);
    }
    return entry->second;
}

// The text of the file an include names, read once per load; nothing when the name reaches no
// file (opening it then reports that). Reads no more than the lexer takes of one file.
const std::string* textOf(ParseContext& context, const std::string& name) {
    const std::optional<fs::path>& identity = identityOf(context, name);
    if (!identity)
        return nullptr;
    auto [entry, added] = context.includeTexts.try_emplace(*identity);
    if (added) {
        std::ifstream stream = openScriptFile(name);
        std::string& text = entry->second;
        constexpr std::size_t chunk = 1 << 16;
        while (stream && text.size() <= ScriptLexer::maxScriptBytes) {
            const std::size_t had = text.size();
            text.resize(had + chunk);
            stream.read(text.data() + had, static_cast<std::streamsize>(chunk));
            text.resize(had + static_cast<std::size_t>(stream.gcount()));
        }
        // A read that failed half-way would leave a silently shortened script.
        if (stream.bad()) {
            context.includeTexts.erase(entry);
            throw Errors::LoadError("Could not open file \"%s\"", name);
        }
    }
    return &entry->second;
}

// Keeps the included file on the chain of open files while it is read; refuses a chain that
// is too long or comes back to a file already open.
class OpenFileGuard {
public:
    OpenFileGuard(ParseContext& context, const std::string& name) : context(context) {
        const Errors::ScriptLoaderError tooDeep("Error : include nesting too deep [" + name + "]");
        if (context.openFiles.size() > ParseContext::maxIncludeDepth)
            throw tooDeep;
        const std::optional<fs::path>& found = identityOf(context, name);
        if (!found)
            return; // opening it reports the missing file
        const fs::path& identity = *found;
        const auto& open = context.openFiles;
        if (std::find(open.begin(), open.end(), identity) != open.end())
            throw tooDeep;
        context.openFiles.push_back(identity);
        pushed = true;
    }
    ~OpenFileGuard() {
        if (pushed)
            context.openFiles.pop_back();
    }
    OpenFileGuard(const OpenFileGuard&) = delete;
    OpenFileGuard& operator=(const OpenFileGuard&) = delete;

private:
    ParseContext& context;
    bool pushed = false;
};

} // namespace

std::unique_ptr<TypeDescriptor> IncludeType::clone() const {
    return std::make_unique<IncludeType>();
}

void IncludeType::parseStatement(ParseContext& context, ContainerNode& container,
                                 Element& statement) const {
    Element* nameElement = statement.nextChild();
    if (!nameElement)
        throw Errors::ScriptLoaderError("Error : no data in definition for include directive.");
    if (!nameElement->isWord()) {
        Errors::ScriptLoaderError error(
            "Error : Corrupt dataformat for definition for include directive");
        error.placeAt(nameElement->getPlace());
        throw error;
    }
    const std::string name = nameElement->getText();
    ScriptLexer lexer;
    std::unique_ptr<Element> root;
    // Keeps the file on the chain of open files while its statements are read.
    std::optional<OpenFileGuard> guard;
    // Errors about the file itself (missing, unreadable, a cycle, too many) belong to the name
    // that named it.
    Errors::placingErrors(nameElement->getPlace(), [&] {
        if (++context.includes > ParseContext::maxIncludes)
            throw Errors::ScriptLoaderError("Error : too many includes [" + name + "]");
        guard.emplace(context, name);
        const std::string* text = textOf(context, name);
        root = text ? lexer.parseText(name, *text) : lexer.load(name);
        // The lexer's cause stands in the included file; the message names the file.
        const SourcePlace cause = lexer.firstErrorPlace();
        if (!lexer.popFirstError().empty()) {
            Errors::ScriptLoaderError error("Error : lexer error in include file ( " + name + ".");
            error.placeAt(cause);
            throw error;
        }
        context.scriptBytes += lexer.bytesRead();
        if (context.scriptBytes > ParseContext::maxTotalScriptBytes)
            throw Errors::ScriptLoaderError("Error : included scripts too large in total [" + name +
                                            "]");
    });
    for (DroppedEscape& escape : lexer.takeDroppedEscapes())
        LoadNotes::keep(context.notes.droppedEscapes, std::move(escape));
    BlockType::readStatements(context, container, *root);
    // After the file's own types are known: a definition swallowed here may use them.
    noteRestOfStatement(context, container, statement, name, "include");
}

void IncludeType::parseValue(ParseContext&, ContainerNode&, Element*,
                             const std::string& name) const {
    // Only reachable when include is named as the element type of an array or list.
    throwDataFormat(name);
}
