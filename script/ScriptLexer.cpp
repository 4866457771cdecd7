#include "ScriptLexer.h"

#include "LoadError.h"

#include <array>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

enum class CharClass : unsigned char { Word, Opener, Terminator, Separator };

constexpr std::array<CharClass, 256> makeClassTable() {
    std::array<CharClass, 256> table{};
    for (auto& entry : table)
        entry = CharClass::Word;
    for (unsigned char c : {'(', '<', '[', '{'})
        table[c] = CharClass::Opener;
    for (unsigned char c : {')', ';', '>', ']', '}'})
        table[c] = CharClass::Terminator;
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r', ','})
        table[c] = CharClass::Separator;
    return table;
}

constexpr std::array<CharClass, 256> charClasses = makeClassTable();

CharClass classOf(char c) {
    return charClasses[static_cast<unsigned char>(c)];
}

char terminatorFor(char opener) {
    switch (opener) {
    case '(': return ')';
    case '<': return '>';
    case '[': return ']';
    default: return '}';
    }
}

char openerFor(char terminator) {
    switch (terminator) {
    case ')': return '(';
    case '>': return '<';
    case ']': return '[';
    default: return '{';
    }
}

// Escapes inside double quotes; 0 means "append nothing".
char translateEscape(char c) {
    switch (c) {
    case '"': return '"';
    case '\'': return '\'';
    case '?': return '?';
    case '\\': return '\\';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return 0;
    }
}

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

} // namespace

std::unique_ptr<Element> ScriptLexer::parse(const std::string& name, std::istream& stream) {
    fileName = name;
    return lex(stream);
}

std::unique_ptr<Element> ScriptLexer::parseText(const std::string& name, std::string_view text) {
    fileName = name;
    reset();
    consume(text.data(), text.size());
    return finish();
}

bool ScriptLexer::consume(const char* text, std::size_t size) {
    textBytes += size;
    if (textBytes > maxScriptBytes) {
        addError(format("Error : script larger than %d MiB", int(maxScriptBytes >> 20)), here());
        return false;
    }
    for (std::size_t i = 0; i < size; ++i)
        handle(text[i]);
    return true;
}

std::string ScriptLexer::popFirstError() {
    if (errors.empty())
        return {};
    std::string first = std::move(errors.front().message);
    errors.pop_front();
    return first;
}

SourcePlace ScriptLexer::firstErrorPlace() const {
    return errors.empty() ? SourcePlace{} : errors.front().place;
}

std::unique_ptr<Element> ScriptLexer::lex(std::istream& stream) {
    reset();
    // On the heap: lexers of included files run nested inside the parser. Not cleared: only
    // what a read fills is looked at, and an include of a small file should not pay for 64 KB.
    constexpr std::size_t bufferSize = 1 << 16;
    const auto buffer = std::make_unique_for_overwrite<char[]>(bufferSize);
    while (stream) {
        stream.read(buffer.get(), static_cast<std::streamsize>(bufferSize));
        if (!consume(buffer.get(), static_cast<std::size_t>(stream.gcount())))
            break;
    }
    // A read that failed half-way would leave a silently shortened script.
    if (stream.bad())
        throw Errors::LoadError("Could not open file \"%s\"", fileName);
    return finish();
}

void ScriptLexer::reset() {
    placeFile = std::make_shared<const std::string>(fileName);
    droppedEscapes.clear();
    stack.clear();
    token.clear();
    textBytes = 0;
    state = State::Normal;
    quote = 0;
    slashPending = lineComment = starPending = escapePending = false;
    line = 1;
    column = 0;
    openMarkers = 0;
    skippedDepth = 0;
    nestingReported = false;
}

void ScriptLexer::addError(std::string message, SourcePlace place) {
    errors.push_back({std::move(message), std::move(place)});
}

SourcePlace ScriptLexer::here() const {
    // The line feed itself counts as the first column of the line it begins.
    return {placeFile, line, line == 1 ? column : column - 1};
}

void ScriptLexer::startToken() {
    if (token.empty())
        tokenPlace = here();
}

void ScriptLexer::handle(char c) {
    if (c == '\n') {
        ++line;
        column = 0;
    }
    ++column;
    switch (state) {
    case State::Normal: handleNormal(c); break;
    case State::Quoted: handleQuoted(c); break;
    case State::Comment: handleComment(c); break;
    }
}

void ScriptLexer::handleNormal(char c) {
    const CharClass kind = classOf(c);
    if (kind == CharClass::Word) {
        handleWordCharacter(c);
        return;
    }
    slashPending = false;
    flushWord();
    if (kind == CharClass::Opener)
        openBracket(c);
    else if (c == ';')
        closeStatement();
    else if (kind == CharClass::Terminator)
        closeBracket(c);
}

