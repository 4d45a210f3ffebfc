#include "helper/Hjson.h"

#include "helper/HjsonSyntax.h"

#include <cmath>
#include <string>

namespace Hjson {

namespace {

constexpr std::string_view kIndentStep = "  ";

void AppendIndent(std::string& out, int depth)
{
    for (int level = 0; level < depth; ++level) out += kIndentStep;
}

// JSON string form: quotes, backslashes and control characters escaped; other
// bytes (UTF-8 included) as they are.
void AppendQuoted(std::string& out, std::string_view text)
{
    static const char* const kHex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// Numbers keep their type on the way back: a Double always shows a fraction
// or an exponent. JSON has no infinity or NaN, so those are written as null.
std::string FormatNumber(const Value& value)
{
    if (value.type() == Type::Int64) return value.to_string();
    const double number = value.to_double();
    if (!std::isfinite(number)) return "null";
    std::string text = syntax::FormatDouble(number);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

// Text of a value that is neither a Map nor a Vector nor a String.
std::string FormatScalar(const Value& value)
{
    switch (value.type()) {
    case Type::Bool: return value.to_string();
    case Type::Double:
    case Type::Int64: return FormatNumber(value);
    default: return "null";
    }
}

// Hjson writer: maps and vectors one member per line without commas, keys and
// strings without quotes where the reader reads them back unchanged, and
// multiline strings in ''' form.
class HjsonWriter {
public:
    std::string Write(const Value& root);

private:
    void WriteValue(const Value& value, int depth);
    void WriteMap(const Value& map, int depth);
    void WriteVector(const Value& vector, int depth);
    void WriteMemberString(const std::string& text, int depth, bool ownLine);
    void WriteMultiline(std::string_view text, int depth);
    void WriteKey(const std::string& key);

    std::string out_;
};

// Whether the reader reads the text, written without quotes as a value,
// back as exactly this string.
bool CanGoWithoutQuotes(const std::string& text)
{
    if (text.empty() || syntax::IsBlank(text.front()) || syntax::IsBlank(text.back())) return false;
    const char first = text.front();
    if (syntax::IsPunctuator(first) || first == '"' || first == '\'' || first == '#') return false;
    if (text.starts_with("//") || text.starts_with("/*")) return false;
    for (const char c : text) {
        if (syntax::IsBlank(c) && c != ' ') return false;  // tabs and line breaks need escapes
    }
    size_t pos = 0;
    const Value readBack = syntax::ReadQuoteless(text, pos);
    return pos == text.size() && readBack.type() == Type::String && readBack.to_string() == text;
}

// Whether the text reads better, and keeps its exact content, in ''' form: it
// has lines with something on them, no ''' of its own, and no control
// characters the form would drop.
bool CanGoMultiline(const std::string& text)
{
    if (text.find('\n') == std::string::npos || text.find("'''") != std::string::npos) return false;
    bool hasContent = false;
    for (const char c : text) {
        if (syntax::IsBlank(c) && c != ' ' && c != '\n' && c != '\t') return false;
        hasContent = hasContent || !syntax::IsBlank(c);
    }
    return hasContent;
}

// Whether the key can be written bare: no blanks, punctuators, quotes or
// anything the reader would take for a comment.
bool CanKeyGoWithoutQuotes(const std::string& key)
{
    if (key.empty()) return false;
    for (const char c : key) {
        if (syntax::IsBlank(c) || syntax::IsPunctuator(c) || c == '"' || c == '\'' || c == '#') return false;
    }
    return key.find("//") == std::string::npos && key.find("/*") == std::string::npos;
}

std::string HjsonWriter::Write(const Value& root)
{
    if (root.type() == Type::String) {
        // A bare root string could read back as a Map ("a: b"), so it is quoted.
        AppendQuoted(out_, root.to_string());
    } else {
        WriteValue(root, 0);
    }
    return out_;
}

void HjsonWriter::WriteValue(const Value& value, int depth)
{
    switch (value.type()) {
    case Type::Map: WriteMap(value, depth); return;
    case Type::Vector: WriteVector(value, depth); return;
    case Type::String: WriteMemberString(value.to_string(), depth, true); return;
    default: out_ += FormatScalar(value); return;
    }
}

void HjsonWriter::WriteMap(const Value& map, int depth)
{
    if (map.size() == 0) {
        out_ += "{}";
        return;
    }
    out_ += "{\n";
    for (size_t i = 0; i < map.size(); ++i) {
        const Value& member = map[static_cast<int>(i)];
        if (!member.defined()) continue;  // a key that was looked up but never set
        AppendIndent(out_, depth + 1);
        WriteKey(map.key(static_cast<int>(i)));
        out_ += ':';
        if (member.type() == Type::String) {
            WriteMemberString(member.to_string(), depth + 1, false);
        } else {
            out_ += ' ';
            WriteValue(member, depth + 1);
        }
        out_ += '\n';
    }
    AppendIndent(out_, depth);
    out_ += '}';
}

void HjsonWriter::WriteVector(const Value& vector, int depth)
{
    if (vector.size() == 0) {
        out_ += "[]";
        return;
    }
    out_ += "[\n";
    for (size_t i = 0; i < vector.size(); ++i) {
        AppendIndent(out_, depth + 1);
        WriteValue(vector[static_cast<int>(i)], depth + 1);
        out_ += '\n';
    }
    AppendIndent(out_, depth);
    out_ += ']';
}

// A string member at the given depth. ownLine says the string already starts
// a line of its own (a Vector element); after a key it follows "key:".
void HjsonWriter::WriteMemberString(const std::string& text, int depth, bool ownLine)
{
    if (CanGoMultiline(text)) {
        if (!ownLine) {
            out_ += '\n';
            AppendIndent(out_, depth + 1);
        }
        WriteMultiline(text, ownLine ? depth : depth + 1);
        return;
    }
    if (!ownLine) out_ += ' ';
    if (CanGoWithoutQuotes(text)) {
        out_ += text;
    } else {
        AppendQuoted(out_, text);
    }
}

// The ''' form with its lines indented to the column of the opening quotes,
// which is how much indent the reader takes off again.
void HjsonWriter::WriteMultiline(std::string_view text, int depth)
{
    out_ += "'''\n";
    size_t lineStart = 0;
    for (;;) {
        const size_t lineEnd = text.find('\n', lineStart);
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty()) {
            AppendIndent(out_, depth);
            out_ += line;
        }
        out_ += '\n';
        if (lineEnd == std::string_view::npos) break;
        lineStart = lineEnd + 1;
    }
    AppendIndent(out_, depth);
    out_ += "'''";
}

void HjsonWriter::WriteKey(const std::string& key)
{
    if (CanKeyGoWithoutQuotes(key)) {
        out_ += key;
    } else {
        AppendQuoted(out_, key);
    }
}

// JSON writer: two-space indentation, one member per line.
class JsonWriter {
public:
    std::string Write(const Value& root)
    {
        WriteValue(root, 0);
        return out_;
    }

private:
    void WriteValue(const Value& value, int depth);
    void WriteMap(const Value& map, int depth);
    void WriteVector(const Value& vector, int depth);

    std::string out_;
};

void JsonWriter::WriteValue(const Value& value, int depth)
{
    switch (value.type()) {
    case Type::Map: WriteMap(value, depth); return;
    case Type::Vector: WriteVector(value, depth); return;
    case Type::String: AppendQuoted(out_, value.to_string()); return;
    default: out_ += FormatScalar(value); return;
    }
}

void JsonWriter::WriteMap(const Value& map, int depth)
{
    bool first = true;
    out_ += '{';
    for (size_t i = 0; i < map.size(); ++i) {
        const Value& member = map[static_cast<int>(i)];
        if (!member.defined()) continue;  // a key that was looked up but never set
        out_ += first ? "\n" : ",\n";
        first = false;
        AppendIndent(out_, depth + 1);
        AppendQuoted(out_, map.key(static_cast<int>(i)));
        out_ += ": ";
        WriteValue(member, depth + 1);
    }
    if (!first) {
        out_ += '\n';
        AppendIndent(out_, depth);
    }
    out_ += '}';
}

void JsonWriter::WriteVector(const Value& vector, int depth)
{
    out_ += '[';
    for (size_t i = 0; i < vector.size(); ++i) {
        out_ += i == 0 ? "\n" : ",\n";
        AppendIndent(out_, depth + 1);
        WriteValue(vector[static_cast<int>(i)], depth + 1);
    }
    if (vector.size() > 0) {
        out_ += '\n';
        AppendIndent(out_, depth);
    }
    out_ += ']';
}

}  // namespace

std::string Marshal(const Value& value)
{
    return HjsonWriter().Write(value);
}

std::string MarshalJson(const Value& value)
{
    return JsonWriter().Write(value);
}

}  // namespace Hjson
