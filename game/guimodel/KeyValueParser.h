#pragma once
// Style strings: the compact text in which mission scripts, console widgets,
// torpedo definitions and particle events pass named settings. Entries are
// separated by ';', each a key, ':' and one or more values separated by ',':
//
//     text:Hello, world;color:#ff0000;$label:a,b;c   (the last entry is raw)
//
// - A key written with a leading '$' makes its entry raw: one value running
//   to the next unquoted ';', commas and parentheses included.
// - In other entries a ',' inside parentheses does not split: «b(c,d)» stays
//   one value. The parenthesis depth runs on across entries, as it always has.
// - Back-quotes protect ';' and ',' and vanish from the value; a doubled
//   back-quote leaves one.
// - Only the first ':' of an entry separates key and value («a:b:c» is the key
//   «a» with the value «b:c»); text after the last ';' that holds no ':' is a
//   key with the one value "".
//
// Every parse starts the entries with the placeholder ["empty", "empty"], so
// a lookup of the key "empty" answers "empty" unless the text has its own.
//
// Each lookup names the context that asks (a script function or widget) and a
// line of documentation for the key; the parser keeps the longest text seen
// for each context and key in its documentation catalogue. The global parser
// starts with the catalogue of data/widget_stylestring_documentation.txt.
//
// Main thread only. The global parser is shared by the retained-GUI script
// functions and the 3D particle events: each parses and reads its own style
// before the next begins. Others make short-lived parsers of their own.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class KeyValueParser {
public:
    // One documented key: the context that asked for it and the longest text.
    struct Documentation {
        std::string context;
        std::string key;
        std::string text;
    };
    using Entry = std::vector<std::string>;  // the key, then at least one value

    // The key and value that begin every parse's entries.
    static constexpr const char* kPlaceholder = "empty";

    // The parser the retained-GUI script functions and particle events share.
    static KeyValueParser& Global();

    // Reads data/widget_stylestring_documentation.txt into the global parser's
    // catalogue. A missing file leaves it as it is; nothing is reported.
    static void Load();

    // Replaces the entries with those of the text and restarts the walk.
    void Parse(const std::string& text);
    void ClearEntries();

    // Records the documentation, then answers the first value of the first
    // entry whose key equals the key exactly, and makes that entry the current
    // values. No such entry: "" and no current values; callers take "" as a
    // request for their own default.
    std::string Get(const std::string& context, const std::string& key, const std::string& documentation);

    // Min and max from the current values: none gives 0 and 0, one value gives
    // it twice, two or more give the first two in ascending order. Each value
    // is read as atoi would (LeadingInt).
    void GetIntRange(int32_t& min, int32_t& max) const;

    // The key of the next entry of the walk, which becomes the current values;
    // "" past the last. A walk from a fresh parse yields "empty" first.
    std::string NextEntry();

    // Stores the text for context + key when it is at least as long as the
    // one held, and then raises the changed flag.
    void AddDoc(const std::string& context, const std::string& key, const std::string& text);

    const std::vector<Entry>& Entries() const { return entries; }
    // The whole entry (key first) of the last lookup or walk step.
    const Entry& CurrentValues() const { return currentValues; }
    // Keyed by context + key, no separator.
    const std::map<std::string, Documentation>& Catalogue() const { return catalogue; }
    bool DocumentationChanged() const { return documentationChanged; }

private:
    void LoadDocumentation(const std::string& folder, const std::string& name);
    void AddDocumentationLine(const std::string& line);

    std::vector<Entry> entries;
    std::map<std::string, Documentation> catalogue;
    Entry currentValues;
    bool documentationChanged = false;
    size_t entryCursor = 0;  // next entry of the walk
};

// The parse under its long-standing name: replaces the parser's entries with
// those of the text.
void parseStyleString(KeyValueParser& parser, const std::string& text);

// Whether a style value switches a flag on: exactly "on", "yes", "True" or
// "active" (so "true", "ON" and "1" do not).
bool IsOnWord(const std::string& value);

// The start screen's self-test of the parser: five style strings, each of
// which must give the key "me" a value (commas, parentheses, raw entries and
// back-quotes among them). A failure is an assertion.
void KeyValueParserSelfTest();
