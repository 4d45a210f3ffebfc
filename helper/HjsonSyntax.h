#pragma once
// The lexical rules of Hjson that the reader, the writer and the value
// conversions must agree on: what counts as a blank, which characters end a
// quoteless value, what reads as a number, and how a double is spelled. The
// writer decides whether a string may go without quotes by asking the same
// scanner the reader uses, so the two cannot drift apart.

#include "helper/Hjson.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Hjson::syntax {

// Whitespace and control characters: every byte up to and including ' '.
inline bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Characters that separate the structure and so cannot start a quoteless value.
inline bool IsPunctuator(char c)
{
    return c == '{' || c == '}' || c == '[' || c == ']' || c == ',' || c == ':';
}

// The text without its trailing blanks.
std::string_view TrimTrailingBlanks(std::string_view text);

// The number the whole text spells (an optional '-', digits without a leading
// zero, an optional fraction, an optional exponent): Int64 when it is an
// integer that fits, else Double. Nothing when the text is not such a number
// or its value is not finite.
std::optional<Value> ReadNumber(std::string_view text);

// A quoteless value starting at pos (which is neither blank nor a punctuator):
// true, false, null or a number when one stands before the end of the line, a
// ',', '}', ']' or a comment; else the rest of the line, trailing blanks
// removed. On return pos is just past the literal, or at the end of the line.
Value ReadQuoteless(std::string_view text, size_t& pos);

// Shortest decimal spelling that reads back as the same double ("3.9", "2",
// "1e+21"). Only for finite values.
std::string FormatDouble(double value);

}  // namespace Hjson::syntax
