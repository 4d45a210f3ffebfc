#pragma once
// Small free functions the whole game leans on: text splitting and
// tokenising (back-quoted spans are never split), the CRC-32 that turns index
// strings and side tags into integers, angle and colour-space helpers, a clamp,
// a random direction, a fixed-capacity ranked list, and the self-test that
// start-up runs before anything is loaded. Main thread only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>

// CRC-32/JAMCRC of the bytes (reflected 0xEDB88320, register starts at all
// ones, no final inversion); the empty text gives 0.
uint32_t Crc32String(std::string_view text);

// Replaces the contents of pieces with the non-empty runs of text between
// characters of delimiters; a carriage return ending the last piece is
// dropped. Back-quotes mean nothing here. Returns the number of pieces.
int SplitString(const std::string& text, const std::string& delimiters, std::vector<std::string>& pieces);

// Position of the first character at or after start that is in set, stepping
// over back-quoted spans (only the closing back-quote of a span is compared
// with set). The text's length when there is none, or when a span is left open.
int FindFirstOfUnquoted(const std::string& text, const std::string& set, int start);

// Position of the first character at or after start that is not in set; an
// opening back-quote always counts as not in set. The text's length when there
// is none.
int FindFirstNotOfUnquoted(const std::string& text, const std::string& set, int start);

// Appends to tokens the runs of text between delimiter characters; a
// back-quoted span stays whole, back-quotes included, inside its token.
void Tokenize(const std::string& text, std::vector<std::string>& tokens, const std::string& delimiters);

// Signed heading change, at most maxStep either way, that turns a mover at
// (fromX, fromZ) with the given heading toward (toX, toZ) the short way round.
// Headings are radians, 0 along +Z, positive toward +X.
float TurnToward(float fromX, float fromZ, float toX, float toZ, float heading, float maxStep);

// The angle moved by whole turns into [0, 2π).
double WrapAngle2Pi(double angle);
// The angle moved by whole turns into (−π, π].
double WrapAnglePi(double angle);

// Hue in degrees [0, 360), saturation and value 0..1. A hue outside that range
// leaves r, g and b untouched; saturation 0, or the hue -1, gives grey.
void HsvToRgb(float hue, float saturation, float value, float& r, float& g, float& b);

// One channel of an HSL colour: t is the hue shifted by the channel's third of
// a turn, p and q the lightness bounds.
float HueToRgb(float p, float q, float t);

// The text without the blanks at either end: space, tab, newline, vertical
// tab, form feed and carriage return (what isspace finds in the C locale).
std::string TrimWhitespace(std::string_view text);

// The decimal integer at the start of the text as C's atoi reads it (leading
// blanks and one sign allowed, reading stops at the first other character),
// but held to the int32 range where atoi's result would be undefined; 0 when
// the text does not begin with a number.
int32_t LeadingInt(std::string_view text);
// The decimal number at the start of the text as C's atof reads its decimal
// forms (leading blanks, one sign, digits with a '.' and an exponent);
// infinity past the float range; 0 when the text does not begin with one.
// "inf", "nan" and hexadecimal are not read as numbers.
float LeadingFloat(std::string_view text);
// The float as C's "%f" writes it: six decimals, however long the text.
std::string FloatToString(float value);
// The text with the two-byte UTF-8 forms of U+0080 to U+00FF made their
// one-byte Latin-1 codes: every byte 0xC2 is dropped, every byte 0xC3 is
// dropped and 64 added to the byte after it, all other bytes stay.
std::string FoldUtf8ToLatin1(std::string_view text);
// The text without the blanks (space, \t \n \v \f \r) that begin it and the
// NUL bytes that end it, as strings from messages and stored files are read.
void TrimStoredText(std::string& text);

// The text with A..Z made a..z. ASCII only: names from data files, scripts
// and the network select hooks, records and colours, and the user's locale
// must not change which.
std::string LowerCaseAscii(std::string text);

// x held within [lower, upper]; when lower exceeds upper the result is upper.
float Clamp(float x, float lower, float upper);

// Sets out to a vector of the given length in a random direction drawn from
// crand(), and returns it.
glm::vec3& RandomVector(glm::vec3& out, float length);

// The best-scoring items seen so far, best first, in a fixed number of slots.
// A plain record: its user sets capacity, allocates both arrays with new[],
// fills every slot (for example item null, score 0) before the first Insert,
// and hands the arrays back with Free.
struct RankedList {
    int capacity = 0;          // number of slots in items and scores
    void** items = nullptr;    // capacity entries, best first; not owned
    float* scores = nullptr;   // capacity scores, descending

    // Puts the item before the first slot whose score it reaches (so before
    // equal scores); the last slot's entry falls out. Nothing changes when the
    // score is below every slot.
    void Insert(void* item, float score);

    // Releases both arrays with delete[] and leaves the list empty, so a second
    // Free is harmless.
    void Free();
};

// Checks the unquoted searches on a known text; a failure is an assertion.
void GeneralUtilsSelfTest();
