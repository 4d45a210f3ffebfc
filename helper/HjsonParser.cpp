#include "helper/Hjson.h"

#include "helper/HjsonSyntax.h"

#include <string>

namespace Hjson {

namespace {

// Why 512: real data files nest a handful of levels, while the reader, the
// writer, copies and destruction all recurse once per level; 512 keeps any
// document, however hostile, far inside a thread's stack, sanitizers included.
constexpr int kMaxNestingDepth = 512;

// Hjson reader: a recursive descent over the text that keeps the reference
// reader's decisions (quoteless values run to the end of the line, commas are
// optional, the root braces may be left out).
class Parser {
public:
    Parser(std::string_view text, const DecoderOptions& options) : text_(text), options_(options) {}

    Value ParseDocument();

private:
    // Counts one level of nesting for the lifetime of a Map or Vector parse.
    class NestingLevel {
    public:
        explicit NestingLevel(Parser& parser);
        ~NestingLevel() { --parser_.depth_; }

    private:
        Parser& parser_;
    };

    Value ParseValue();
    Value ParseMembers(bool braced);
    Value ParseVector();
    Value ParseQuoteless();
    std::string ParseKey();
    std::string ParseQuoted(bool allowMultiline);
    std::string ParseMultiline(size_t openAt);
    void ParseEscape(std::string& out);
    char32_t ParseCodePoint();
    unsigned ParseHex4();
    Value CheckNothingFollows(Value value);
    void SkipBlanksAndComments();
    void SkipIndent(size_t indent);

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Current() const { return text_[pos_]; }
    bool At(char c) const { return !AtEnd() && text_[pos_] == c; }
    bool AtText(std::string_view what) const { return text_.substr(pos_, what.size()) == what; }

    [[noreturn]] void Fail(const std::string& what) const { FailAt(pos_, what); }
    [[noreturn]] void FailAt(size_t pos, const std::string& what) const;