void ScriptLexer::handleWordCharacter(char c) {
    if (slashPending) {
        slashPending = false;
        if (c == '*' || c == '/') {
            token.clear();
            lineComment = (c == '/');
            starPending = false;
            state = State::Comment;
            return;
        }
    } else if (c == '/') {
        flushWord();
        startToken();
        token.assign(1, '/');
        slashPending = true;
        return;
    }
    if (c == '"' || c == '\'') {
        // The token is not flushed: text right before a quote begins the quoted word.
        startToken();
        state = State::Quoted;
        quote = c;
        return;
    }
    startToken();
    token += c;
}

void ScriptLexer::handleQuoted(char c) {
    if (quote == '\'') {
        if (c == '\'') {
            stack.push_back(Element::makeWord(std::move(token), tokenPlace));
            token.clear();
            state = State::Normal;
        } else {
            token += c;
        }
        return;
    }
    if (escapePending) {
        escapePending = false;
        if (const char translated = translateEscape(c))
            token += translated;
        else
            LoadNotes::keep(droppedEscapes, DroppedEscape{escapePlace, c});
    } else if (c == '\\') {
        escapePending = true;
        escapePlace = here();
    } else if (c == '"') {
        state = State::Normal;
        flushWord();
    } else {
        token += c;
    }
}

void ScriptLexer::handleComment(char c) {
    if (lineComment) {
        if (c == '\n') {
            lineComment = false;
            starPending = false;
            state = State::Normal;
        }
        return;
    }
    if (c == '*') {
        starPending = true;
    } else if (c == '/' && starPending) {
        starPending = false;
        state = State::Normal;
    } else {
        starPending = false;
    }
}

void ScriptLexer::flushWord() {
    if (token.empty())
        return;
    stack.push_back(Element::makeWord(std::move(token), tokenPlace));
    token.clear();
}

void ScriptLexer::openBracket(char c) {
    if (openMarkers >= maxNesting) {
        // Brackets beyond the bound are skipped with their terminators; the load fails on the
        // message anyway, the tree just stays shallow.
        if (!nestingReported) {
            addError(format("Error : nesting too deep at line %d, col %d", line, column), here());
            nestingReported = true;
        }
        ++skippedDepth;
        return;
    }
    stack.push_back(Element::makeMarker(c, terminatorFor(c), here()));
    ++openMarkers;
}

void ScriptLexer::closeBracket(char c) {
    if (skippedDepth > 0) {
        --skippedDepth;
        return;
    }
    // Walk down to the innermost marker expecting c; markers expecting another terminator on
    // the way are wrong nesting and are dropped. Without any match the block takes everything.
    std::size_t begin = stack.size();
    bool matched = false;
    while (begin > 0) {
        const Element& element = *stack[begin - 1];
        if (element.isMarker()) {
            if (element.getTerminator() == c) {
                matched = true;
                break;
            }
            addError(format("Wrong block terminator %c at line %d, col %d", c, line, column),
                     here());
        }
        --begin;
    }
    const std::size_t firstContent = matched ? begin : 0;
    const std::size_t eraseFrom = matched ? begin - 1 : 0;

    // Without its opening bracket a block begins where its first element does.
    SourcePlace place = here();
    if (matched)
        place = stack[begin - 1]->getPlace();
    else if (!stack.empty())
        place = stack.front()->getPlace();
    auto block = Element::makeBlock(openerFor(c), c, std::move(place));
    for (std::size_t i = eraseFrom; i < stack.size(); ++i) {
        if (stack[i]->isMarker())
            --openMarkers;
        else if (i >= firstContent)
            block->addChild(std::move(stack[i]));
    }
    stack.resize(eraseFrom);
    stack.push_back(std::move(block));
}

void ScriptLexer::closeStatement() {
    std::size_t begin = stack.size();
    while (begin > 0) {
        const Element& element = *stack[begin - 1];
        if (element.isMarker() || (element.isBlock() && element.getTerminator() == ';'))
            break;
        --begin;
    }
    // A statement begins with its first element; an empty one at its ';'.
    auto statement =
        Element::makeBlock(' ', ';', begin < stack.size() ? stack[begin]->getPlace() : here());
    for (std::size_t i = begin; i < stack.size(); ++i)
        statement->addChild(std::move(stack[i]));
    stack.resize(begin);
    stack.push_back(std::move(statement));
}

std::unique_ptr<Element> ScriptLexer::finish() {
    token.clear();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if ((*it)->isMarker())
            addError(std::string("Currupt element found in elementstack : ") +
                         (*it)->getTerminator(),
                     (*it)->getPlace());
    }
    auto root = Element::makeBlock(' ', ' ', {placeFile, 1, 1});
    for (auto& element : stack) {
        if (!element->isMarker())
            root->addChild(std::move(element));
    }
    stack.clear();
    openMarkers = 0;
    return root;
}
