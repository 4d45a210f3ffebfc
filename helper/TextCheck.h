#pragma once
// Where a file that should hold text stops being text. Data files and mission
// scripts are written by hand; a stray NUL byte or a file saved in another
// encoding must be named by its line and column, not read as something else.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct TextFault {
    size_t line = 1;    // from 1
    size_t column = 1;  // from 1, in bytes
    unsigned char byte = 0;
    bool nul = false;   // a NUL byte; else a byte that no UTF-8 sequence allows there
};

// The first NUL byte of the text, and when utf8 is asked the first byte that
// breaks UTF-8 (overlong forms, surrogates and code points past U+10FFFF
// included), whichever comes first; nothing for clean text.
std::optional<TextFault> FindTextFault(std::string_view text, bool utf8);

// "a NUL byte at line 3, column 9", "byte 0xFF, which is not UTF-8, at line 2, column 5".
std::string DescribeTextFault(const TextFault& fault);

// The text without a leading UTF-8 byte order mark, which some editors write.
std::string_view WithoutByteOrderMark(std::string_view text);
