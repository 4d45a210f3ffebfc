#include "helper/TextCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextCheck, names_the_first_byte_that_is_not_text_by_line_and_column)
{
    struct Case {
        std::string text;
        bool utf8;
        std::string fault;  // "" for clean text
    };
    const Case cases[] = {
        {"plain\nlines\r\n", true, ""},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9A\x80", true, ""},  // 2-, 3- and 4-byte sequences
        {"", true, ""},
        {std::string("a: 1\nb: \"\0\"\n", 12), true, "a NUL byte at line 2, column 5"},
        {std::string("a\0", 2), false, "a NUL byte at line 1, column 2"},
        {"x\nname: Br\xFC" "cke\n", true, "byte 0xFC, which is not UTF-8, at line 2, column 9"},
        {"x\nname: Br\xFC" "cke\n", false, ""},
        {"\xC0\xAF", true, "byte 0xC0, which is not UTF-8, at line 1, column 1"},          // overlong '/'
        {"\xE0\x80\xAF", true, "byte 0xE0, which is not UTF-8, at line 1, column 1"},      // overlong, 3 bytes
        {"ok \xED\xA0\x80", true, "byte 0xED, which is not UTF-8, at line 1, column 4"},   // a surrogate
        {"\xF4\x90\x80\x80", true, "byte 0xF4, which is not UTF-8, at line 1, column 1"},  // past U+10FFFF
        {"cut \xE2\x82", true, "byte 0xE2, which is not UTF-8, at line 1, column 5"},      // sequence cut short
        {"\x80", true, "byte 0x80, which is not UTF-8, at line 1, column 1"},              // a lone continuation
    };
    for (const Case& c : cases) {
        const std::optional<TextFault> fault = FindTextFault(c.text, c.utf8);
        EXPECT_EQ(fault ? DescribeTextFault(*fault) : "", c.fault) << c.text;
    }
}

TEST(TextCheck, a_leading_byte_order_mark_is_dropped_and_nothing_else)
{
    EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF{a: 1}"), "{a: 1}");
    EXPECT_EQ(WithoutByteOrderMark("{a: 1}\xEF\xBB\xBF"), "{a: 1}\xEF\xBB\xBF");
    EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB"), "\xEF\xBB");
}

}  // namespace
