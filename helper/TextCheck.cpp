#include "helper/TextCheck.h"


namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Bytes of the well-formed UTF-8 sequence starting at pos, or 0 when the
// sequence is broken (the table of well-formed sequences of Unicode 3.9).
size_t SequenceLength(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80;   // the bounds of the second byte, which rule
    unsigned char high = 0xBF;  // out overlong forms, surrogates and > U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < low || second > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[pos + i])))
            return 0;
    }
    return length;
}

std::string Hex(unsigned char byte)
{
    static const char* const kDigits = "0123456789ABCDEF";
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

}  // namespace

std::optional<TextFault> FindTextFault(std::string_view text, bool utf8)
{
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const size_t length = utf8 ? SequenceLength(text, pos) : 1;
        if (byte == 0 || length == 0)
            return TextFault{line, pos - lineStart + 1, byte, byte == 0};
        if (byte == '\n') {
            ++line;
            lineStart = pos + 1;
        }
        pos += length;
    }
    return std::nullopt;
}

std::string DescribeTextFault(const TextFault& fault)
{
    const std::string where = "at line " + std::to_string(fault.line) + ", column " + std::to_string(fault.column);
    if (fault.nul)
        return "a NUL byte " + where;
    return "byte " + Hex(fault.byte) + ", which is not UTF-8, " + where;
}

std::string_view WithoutByteOrderMark(std::string_view text)
{
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? text.substr(kByteOrderMark.size()) : text;
}
