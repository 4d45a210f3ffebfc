#pragma once
// Face description strings: the text that names a character's portrait, kept
// in an object's keyed values and written by missions. It lists face parts
// back to front, each a part name, a colour and up to four numbers, the
// parts separated by ';' (or by nothing but blanks):
//
//     head #e6b594 0 0;eyes white 1 0;iris #3a78b8 1 0 0 -3;hair #4a2e1c 0 1
//
// A part is "name colour column row offsetX offsetY": name and colour are
// runs of letters, digits and '_' (a colour may also be '#' and hex digits);
// each number is an optional sign ('+', '-' or '|') and decimal digits, and
// a missing one is 0. Text that does not fit is skipped up to the next place
// where a part can begin, and a part that begins with blanks has no name and
// takes the word after them as its colour: "a b; c d" is not "a b;c d". Descriptions keep the long-standing grammar
//
//     (\w*)\s+(#[0-9A-Fa-f]*|\w*)\s*([+|-]?\d*)?\s*([+|-]?\d*)?\s*([+|-]?\d*)?\s*([+|-]?\d*)?;?
//
// matched over and over from left to right; this reader follows it exactly
// without a regular expression engine, whose recursion long blank runs could
// exhaust, and reads a number that has no digits or does not fit 16 bits as 0.

#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FacePart {
    std::string name;      // the part; empty when the match began with blanks
    int16_t offsetX = 0;   // pixels the cell's window moves right (the part moves left)
    int16_t offsetY = 0;   // pixels it moves down (the part moves up)
    int16_t column = 0;    // cell of the part's sheet
    int16_t row = 0;
    std::string colourText;
    glm::vec4 colour{1.0f};  // colourText as ParseColor reads it
};

std::vector<FacePart> ParseFaceDescription(std::string_view description);
