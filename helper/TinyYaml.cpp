#include "helper/TinyYaml.h"

#include <fstream>
#include <iostream>
#include <string_view>

namespace TINY_YAML {

bool NodeMap::Add(NodePtr node)
{
    const std::string name = node->name;
    return nodes.emplace(name, std::move(node)).second;
}

NodePtr NodeMap::Find(const std::string& name) const
{
    const auto found = nodes.find(name);
    return found == nodes.end() ? nullptr : found->second;
}

namespace {

constexpr size_t npos = std::string_view::npos;

// Characters that cannot begin a key, and those that cannot end a line's text.
constexpr const char* kBeforeKey = " -#\t\f\v\n\r";
constexpr const char* kAfterText = " #\t\f\v\n\r";
// Characters dropped from the front of a value.
constexpr const char* kBeforeValue = " \t\f\v\n\r";

enum class LineRead { Line, TooLong, End };

// Reads one line without its line end (LF or CRLF), refusing to hold more than
// a line of the longest accepted length.
LineRead ReadLine(std::istream& input, std::string& line)
{
    line.clear();
    bool readAny = false;
    char c;
    while (input.get(c)) {
        readAny = true;
        if (c == '\n')
            break;
        if (line.size() > kMaxLineLength)  // room for one CR past the limit
            return LineRead::TooLong;
        line.push_back(c);
    }
    if (!readAny)
        return LineRead::End;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.size() > kMaxLineLength ? LineRead::TooLong : LineRead::Line;
}

// Where a line's first quoted span, comment and dash are.
struct LineMarks {
    size_t openQuote = npos;
    size_t closeQuote = npos;
    size_t comment = npos;  // the first '#' outside the quoted span
    size_t dash = npos;     // the first '-' outside it, inside a comment too
};

LineMarks ScanLine(std::string_view line)
{
    LineMarks marks;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool escaped = i > 0 && line[i - 1] == '\\';
        if (marks.openQuote != npos && marks.closeQuote == npos) {
            if (c == line[marks.openQuote] && !escaped)
                marks.closeQuote = i;
            continue;
        }
        if ((c == '"' || c == '\'') && !escaped && marks.openQuote == npos && marks.comment == npos) {
            marks.openQuote = i;
            continue;
        }
        if (c == '#' && marks.comment == npos)
            marks.comment = i;
        if (c == '-' && marks.dash == npos)
            marks.dash = i;
    }
    return marks;
}

// What one line holds once its comment is cut off.
struct LineParts {
    std::string_view text;
    size_t keyStart;
    size_t colon;  // npos without one
    size_t last;   // the last character of the text proper
    size_t dash;   // npos without one
    std::string key;
};

// One parse: the indentation stack that new lines attach to. Each method
// returns false when the document is malformed at the current line, after
// writing any message that says more than the line number.
class LineParser {
public:
    LineParser(NodeMap& document, std::ostream& report) : document(document), report(report) {}

    bool ParseLine(std::string_view line);

private:
    struct Open {
        NodePtr node;
        size_t column;
        bool list;  // "- " lines have been seen directly below it
    };

    bool ParseListLine(const LineParts& parts);
    bool ParseEntry(const LineParts& parts);
    bool AddToTop(const NodePtr& node);
    void PopAtOrRightOf(size_t column);
    bool ReportDash(const LineParts& parts);

