// Mission descriptions in the small YAML form: any text gives a tree or a
// clean failure with an empty document; the tree is then read as the mission
// chooser reads it, every node and list item visited.

#include "fuzz/support/FuzzProcess.h"
#include "helper/TinyYaml.h"

#include <sstream>
#include <string>

namespace {

// Nodes below nodes: the walk visits each once and touches what it holds.
size_t Visit(const TINY_YAML::NodeMap& map)
{
    size_t seen = 0;
    for (const auto& [name, node] : map) {
        seen += name.size();
        if (const std::string* text = node->Text())
            seen += text->size();
        if (const TINY_YAML::Node::List* items = node->Items())
            for (const std::string& item : *items)
                seen += item.size();
        seen += Visit(node->children);
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    TINY_YAML::NodeMap document;
    if (!TINY_YAML::ParseStream(document, input)) {
        QEL_FUZZ_CHECK(document.Empty(), "a failed parse left nodes in the document");
        return 0;
    }
    for (const char* key : {"Category", "Category Priority", "Visible Mission Name", "Description", "Keywords"})
        if (TINY_YAML::NodePtr node = document.Find(key))
            Visit(node->children);
    Visit(document);
    return 0;
}
