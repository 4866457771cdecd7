#pragma once

#include "SourcePlace.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One node of the lexer's tree: a word, a block (bracket group, statement or root), or an open
// marker that lives only on the lexer's stack while a bracket is open.
class Element {
public:
    // `place`: where the word, or the block's opening bracket, begins.
    static std::unique_ptr<Element> makeWord(std::string text, SourcePlace place);
    static std::unique_ptr<Element> makeMarker(char opener, char terminator, SourcePlace place);
    static std::unique_ptr<Element> makeBlock(char opener, char terminator, SourcePlace place);

    bool isWord() const { return word; }
    bool isBlock() const { return block; }
    bool isMarker() const { return !word && !block; }
    std::string getText() const { return text; }
    const std::string& textRef() const { return text; }
    char getOpener() const { return opener; }
    char getTerminator() const { return terminator; }
    const SourcePlace& getPlace() const { return place; }

    // Single front-to-back pass over a block's children; nothing at the end, and always
    // nothing for a word.
    Element* nextChild();
    void addChild(std::unique_ptr<Element> child);
    const std::vector<std::unique_ptr<Element>>& getChildren() const { return children; }

private:
    Element(std::string text, bool word, bool block, char opener, char terminator,
            SourcePlace place);

    std::string text;
    bool word;
    bool block;
    char opener;
    char terminator;
    std::vector<std::unique_ptr<Element>> children;
    std::size_t cursor = 0;
    SourcePlace place;
};
