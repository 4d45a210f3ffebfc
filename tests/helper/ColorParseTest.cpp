#include "helper/ColorParse.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ColorCase {
    std::string text;
    glm::vec4 expected;
};

const glm::vec4 kMagenta{1.0f, 0.0f, 1.0f, 1.0f};

glm::vec4 Parse(const std::string& text)
{
    glm::vec4 color{-1.0f};
    ParseColor(color, text);
    return color;
}

void ExpectColors(const ColorCase* begin, const ColorCase* end)
{
    for (const ColorCase* c = begin; c != end; ++c) {
        const glm::vec4 got = Parse(c->text);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(got[i], c->expected[i]) << '"' << c->text << "\" channel " << i;
    }
}

template <size_t N>
void ExpectColors(const ColorCase (&cases)[N])
{
    ExpectColors(cases, cases + N);
}

TEST(ParseColor, keywords_match_whole_text_in_any_case)
{
    const ColorCase cases[] = {
        {"red", {1, 0, 0, 1}},
        {"Red", {1, 0, 0, 1}},
        {"RED", {1, 0, 0, 1}},
        {"AliceBlue", {240 / 255.f, 248 / 255.f, 1, 1}},
        {"lightgoldenrodyellow", {250 / 255.f, 250 / 255.f, 210 / 255.f, 1}},
        {"darkslategray", {47 / 255.f, 79 / 255.f, 79 / 255.f, 1}},
        {"yellowgreen", {154 / 255.f, 205 / 255.f, 50 / 255.f, 1}},
        {"aqua", {0, 1, 1, 1}},
        {"cyan", {0, 1, 1, 1}},
        {"fuchsia", kMagenta},
        {"black", {0, 0, 0, 1}},
        {"gray", {128 / 255.f, 128 / 255.f, 128 / 255.f, 1}},
    };
    ExpectColors(cases);
}

TEST(ParseColor, grey_spellings_transparent_and_padded_names_are_unreadable)
{
    const ColorCase cases[] = {
        {"grey", kMagenta},          {"darkgrey", kMagenta},      {"darkslategrey", kMagenta},
        {"dimgrey", kMagenta},       {"lightgrey", kMagenta},     {"lightslategrey", kMagenta},
        {"slategrey", kMagenta},     {"transparent", kMagenta},   {" red", kMagenta},
        {"red ", kMagenta},          {"rebeccapurple", kMagenta},
    };
    ExpectColors(cases);
}

TEST(ParseColor, hex_forms_of_three_four_six_and_eight_digits)
{
    const ColorCase cases[] = {
        {"#F01", {1, 0, 17 / 255.f, 1}},
        {"#f018", {1, 0, 17 / 255.f, 136 / 255.f}},
        {"#ff000080", {1, 0, 0, 128 / 255.f}},
        {"#102030", {16 / 255.f, 32 / 255.f, 48 / 255.f, 1}},
        {"  #102030 trailing words", {16 / 255.f, 32 / 255.f, 48 / 255.f, 1}},
        {"#g1g1g1", {0, 0, 0, 1}},          // a non-digit ends the number at once
        {"#1g1g1g", {1 / 255.f, 1 / 255.f, 1 / 255.f, 1}},
        {"#12345", kMagenta},
        {"#", kMagenta},
        {"#1234567", kMagenta},
        {"#123456789", kMagenta},
    };
    ExpectColors(cases);
}

TEST(ParseColor, rgb_components_as_channels_percentages_and_floats)
{
    const ColorCase cases[] = {
        {"255, 128, 0", {1, 128 / 255.f, 0, 1}},
        {"rgb(255,128,0)", {1, 128 / 255.f, 0, 1}},
        {"rgba(255, 0, 0, 0.5)", {1, 0, 0, 0.5f}},
        {"rgba(255, 0, 0, 1)", {1, 0, 0, 1 / 255.f}},  // a bare integer is a 0..255 channel
        {"50%, 100 %, 0", {0.5f, 1, 0, 1}},
        {"0.25 0.5 .75", {0.25f, 0.5f, 0.75f, 1}},
        {"50.5%, 0.5, 0", {1, 0.5f, 0, 1}},  // the '.' rule comes first: 50.5, held at 1
        {"rgb(1 2 3) words", {1 / 255.f, 2 / 255.f, 3 / 255.f, 1}},
    };
    ExpectColors(cases);
}

