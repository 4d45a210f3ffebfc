#pragma once
// A reader for the small, line-oriented subset of YAML that mission
// descriptions are written in: mappings by indentation, "key: value" lines and
// "- item" lists, one line at a time. There is no flow syntax, no multi-line
// value and no unquoting: quotes stay part of a value.
//
// The files come with missions, so they are untrusted: any text gives either a
// tree or a clean failure, reported (on the standard error stream, unless the
// caller names another) with the line it happened at, and the document is
// then empty.

#include <cstddef>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace TINY_YAML {

struct Node;
using NodePtr = std::shared_ptr<Node>;

// Nodes by name; a name appears at most once in one map.
class NodeMap {
public:
    using Map = std::unordered_map<std::string, NodePtr>;

    // Adds the node under its name; false, and nothing changes, when the name
    // is already there.
    bool Add(NodePtr node);
    // The node of that name, or null.
    NodePtr Find(const std::string& name) const;
    size_t Size() const { return nodes.size(); }
    bool Empty() const { return nodes.empty(); }
    // Releases the nodes (each is freed when nothing else holds it).
    void Clear() { nodes.clear(); }

    Map::const_iterator begin() const { return nodes.begin(); }
    Map::const_iterator end() const { return nodes.end(); }

private:
    Map nodes;
};

struct Node {
    using List = std::vector<std::string>;

    explicit Node(std::string name) : name(std::move(name)) {}

    // Adds the node as a child unless a child of that name exists already.
    bool AddChild(NodePtr child) { return children.Add(std::move(child)); }

    // The value of a "key: value" line, or null.
    const std::string* Text() const { return std::get_if<std::string>(&value); }
    // The items of the "- item" lines below this node, or null.
    const List* Items() const { return std::get_if<List>(&value); }

    std::string name;
    std::variant<std::monostate, std::string, List> value;
    NodeMap children;
};

// Longest line the reader accepts, line end excluded. Descriptions are short
// single lines; the bound keeps a corrupt file from growing one without end.
inline constexpr size_t kMaxLineLength = 511;

// Empties the document and reads the file into it. False when the file cannot
// be opened or read; the reason, and a line naming the file, are then written
// to the report stream and the document is empty.
bool ParseFile(NodeMap& document, const std::string& path, std::ostream& report = std::cerr);

// The same for text already open as a stream.
bool ParseStream(NodeMap& document, std::istream& input, std::ostream& report = std::cerr);

}  // namespace TINY_YAML
