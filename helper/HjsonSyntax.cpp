#include "helper/HjsonSyntax.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace Hjson::syntax {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the number grammar's match at the start of the text, 0 when
// there is none. Sets isInteger when neither fraction nor exponent is present.
size_t MatchNumber(std::string_view text, bool& isInteger)
{
    size_t pos = 0;
    if (pos < text.size() && text[pos] == '-') ++pos;
    const size_t digitsStart = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    const size_t digits = pos - digitsStart;
    if (digits == 0) return 0;
    if (digits > 1 && text[digitsStart] == '0') return 0;  // leading zeros read as text
    isInteger = true;
    if (pos < text.size() && text[pos] == '.') {
        isInteger = false;
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) ++pos;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        isInteger = false;
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t exponentStart = pos;
        while (pos < text.size() && IsDigit(text[pos])) ++pos;
        if (pos == exponentStart) return 0;
    }
    return pos;
}

// strtod under the "C" locale, so a host locale with a decimal comma cannot
// change how data files read.
double ParseDouble(const std::string& text)
{
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// true, false, null or a number spelled by the whole text (trailing blanks allowed).
std::optional<Value> ReadLiteral(std::string_view text)
{
    text = TrimTrailingBlanks(text);
    if (text == "true") return Value(true);
    if (text == "false") return Value(false);
    if (text == "null") return Value(nullptr);
    return ReadNumber(text);
}

// Characters at which a quoteless value may end early, when what precedes them
// is a literal.
bool EndsLiteral(std::string_view text, size_t pos)
{
    const char c = text[pos];
    if (c == ',' || c == '}' || c == ']' || c == '#') return true;
    return c == '/' && pos + 1 < text.size() && (text[pos + 1] == '/' || text[pos + 1] == '*');
}

}  // namespace

std::string_view TrimTrailingBlanks(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

std::optional<Value> ReadNumber(std::string_view text)
{
    bool isInteger = false;
    if (text.empty() || MatchNumber(text, isInteger) != text.size()) return std::nullopt;
    if (isInteger) {
        int64_t integer = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), integer);
        if (error == std::errc() && end == text.data() + text.size()) return Value(integer);
    }
    const double number = ParseDouble(std::string(text));
    if (!std::isfinite(number)) return std::nullopt;
    return Value(number);
}

Value ReadQuoteless(std::string_view text, size_t& pos)
{
    const size_t start = pos;
    // Once an end character has become part of the text, no literal can match
    // any more; remembering that keeps long lines linear.
    bool literalPossible = true;
    for (++pos;; ++pos) {
        const bool endOfLine = pos >= text.size() || text[pos] == '\n' || text[pos] == '\r';
        if (endOfLine || EndsLiteral(text, pos)) {
            const std::string_view sofar = text.substr(start, pos - start);
            if (literalPossible) {
                if (auto literal = ReadLiteral(sofar)) return *literal;
            }
            if (endOfLine) return Value(std::string(TrimTrailingBlanks(sofar)));
            literalPossible = false;
        }
    }
}

std::string FormatDouble(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace Hjson::syntax
