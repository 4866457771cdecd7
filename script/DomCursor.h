#pragma once

#include "LoadNotes.h"

#include <cstddef>
#include <memory>
#include <string>

class ContainerNode;
class DataNode;

// The one way the engine reads a loaded script: walks branches of the tree and reads values of
// four kinds, checking each value's kind. Owns the tree; the tree goes when the cursor goes. Its
// errors stand at the node they concern: the one selected, or else the branch being read.
class DomCursor {
public:
    explicit DomCursor(std::unique_ptr<ContainerNode> root);
    ~DomCursor();
    DomCursor(const DomCursor&) = delete;
    DomCursor& operator=(const DomCursor&) = delete;

    std::size_t count() const;
    void selectNext();
    void select(const std::string& name);
    // Throws Errors::DOMError "No branch found in DOM structure." unless a container is selected.
    ContainerNode* enter();
    // Back to the branch's parent; stays at the top block, which has none.
    void leave();
    // The selected node's declared type; empty when nothing is selected.
    std::string typeName() const;

    // Each throws Errors::DOMError "No data found." unless the selected node is of that kind.
    std::string getString() const;
    int getInt() const;
    double getFloat() const;
    bool getBool() const;

    ContainerNode* getRoot() const { return root.get(); }
    ContainerNode* getBranch() const { return branch; }
    DataNode* getCurrent() const { return current; }

    // What the load noticed that changes nothing it loaded.
    const LoadNotes& getNotes() const { return notes; }
    void setNotes(LoadNotes loadNotes) { notes = std::move(loadNotes); }

private:
    template <typename Node>
    const Node& selected() const;
    [[noreturn]] void fail(const char* message) const;

    std::unique_ptr<ContainerNode> root;
    ContainerNode* branch;
    DataNode* current = nullptr;
    LoadNotes notes;
};
