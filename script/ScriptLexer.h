#pragma once

#include "Element.h"
#include "FileLoader.h"
#include "LoadNotes.h"

#include <cstdint>
#include <deque>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Turns script text into a tree of words, bracket groups and statements. It never stops on bad
// text: it collects messages (with line and column) and always returns a tree. Every element
// records where it begins; every message, where its cause stands.
class ScriptLexer : public FileLoader<std::unique_ptr<Element>> {
public:
    // Brackets open at once beyond this are refused with a message, so that nothing that walks
    // the tree recurses deeper than this bound.
    static constexpr int maxNesting = 256;
    // Script text beyond this is refused with a message: a demo script is a few kilobytes, and
    // the tree costs many times the text it comes from.
    static constexpr std::uintmax_t maxScriptBytes = std::uintmax_t{8} << 20;

    std::unique_ptr<Element> lex(std::istream& stream);
    std::unique_ptr<Element> parse(const std::string& fileName, std::istream& stream);
    // The same for text already in memory: an include of a file the load has read before.
    std::unique_ptr<Element> parseText(const std::string& fileName, std::string_view text);
    std::string popFirstError();
    // Where the cause of the message that popFirstError would give stands; nowhere when there
    // is no message.
    SourcePlace firstErrorPlace() const;
    // Escapes inside double quotes that the text dropped, in the order they stand.
    std::vector<DroppedEscape> takeDroppedEscapes() { return std::move(droppedEscapes); }

    const std::string& getFileName() const { return fileName; }
    // The bytes of text the last run read.
    std::uintmax_t bytesRead() const { return textBytes; }

protected:
    std::unique_ptr<Element> read(const std::string& fileName, std::istream& stream) override {
        return parse(fileName, stream);
    }

private:
    enum class State { Normal, Quoted, Comment };
    struct Problem {
        std::string message;
        SourcePlace place;
    };

    void reset();
    // False once the text has passed the size bound.
    bool consume(const char* text, std::size_t size);
    void handle(char c);
    void handleNormal(char c);
    void handleWordCharacter(char c);
    void handleQuoted(char c);
    void handleComment(char c);
    void flushWord();
    void openBracket(char c);
    void closeBracket(char c);
    void closeStatement();
    std::unique_ptr<Element> finish();
    void addError(std::string message, SourcePlace place);
    // The character being read. Columns here start again at 1 with the first character after a
    // line feed, whatever the messages say.
    SourcePlace here() const;
    void startToken();

    std::string fileName;
    std::shared_ptr<const std::string> placeFile;
    std::uintmax_t textBytes = 0;
    std::deque<Problem> errors;
    std::vector<DroppedEscape> droppedEscapes;

    std::vector<std::unique_ptr<Element>> stack;
    std::string token;
    // Where the token being collected begins; set by startToken.
    SourcePlace tokenPlace;
    SourcePlace escapePlace;
    State state = State::Normal;
    char quote = 0;
    bool slashPending = false;
    bool lineComment = false;
    bool starPending = false;
    bool escapePending = false;
    int line = 1;
    int column = 0;
    int openMarkers = 0;
    int skippedDepth = 0;
    bool nestingReported = false;
};
