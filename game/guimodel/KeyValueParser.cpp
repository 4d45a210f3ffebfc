#include "game/guimodel/KeyValueParser.h"

#include "engine/base/QelFileServices.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

namespace {

constexpr char kKeyEnd = ':';
constexpr char kEntryEnd = ';';
constexpr char kValueEnd = ',';
constexpr char kQuote = '`';
constexpr char kRawMark = '$';
constexpr char kOpenGroup = '(';
constexpr char kCloseGroup = ')';

// The documentation file opens with a title and column heads.
constexpr int kDocumentationHeaderLines = 3;
// A documentation line names a context, a key and at least one word of text.
constexpr size_t kDocumentationFields = 3;

// A value as it is stored: trimmed, then every back-quote dropped except the
// second of a doubled pair, which stays as a plain back-quote.
std::string CleanValue(std::string_view raw)
{
    const std::string trimmed = TrimWhitespace(raw);
    std::string value;
    value.reserve(trimmed.size());
    for (size_t i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] != kQuote) {
            value += trimmed[i];
        } else if (i + 1 < trimmed.size() && trimmed[i + 1] == kQuote) {
            value += kQuote;
            ++i;
        }
    }
    return value;
}

// Reads a style string entry by entry. The parenthesis depth and the quote
// flag run on across entries: an open parenthesis in one entry keeps the
// commas of the next from splitting, as style strings always behaved.
class EntryScanner {
public:
    explicit EntryScanner(const std::string& text) : text_(text) {}

    // The next entry; false when the text is used up.
    bool Next(KeyValueParser::Entry& entry)
    {
        if (position_ >= text_.size())
            return false;
        const size_t keyEnd = text_.find(kKeyEnd, position_);
        if (keyEnd == std::string::npos)
            return TakeEntryWithoutValue(entry);
        bool raw = false;
        entry.assign(1, Key(text_.substr(position_, keyEnd - position_), raw));
        ScanValues(keyEnd + 1, raw, entry);
        return true;
    }

private:
    // The key trimmed; a leading '$' is dropped and makes the entry raw.
    static std::string Key(std::string_view written, bool& raw)
    {
        std::string key = TrimWhitespace(written);
        raw = !key.empty() && key.front() == kRawMark;
        if (raw)
            key.erase(0, 1);
        return key;
    }

    // Text after the last ';' without a ':' has no value to read: it becomes
    // a key with the one value "", and a blank one adds nothing.
    bool TakeEntryWithoutValue(KeyValueParser::Entry& entry)
    {
        bool raw = false;
        std::string key = Key(std::string_view(text_).substr(position_), raw);
        position_ = text_.size();
        if (key.empty())
            return false;
        entry = {std::move(key), ""};
        return true;
    }

    // Appends the entry's values from first on and moves past the entry.
    void ScanValues(size_t first, bool raw, KeyValueParser::Entry& entry)
    {
        size_t valueStart = first;
        for (size_t i = first;; ++i) {
            if (i >= text_.size()) {
                entry.push_back(Value(valueStart, i));
                position_ = text_.size();
                return;
            }
            const char c = text_[i];
            if (!raw && c == kOpenGroup)
                ++depth_;
            else if (!raw && c == kCloseGroup)
                --depth_;
            if (c == kQuote) {
                quoted_ = !quoted_;
                continue;
            }
            if (quoted_)
                continue;
            if (c == kEntryEnd) {
                entry.push_back(Value(valueStart, i));
                position_ = i + 1;
                return;
            }
            if (!raw && c == kValueEnd && depth_ < 1) {
                entry.push_back(Value(valueStart, i));
                valueStart = i + 1;
            }
        }
    }

    std::string Value(size_t begin, size_t end) const
    {
        return CleanValue(std::string_view(text_).substr(begin, end - begin));
    }

    const std::string& text_;
    size_t position_ = 0;  // start of the next entry
    int depth_ = 0;        // parentheses open; may fall below 0
    bool quoted_ = false;  // inside back-quotes
};

}  // namespace

KeyValueParser& KeyValueParser::Global()
{
    static KeyValueParser parser;
    return parser;
}

void KeyValueParser::Load()
{
    Global().LoadDocumentation("data", "widget_stylestring_documentation");
}

void KeyValueParser::Parse(const std::string& text)
{
    entryCursor = 0;
    entries.assign(1, Entry{kPlaceholder, kPlaceholder});
    EntryScanner scanner(text);
    Entry entry;
    while (scanner.Next(entry))
        entries.push_back(std::move(entry));
}

void KeyValueParser::ClearEntries()
{
    entries.clear();
}

std::string KeyValueParser::Get(const std::string& context, const std::string& key, const std::string& documentation)
{
    AddDoc(context, key, documentation);
    for (const Entry& entry : entries) {
        if (entry.front() == key) {
            currentValues = entry;
            return entry[1];
        }
    }
    currentValues.clear();
    return {};
}

void KeyValueParser::GetIntRange(int32_t& min, int32_t& max) const
{
    if (currentValues.size() < 2) {
        min = max = 0;
        return;
    }
    min = LeadingInt(currentValues[1]);
    max = currentValues.size() > 2 ? LeadingInt(currentValues[2]) : min;
    if (max < min)
        std::swap(min, max);
}

std::string KeyValueParser::NextEntry()
{
    if (entryCursor >= entries.size())
        return {};
    currentValues = entries[entryCursor++];
    return currentValues.front();
}

void KeyValueParser::AddDoc(const std::string& context, const std::string& key, const std::string& text)
{
    Documentation& record = catalogue[context + key];
    if (text.size() < record.text.size())
        return;
    record = {context, key, text};
    documentationChanged = true;
}

void KeyValueParser::LoadDocumentation(const std::string& folder, const std::string& name)
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("KeyValueParser::Load");
    if (!file->Open(folder, name, "txt", true, false, false, false))
        return;
    std::string line;
    for (int skipped = 0; skipped < kDocumentationHeaderLines && file->ReadLine(line); ++skipped) {
    }
    while (file->ReadLine(line))
        AddDocumentationLine(line);
    file->Close();
}

// "context key text of several words": the line end is already gone, so the
// text keeps every character of its last word.
void KeyValueParser::AddDocumentationLine(const std::string& line)
{
    std::vector<std::string> tokens;
    Tokenize(line, tokens, " ");
    if (tokens.size() < kDocumentationFields)
        return;
    std::string text = tokens[2];
    for (size_t i = 3; i < tokens.size(); ++i)
        text += ' ' + tokens[i];
    AddDoc(TrimWhitespace(tokens[0]), TrimWhitespace(tokens[1]), text);
}

void parseStyleString(KeyValueParser& parser, const std::string& text)
{
    parser.Parse(text);
}

bool IsOnWord(const std::string& value)
{
    return value == "on" || value == "yes" || value == "True" || value == "active";
}

void KeyValueParserSelfTest()
{
    static const char* const kCases[] = {
        "me:mine",
        "me:mine,yours,ours",
        "me:Listen here, man, I have, some, commas!",
        "$me:Listen here, man, I ()  (())  ) have, some, commas!;a:b",
        "me:sure `Listen here, man, ; I () ((;))  ) have, some, commas!` plus this;a:b",
    };
    KeyValueParser parser;
    for (const char* text : kCases) {
        parseStyleString(parser, text);
        const std::string result = parser.Get("test", "me", "unit test of KeyValueParser");
        QEL_ASSERT(!result.empty(), "!result.empty()");
    }
}