    std::string_view text_;
    DecoderOptions options_;
    size_t pos_ = 0;
    int depth_ = 0;
};

Parser::NestingLevel::NestingLevel(Parser& parser) : parser_(parser)
{
    if (parser_.depth_ >= kMaxNestingDepth) {
        parser_.Fail("Nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }
    ++parser_.depth_;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A character as an error message shows it: quoted when printable, else by its code.
std::string Describe(char c)
{
    static const char* const kHex = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte >= 0x7F) return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0xF];
    return c == '\'' ? std::string("\"'\"") : "'" + std::string(1, c) + "'";
}

// A document is a braced Map or Vector, or else a Map without its root braces,
// or else a single value; when neither reading works, the error of the Map
// reading is the one that explains the mistake.
Value Parser::ParseDocument()
{
    SkipBlanksAndComments();
    if (At('{') || At('[')) return CheckNothingFollows(ParseValue());
    const size_t start = pos_;
    const size_t spansBefore = options_.scalarSpans ? options_.scalarSpans->size() : 0;
    try {
        return CheckNothingFollows(ParseMembers(false));
    } catch (const syntax_error& mapError) {
        pos_ = start;
        depth_ = 0;
        if (options_.scalarSpans) options_.scalarSpans->resize(spansBefore);
        try {
            return CheckNothingFollows(ParseValue());
        } catch (const syntax_error&) {
            throw mapError;
        }
    }
}

Value Parser::ParseValue()
{
    SkipBlanksAndComments();
    if (AtEnd()) Fail("Found the end of the input where a value was expected");
    if (At('{')) return ParseMembers(true);
    if (At('[')) return ParseVector();
    const size_t begin = pos_;
    Value scalar = At('"') || At('\'') ? Value(ParseQuoted(true)) : ParseQuoteless();
    if (options_.scalarSpans) options_.scalarSpans->emplace_back(begin, pos_);
    return scalar;
}

// The members of a Map; braced says whether a '{' opens it and a '}' must close it.
Value Parser::ParseMembers(bool braced)
{
    NestingLevel level(*this);
    if (braced) ++pos_;
    Value map(Type::Map);
    SkipBlanksAndComments();
    if (braced && At('}')) {
        ++pos_;
        return map;
    }
    while (!AtEnd()) {
        const size_t keyStart = pos_;
        const std::string key = ParseKey();
        SkipBlanksAndComments();
        if (!At(':')) Fail("Expected ':' after the key '" + key + "'");
        ++pos_;
        if (options_.duplicateKeyException && static_cast<const Value&>(map)[key].defined())
            FailAt(keyStart, "Found a duplicate of the key '" + key + "'");
        // Otherwise a repeated key replaces the earlier value where it stands.
        map[key] = ParseValue();
        SkipBlanksAndComments();
        if (At(',')) {
            ++pos_;
            SkipBlanksAndComments();
        }
        if (braced && At('}')) {
            ++pos_;
            return map;
        }
    }
    if (braced) Fail("End of input while parsing an object (did you forget a closing '}'?)");
    return map;
}

Value Parser::ParseVector()
{
    NestingLevel level(*this);
    ++pos_;
    Value vector(Type::Vector);
    SkipBlanksAndComments();
    if (At(']')) {
        ++pos_;
        return vector;
    }
    while (!AtEnd()) {
        vector.push_back(ParseValue());
        SkipBlanksAndComments();
        if (At(',')) {
            ++pos_;
            SkipBlanksAndComments();
        }
        if (At(']')) {
            ++pos_;
            return vector;
        }
    }
    Fail("End of input while parsing an array (did you forget a closing ']'?)");
}

Value Parser::ParseQuoteless()
{
    if (syntax::IsPunctuator(Current())) {
        Fail("Found a punctuator character " + Describe(Current()) +
             " when expecting a quoteless string (check your syntax)");
    }
    return syntax::ReadQuoteless(text_, pos_);
}

// A key is quoted, or runs up to the ':' without blanks or punctuators inside
// (blanks, even line breaks, may stand between it and the ':').
std::string Parser::ParseKey()
{
    if (At('"') || At('\'')) return ParseQuoted(false);
    std::string name;
    size_t firstBlank = std::string::npos;
    size_t nameLengthAtBlank = 0;
    for (;; ++pos_) {
        if (AtEnd()) Fail("Found the end of the input while looking for a key name (check your syntax)");
        const char c = Current();
        if (c == ':') {
            if (name.empty()) Fail("Found ':' but no key name (for an empty key name use quotes)");
            if (firstBlank != std::string::npos && nameLengthAtBlank != name.size()) {
                FailAt(firstBlank, "Found whitespace in a key name (use quotes to include it)");
            }
            return name;
        }
        if (syntax::IsBlank(c)) {
            if (firstBlank == std::string::npos) {
                firstBlank = pos_;
                nameLengthAtBlank = name.size();
            }
        } else if (syntax::IsPunctuator(c)) {
            Fail("Found " + Describe(c) +
                 " where a key name was expected (check your syntax or use quotes if the key name "
                 "includes {}[],: or whitespace)");
        } else {
            name += c;
        }
    }
}

// A string in double or single quotes; ''' opens a multiline string where
// allowed (values, not keys).
std::string Parser::ParseQuoted(bool allowMultiline)
{
    const size_t openAt = pos_;
    const char quote = Current();
    ++pos_;
    std::string out;
    while (!AtEnd()) {
        const char c = Current();
        if (c == quote) {
            ++pos_;
            if (allowMultiline && quote == '\'' && pos_ == openAt + 2 && At('\'')) {
                ++pos_;
                return ParseMultiline(openAt);
            }
            return out;
        }
        if (c == '\n' || c == '\r') Fail("Found a line break inside a quoted string (use \\n or a ''' string)");
        ++pos_;
        if (c == '\\') {
            ParseEscape(out);
        } else {
            out += c;
        }
    }
    FailAt(openAt, "End of input inside the string that starts here");
}

// A ''' string: its lines lose as much leading blank space as the column of
// the opening quotes, and it loses the line break before the closing quotes.
std::string Parser::ParseMultiline(size_t openAt)
{
    const size_t lineStart = text_.rfind('\n', openAt);
    const size_t indent = lineStart == std::string_view::npos ? openAt : openAt - lineStart - 1;
    while (!AtEnd() && syntax::IsBlank(Current()) && Current() != '\n') ++pos_;
    if (At('\n')) {
        ++pos_;
        SkipIndent(indent);
    }
    std::string out;
    size_t quotes = 0;
    while (!AtEnd()) {
        const char c = Current();
        ++pos_;
        if (c == '\'') {
            if (++quotes == 3) {
                if (!out.empty() && out.back() == '\n') out.pop_back();
                return out;
            }
            continue;
        }
        out.append(quotes, '\'');
        quotes = 0;
        if (c == '\n') {
            out += '\n';
            SkipIndent(indent);
        } else if (c != '\r') {
            out += c;
        }
    }
    FailAt(openAt, "End of input inside the ''' string that starts here");
}

void Parser::ParseEscape(std::string& out)
{
    if (AtEnd()) Fail("End of input inside an escape sequence");
    const char c = Current();
    ++pos_;
    switch (c) {
    case '"':
    case '\'':
    case '\\':
    case '/': out += c; return;
    case 'b': out += '\b'; return;
    case 'f': out += '\f'; return;
    case 'n': out += '\n'; return;
    case 'r': out += '\r'; return;
    case 't': out += '\t'; return;
    case 'u': AppendUtf8(out, ParseCodePoint()); return;
    default: FailAt(pos_ - 2, "Invalid escape sequence: a backslash followed by " + Describe(c));
    }
}

// One \u escape, or two when they form a surrogate pair. A lone surrogate has
// no UTF-8 form and becomes U+FFFD, the replacement character.
char32_t Parser::ParseCodePoint()
{
    constexpr char32_t kReplacement = 0xFFFD;
    const unsigned unit = ParseHex4();
    if (unit >= 0xD800 && unit <= 0xDBFF && AtText("\\u")) {
        const size_t afterHigh = pos_;
        pos_ += 2;
        const unsigned low = ParseHex4();
        if (low >= 0xDC00 && low <= 0xDFFF) return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        pos_ = afterHigh;  // not a pair: the next escape stands on its own
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
    return unit;
}

unsigned Parser::ParseHex4()
{
    unsigned value = 0;
    for (int digit = 0; digit < 4; ++digit, ++pos_) {
        if (AtEnd()) Fail("End of input inside a \\u escape");
        const char c = Current();
        unsigned nibble = 0;
        if (c >= '0' && c <= '9') {
            nibble = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            nibble = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            nibble = static_cast<unsigned>(c - 'A' + 10);
        } else {
            Fail("Bad \\u escape: " + Describe(c) + " is not a hex digit");
        }
        value = value * 16 + nibble;
    }
    return value;
}

Value Parser::CheckNothingFollows(Value value)
{
    SkipBlanksAndComments();
    if (!AtEnd()) Fail("Syntax error, found trailing characters after the document");
    return value;
}

void Parser::SkipBlanksAndComments()
{
    for (;;) {
        while (!AtEnd() && syntax::IsBlank(Current())) ++pos_;
        if (At('#') || AtText("//")) {
            while (!AtEnd() && Current() != '\n') ++pos_;
        } else if (AtText("/*")) {
            const size_t end = text_.find("*/", pos_ + 2);
            if (end == std::string_view::npos) Fail("Unterminated /* comment");
            pos_ = end + 2;
        } else {
            return;
        }
    }
}

void Parser::SkipIndent(size_t indent)
{
    for (size_t skipped = 0; skipped < indent && !AtEnd() && syntax::IsBlank(Current()) && Current() != '\n';
         ++skipped) {
        ++pos_;
    }
}

// Line and column (both from 1) of the byte at pos.
void Parser::FailAt(size_t pos, const std::string& what) const
{
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < pos && i < text_.size(); ++i) {
        if (text_[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    throw syntax_error(what + " at line " + std::to_string(line) + ", column " + std::to_string(pos - lineStart + 1));
}

}  // namespace

Value Unmarshal(std::string_view text, const DecoderOptions& options)
{
    return Parser(text, options).ParseDocument();
}

}  // namespace Hjson