TEST(ParseColor, hsl_components_after_a_word_beginning_with_h)
{
    const ColorCase cases[] = {
        {"hsl(120, 100%, 50%)", {0, 1, 0, 1}},
        {"hsl(0, 0%, 25%)", {0.25f, 0.25f, 0.25f, 1}},
        {"hsla(240, 100%, 50%, 0.5)", {0, 0, 1, 0.5f}},
        {"hsl(0, 100%, 75%)", {1, 0.5f, 0.5f, 1}},
        {"hsl(0, 1, 50%)", {0.5f + 0.5f / 255.f, 0.5f - 0.5f / 255.f, 0.5f - 0.5f / 255.f, 1}},
    };
    ExpectColors(cases);
}

// Found by fuzzing: channels past 255, floats past 1 and HSL hues of many
// turns gave components far outside 0..1.
TEST(ParseColor, components_beyond_their_range_are_held_at_its_bounds)
{
    const ColorCase cases[] = {
        {"300, 128, 0", {1, 128 / 255.f, 0, 1}},
        {"2.5 0.5 0 7.0", {1, 0.5f, 0, 1}},
        {"200%, 0, 0, 0.25", {1, 0, 0, 0.25f}},
        {"hsl(120, 400%, 50%)", {0, 1, 0, 1}},
    };
    ExpectColors(cases);
    for (const char* hostile : {"(8<(8h(499999<,dc(8,$", "hsl(499999, 8, 8)", "h 1e30 0.5 0.5"}) {
        const glm::vec4 got = Parse(hostile);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(got[i] >= 0.0f && got[i] <= 1.0f) << '"' << hostile << "\" channel " << i << ": " << got[i];
    }
}

TEST(ParseColor, wrong_component_counts_give_magenta)
{
    const ColorCase cases[] = {
        {"1, 2", kMagenta},
        {"1, 2, 3, 4, 5", kMagenta},
        {"-255, 0, 0", kMagenta},  // the signed token is skipped, two components remain
        {"rgb()", kMagenta},
    };
    ExpectColors(cases);
}

TEST(ParseColor, unreadable_text_gives_magenta_and_never_throws)
{
    const ColorCase cases[] = {
        {"", kMagenta},
        {".", kMagenta},
        {"., 0, 0", kMagenta},
        {"0, 0, .%", kMagenta},
        {" ,,() ", kMagenta},
        {"no such colour", kMagenta},
        {"1e39, 0, 0", kMagenta},                 // beyond the range of a float
        {"1e-45, 0, 0", kMagenta},                // below the smallest normal float
        {"99999999999, 0, 0", kMagenta},          // beyond the range of an int
        {"hsl(0, 3.0e38, 3.0e38)", kMagenta},     // the arithmetic overflows into NaN
        {std::string("red\0", 4), kMagenta},
        {"\xff\xfe\x80", kMagenta},
        {"`1, 2, 3`", kMagenta},
        {std::string(100000, '9'), kMagenta},
    };
    for (const ColorCase& c : cases)
        EXPECT_NO_THROW(Parse(c.text)) << '"' << c.text << '"';
    ExpectColors(cases);
}

TEST(TryParseColor, tells_an_unreadable_text_from_a_magenta_one)
{
    EXPECT_EQ(TryParseColor("magenta"), kMagenta);
    EXPECT_EQ(TryParseColor("#f0f"), kMagenta);
    EXPECT_EQ(TryParseColor("rgb(10%, 20%, 30%)"), glm::vec4(0.1f, 0.2f, 0.3f, 1.0f));
    for (const char* text : {"", "no such colour", "hsl(0, 3.0e38, 3.0e38)", "#12345"})
        EXPECT_FALSE(TryParseColor(text).has_value()) << '"' << text << '"';
}

TEST(ParseColor, always_writes_the_output)
{
    glm::vec4 color{0.5f};
    ParseColor(color, "garbage");
    EXPECT_EQ(color, kMagenta);
    ParseColor(color, "blue");
    EXPECT_EQ(color, glm::vec4(0, 0, 1, 1));
}

}  // namespace
