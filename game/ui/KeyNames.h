#pragma once
// The names of keys in the hot-key file: a fixed table of 192 "KEY_" tags,
// each the name of a Windows virtual key with the same number (the numbers
// the engine's keyboard uses, so stored files keep their meaning). Where two
// tags share a number ("KEY_PRIOR" and "KEY_PAGE_UP"), the later row names it.

#include <cstdint>
#include <span>
#include <string>

struct KeyNameRow {
    const char* tag;
    int32_t code;  // virtual-key number
};

// Every row, in the table's fixed order (the order the hot-key file lists them).
std::span<const KeyNameRow> KeyNameTable();

// The code of a tag; 0 when the table has no such tag.
int32_t keyTagToCode(const std::string& tag);

// The tag of a code; empty when no tag has it.
const std::string& keyCodeToTag(int32_t code);
