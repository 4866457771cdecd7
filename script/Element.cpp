#include "Element.h"

#include <utility>

Element::Element(std::string text, bool word, bool block, char opener, char terminator)
    : text(std::move(text)), word(word), block(block), opener(opener), terminator(terminator) {}

std::unique_ptr<Element> Element::makeWord(std::string text) {
    return std::unique_ptr<Element>(new Element(std::move(text), true, false, ' ', ' '));
}

std::unique_ptr<Element> Element::makeMarker(char opener, char terminator) {
    return std::unique_ptr<Element>(new Element({}, false, false, opener, terminator));
}

std::unique_ptr<Element> Element::makeBlock(char opener, char terminator) {
    return std::unique_ptr<Element>(new Element({}, false, true, opener, terminator));
}

Element* Element::nextChild() {
    if (word || cursor >= children.size())
        return nullptr;
    return children[cursor++].get();
}

void Element::addChild(std::unique_ptr<Element> child) {
    children.push_back(std::move(child));
    cursor = 0;
}
