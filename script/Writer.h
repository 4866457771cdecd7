#pragma once

#include "DataNode.h"

#include <memory>
#include <ostream>
#include <string>

class ContainerNode;

// Prints one kind of node back as script text.
class Writer {
public:
    explicit Writer(std::string kindName) : kindName(std::move(kindName)) {}
    virtual ~Writer() = default;

    const std::string& getKindName() const { return kindName; }
    // `depth` is the number of tabs that the node's own children get at the start of a line.
    virtual void write(const DataNode& node, std::ostream& out, int depth) const = 0;

private:
    std::string kindName;
};

void indent(std::ostream& out, int tabs);

// Registers the writers of every kind, in their fixed order, into the root of a parse.
void registerBuiltinWriters(ContainerNode& root);

// Prints `node` with the writer that its declared type names in the tables of its container and
// the container's ancestors, or with the writer of its kind when no table has one. A node
// without a parent is printed as the top of the print.
void writeNode(const DataNode& node, std::ostream& out, int depth);
