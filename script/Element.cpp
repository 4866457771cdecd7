#include "Element.h"

#include <utility>

Element::Element(std::string text, bool word, bool block, char opener, char terminator,
                 SourcePlace place)
    : text(std::move(text)), word(word), block(block), opener(opener), terminator(terminator),
      place(std::move(place)) {}

std::unique_ptr<Element> Element::makeWord(std::string text, SourcePlace place) {
    return std::unique_ptr<Element>(
        new Element(std::move(text), true, false, ' ', ' ', std::move(place)));
}

std::unique_ptr<Element> Element::makeMarker(char opener, char terminator, SourcePlace place) {
    return std::unique_ptr<Element>(
        new Element({}, false, false, opener, terminator, std::move(place)));
}

std::unique_ptr<Element> Element::makeBlock(char opener, char terminator, SourcePlace place) {
    return std::unique_ptr<Element>(
        new Element({}, false, true, opener, terminator, std::move(place)));
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
