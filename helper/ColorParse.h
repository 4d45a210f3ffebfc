#pragma once
// Colours arrive as text from ship definitions, keyed object values, scripts,
// widget style strings and the network. ParseColor turns any such text into one
// RGBA colour and never fails: text it cannot read gives opaque magenta, which
// makes a wrong colour plain to see on screen instead of stopping the game.
//
// Accepted forms (the text is lower-cased first):
//   - a CSS colour keyword, matched against the whole text ("red", "aliceblue");
//   - '#' with 3, 4, 6 or 8 hexadecimal digits ("#f01", "#ff000080");
//   - three or four numeric components separated by blanks, commas or
//     parentheses, read as RGB, or as HSL when a word beginning with 'h' comes
//     before them ("rgb(255, 128, 0)", "hsl(120, 100%, 50%)"). A component with
//     a '.' is taken as it stands, one with '%' as a percentage, any other
//     integer as a 0..255 channel. A component beyond 0..1 is held at the
//     nearest bound.

#include <glm/vec4.hpp>

#include <optional>
#include <string>

// What ParseColor gives for text it cannot read.
inline constexpr glm::vec4 kUnreadableColor{1.0f, 0.0f, 1.0f, 1.0f};

// Writes the colour of the text to out; out is always written.
void ParseColor(glm::vec4& out, std::string text);
// The same, as a value: for colours drawn straight from a keyed value.
glm::vec4 ParsedColor(std::string text);

// The colour of the text, or nothing when it cannot be read: for loaders that
// refuse a colour nobody can see was meant, instead of showing magenta.
std::optional<glm::vec4> TryParseColor(std::string text);