    NodeMap& document;
    std::ostream& report;
    std::vector<Open> stack;
};

bool LineParser::ParseLine(std::string_view line)
{
    if (line.empty())
        return true;
    const LineMarks marks = ScanLine(line);
    if (marks.openQuote != npos && marks.closeQuote == npos) {
        report << "ERROR: unclosed quote found. Please close the quote and reparse.\n";
        return false;
    }
    LineParts parts;
    parts.text = line.substr(0, marks.comment);
    parts.keyStart = parts.text.find_first_not_of(kBeforeKey);
    if (parts.keyStart == npos)
        return true;
    parts.colon = parts.text.find(':');
    parts.last = parts.text.find_last_not_of(kAfterText);
    parts.dash = marks.dash;
    if (parts.colon == npos && parts.dash == npos)
        return false;
    const size_t keyEnd = parts.colon != npos ? parts.colon : parts.last + 1;
    parts.key = parts.text.substr(parts.keyStart, keyEnd - parts.keyStart);

    PopAtOrRightOf(parts.keyStart);
    if (parts.dash != npos)
        return ParseListLine(parts);
    return ParseEntry(parts);
}

// "- item" appends the item to the list of the node above; "- key: ..." opens
// a new numbered child of that node and reads the rest of the line into it.
bool LineParser::ParseListLine(const LineParts& parts)
{
    if (stack.empty() || (!stack.back().list && !stack.back().node->children.Empty()))
        return ReportDash(parts);
    stack.back().list = true;
    if (parts.colon == npos) {
        Node& owner = *stack.back().node;
        if (!std::holds_alternative<Node::List>(owner.value))
            owner.value = Node::List{};
        std::get<Node::List>(owner.value).push_back(parts.key);
        return true;
    }
    PopAtOrRightOf(parts.dash);
    // A dash at or left of every open mapping leaves no list to put the item in.
    if (stack.empty())
        return ReportDash(parts);
    Node& owner = *stack.back().node;
    auto item = std::make_shared<Node>(std::to_string(owner.children.Size()));
    if (!owner.AddChild(item))
        return false;
    stack.push_back({item, parts.dash, true});
    return ParseEntry(parts);
}

// "key: value" adds a leaf; "key:" opens a mapping that the following, more
// indented lines go into.
bool LineParser::ParseEntry(const LineParts& parts)
{
    if (parts.colon < parts.last) {
        std::string_view value = parts.text.substr(parts.colon + 1, parts.last - parts.colon);
        value.remove_prefix(value.find_first_not_of(kBeforeValue));
        const auto node = std::make_shared<Node>(parts.key);
        node->value = std::string(value);
        if (stack.empty()) {
            document.Add(node);  // a repeated top-level key keeps its first value
            return true;
        }
        return AddToTop(node);
    }
    const auto node = std::make_shared<Node>(parts.key);
    if (stack.empty() ? !document.Add(node) : !AddToTop(node))
        return false;
    stack.push_back({node, parts.keyStart, false});
    return true;
}

bool LineParser::AddToTop(const NodePtr& node)
{
    return stack.back().node->AddChild(node);
}

void LineParser::PopAtOrRightOf(size_t column)
{
    while (!stack.empty() && stack.back().column >= column)
        stack.pop_back();
}

bool LineParser::ReportDash(const LineParts& parts)
{
    report << "ERROR: Variable " << parts.key << " contains a '-' at column " << parts.dash
              << ". A Dash must not exist there.\n";
    return false;
}

bool Fail(NodeMap& document, int lineNumber, std::ostream& report)
{
    report << "Yaml Parser: Error: Failed to parse file, invalid yaml syntax at line: "
              << lineNumber << '\n';
    document.Clear();
    return false;
}

}  // namespace

bool ParseStream(NodeMap& document, std::istream& input, std::ostream& report)
{
    document.Clear();
    LineParser parser(document, report);
    std::string line;
    for (int lineNumber = 1;; ++lineNumber) {
        switch (ReadLine(input, line)) {
        case LineRead::End:
            if (input.bad()) {
                report << "ERROR: read error at line " << lineNumber << ".\n";
                return Fail(document, lineNumber, report);
            }
            return true;
        case LineRead::TooLong:
            report << "ERROR: line longer than " << kMaxLineLength << " characters.\n";
            return Fail(document, lineNumber, report);
        case LineRead::Line:
            if (!parser.ParseLine(line))
                return Fail(document, lineNumber, report);
            break;
        }
    }
}

bool ParseFile(NodeMap& document, const std::string& path, std::ostream& report)
{
    document.Clear();
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        report << path << " cannot be opened\n";
        return false;
    }
    // The reader's own messages give the line; this one gives the file.
    if (!ParseStream(document, file, report)) {
        report << path << " was not read: the error above gives its line\n";
        return false;
    }
    return true;
}

}  // namespace TINY_YAML
