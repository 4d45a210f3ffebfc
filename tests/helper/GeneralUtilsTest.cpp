#include "helper/GeneralUtils.h"
#include "helper/CRand.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// The game's single-precision π, as the wrapping functions use it.
constexpr double kPi = 3.1415927410125732;
constexpr double kTwoPi = 6.2831854820251465;

TEST(Crc32String, matches_jamcrc_check_values)
{
    struct Case {
        std::string text;
        uint32_t crc;
    };
    const Case cases[] = {
        {"", 0x00000000u},  // not the register's starting value
        {"123456789", 0x340BC6D9u},
        {"abc", 0xCADBBE3Du},
        {"a", 0x174841BCu},
        {"\xFF", 0x00FFFFFFu},  // bytes above 127 fold in unsigned
        {"The quick brown fox jumps over the lazy dog", 0xBEB05CC6u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Crc32String(c.text), c.crc) << '"' << c.text << '"';
}

TEST(LowerCaseAscii, lowers_ascii_letters_only)
{
    EXPECT_EQ(LowerCaseAscii("Behav_NPCShip"), "behav_npcship");
    EXPECT_EQ(LowerCaseAscii("A-Z 0-9 [\\]^_`"), "a-z 0-9 [\\]^_`");
    EXPECT_EQ(LowerCaseAscii("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");  // UTF-8 bytes untouched
    EXPECT_EQ(LowerCaseAscii(""), "");
}

TEST(TrimWhitespace, drops_c_locale_blanks_at_both_ends_only)
{
    EXPECT_EQ(TrimWhitespace(" \t\r\n\v\f a b \r\n"), "a b");
    EXPECT_EQ(TrimWhitespace("a"), "a");
    EXPECT_EQ(TrimWhitespace(" \t "), "");
    EXPECT_EQ(TrimWhitespace(""), "");
    EXPECT_EQ(TrimWhitespace("\xA0x\xA0"), "\xA0x\xA0");  // bytes above 127 are no blanks
}

TEST(LeadingInt, reads_like_atoi_and_holds_to_the_int32_range)
{
    struct Case {
        std::string text;
        int32_t value;
    };
    const Case cases[] = {
        {"12abc", 12},
        {"  -7", -7},
        {"+3;", 3},
        {"", 0},
        {"x1", 0},
        {"-", 0},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
        {"000000000000000000000042", 42},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingFloat, reads_the_decimal_number_that_begins_the_text)
{
    struct Case {
        std::string text;
        float value;
    };
    const Case cases[] = {
        {"2.5px", 2.5f},
        {"  -0.25", -0.25f},
        {"+3", 3.0f},
        {".5", 0.5f},
        {"7.", 7.0f},
        {"1e3,", 1000.0f},
        {"2e", 2.0f},    // an exponent without digits is not one
        {"2e-1x", 0.2f},
        {"", 0.0f},
        {".", 0.0f},
        {"-", 0.0f},
        {"x1", 0.0f},
        {"inf", 0.0f},   // only decimal forms are numbers here
        {"nan", 0.0f},
        {"0x10", 0.0f},
        {"1e-999", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingFloat(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(LeadingFloat("1e999"), std::numeric_limits<float>::infinity()) << "beyond floats it is infinite";
    EXPECT_EQ(LeadingFloat("-1e39"), -std::numeric_limits<float>::infinity());
}

TEST(FoldUtf8ToLatin1, makes_the_two_byte_forms_of_latin_1_one_byte)
{
    struct Case {
        std::string text;
        std::string folded;
    };
    const Case cases[] = {
        {"caf\xC3\xA9", "caf\xE9"},     // e with acute accent
        {"\xC2\xB0" "C", "\xB0" "C"},      // the degree sign
        {"plain text", "plain text"},
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},  // three-byte forms stay as they are
        {"end\xC3", "end"},            // a lead byte with nothing after it
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldUtf8ToLatin1(c.text), c.folded);
}

TEST(Tokenize, splits_at_delimiters_and_keeps_back_quoted_spans_whole)
{
    struct Case {
        std::string text;
        std::string delimiters;
        Strings tokens;
    };
    const Case cases[] = {
        {"  a,,b ", " ,", {"a", "b"}},
        {"", " ,", {}},
        {" ,, ,", " ,", {}},
        {"say `a;b` now", ";", {"say `a;b` now"}},
        {"a `b c` d", " ", {"a", "`b c`", "d"}},
        {"x`b c`y z", " ", {"x`b c`y", "z"}},
        {"`b c`", " ", {"`b c`"}},
        {"a `b c", " ", {"a", "`b c"}},  // an open span runs to the end
        {"rgb(1, 2,3)", " ,()", {"rgb", "1", "2", "3"}},
        {"a b", "", {"a b"}},
    };
    for (const Case& c : cases) {
        Strings tokens;
        Tokenize(c.text, tokens, c.delimiters);
        EXPECT_EQ(tokens, c.tokens) << '"' << c.text << "\" at \"" << c.delimiters << '"';
    }
}

TEST(Tokenize, appends_to_what_the_vector_already_holds)
{
    Strings tokens = {"kept"};
    Tokenize("a b", tokens, " ");
    EXPECT_EQ(tokens, (Strings{"kept", "a", "b"}));
}

TEST(SplitString, replaces_the_vector_with_the_non_empty_pieces)
{
    struct Case {
        std::string text;
        std::string delimiters;
        Strings pieces;
    };
    const Case cases[] = {
        {"a||b\r", "|", {"a", "b"}},
        {"", "|", {}},
        {"|a|", "|", {"a"}},
        {"data/graphics\\ship|x", "|/\\", {"data", "graphics", "ship", "x"}},
        {"`a|b`", "|", {"`a", "b`"}},  // back-quotes mean nothing here
        {"a\rb", "|", {"a\rb"}},       // only a closing carriage return goes
        {"a|\r", "|", {"a"}},          // a lone closing return is no piece
        {"\r", "|", {}},
        {"a b", "", {"a b"}},
    };
    for (const Case& c : cases) {
        Strings pieces = {"stale"};
        const int count = SplitString(c.text, c.delimiters, pieces);
        EXPECT_EQ(pieces, c.pieces) << '"' << c.text << '"';
        EXPECT_EQ(count, static_cast<int>(c.pieces.size())) << '"' << c.text << '"';
    }
}

struct SearchCase {
    std::string text;
    std::string set;
    int start;
    int expected;
};

TEST(FindFirstOfUnquoted, steps_over_back_quoted_spans)
{
    const SearchCase cases[] = {
        {"`a|b` |", "|", 0, 6},
        {"`a|b", "|", 0, 4},     // span left open: the length
        {"a|b|", "|", 0, 1},
        {"a|b|", "|", 2, 3},
        {"a|b", "", 0, 3},       // an empty set never matches
        {"a|b", "|", 3, 3},
        {"a|b", "|", 7, 3},
        {"a|b", "|", -2, 1},
        {"ab`|`", "`", 0, 4},    // the closing back-quote is compared with the set
        {"`x``|`|", "|", 0, 6},  // two spans back to back
    };
    for (const SearchCase& c : cases)
        EXPECT_EQ(FindFirstOfUnquoted(c.text, c.set, c.start), c.expected)
            << '"' << c.text << "\" from " << c.start;
}

TEST(FindFirstNotOfUnquoted, finds_the_first_character_outside_the_set)
{
    const SearchCase cases[] = {
        {"  a", " ", 0, 2},
        {"abc", "", 1, 1},       // empty set: the start itself
        {"   ", " ", 0, 3},
        {"abc", " ", 3, 3},
        {"abc", " ", 9, 3},
        {"  `x`", " ", 0, 2},
        {" `x`", " `", 0, 1},    // an opening back-quote always starts a token
    };
    for (const SearchCase& c : cases)
        EXPECT_EQ(FindFirstNotOfUnquoted(c.text, c.set, c.start), c.expected)
            << '"' << c.text << "\" from " << c.start;
}

TEST(TurnToward, turns_the_short_way_round_within_the_limit)
{
    // Heading 3.0 toward a bearing of -3.0 is a small turn through π.
    const float toX = std::sin(-3.0f);
    const float toZ = std::cos(-3.0f);
    const float throughPi = static_cast<float>(2.0 * std::numbers::pi - 6.0);
    struct Case {
        float fromX, fromZ, toX, toZ, heading, maxStep, expected;
    };
    const Case cases[] = {
        {0, 0, toX, toZ, 3.0f, 1.0f, throughPi},
        {0, 0, toX, toZ, 3.0f, 0.1f, 0.1f},
        {0, 0, -toX, toZ, -3.0f, 1.0f, -throughPi},
        {0, 0, -toX, toZ, -3.0f, 0.1f, -0.1f},
        {0, 0, toX, toZ, 3.0f + static_cast<float>(2 * kTwoPi), 1.0f, throughPi},
        {10, 20, 11, 21, 0.0f, 1.0f, static_cast<float>(std::numbers::pi / 4)},
        {10, 20, 11, 21, 0.0f, 0.5f, 0.5f},
        {0, 0, 0, -1, 0.0f, 0.25f, 0.25f},  // straight behind: the limit, positive
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TurnToward(c.fromX, c.fromZ, c.toX, c.toZ, c.heading, c.maxStep), c.expected, 1e-5)
            << "heading " << c.heading << " limit " << c.maxStep;
}

TEST(WrapAngle, lands_in_the_half_open_ranges)
{
    struct Case {
        double angle, toTwoPi, toPi;
    };
    const Case cases[] = {
        {0.0, 0.0, 0.0},
        {kPi, kPi, kPi},
        {-kPi, kPi, kPi},                   // −π itself is outside (−π, π]
        {kTwoPi, 0.0, 0.0},
        {-0.5, kTwoPi - 0.5, -0.5},
        {3 * kTwoPi + 1.0, 1.0, 1.0},
        {-3 * kTwoPi - 1.0, kTwoPi - 1.0, -1.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(WrapAngle2Pi(c.angle), c.toTwoPi, 1e-9) << c.angle;
        EXPECT_NEAR(WrapAnglePi(c.angle), c.toPi, 1e-9) << c.angle;
    }
}

TEST(WrapAngle, far_and_infinite_angles_end_instead_of_stepping_forever)
{
    for (const double far : {1e30, -1e30, 1e9}) {
        const double twoPi = WrapAngle2Pi(far);
        const double pi = WrapAnglePi(far);
        EXPECT_TRUE(twoPi >= 0.0 && twoPi < kTwoPi) << far;
        EXPECT_TRUE(pi > -kPi && pi <= kPi) << far;
    }
    EXPECT_TRUE(std::isnan(WrapAnglePi(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(WrapAngle2Pi(-std::numeric_limits<double>::infinity())));
}

TEST(HsvToRgb, gives_each_sector_its_colour)
{
    struct Case {
        float hue, saturation, value, r, g, b;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 0, 0},
        {30, 1, 1, 1, 0.5f, 0},
        {90, 1, 1, 0.5f, 1, 0},
        {150, 1, 1, 0, 1, 0.5f},
        {210, 1, 1, 0, 0.5f, 1},
        {270, 1, 1, 0.5f, 0, 1},
        {330, 1, 1, 1, 0, 0.5f},
        {0, 0.5f, 0.8f, 0.8f, 0.4f, 0.4f},
        {200, 0, 0.3f, 0.3f, 0.3f, 0.3f},  // no saturation: grey
        {-1, 1, 0.6f, 0.6f, 0.6f, 0.6f},   // hue −1 means none: grey
    };
    for (const Case& c : cases) {
        float r = -1, g = -1, b = -1;
        HsvToRgb(c.hue, c.saturation, c.value, r, g, b);
        EXPECT_NEAR(r, c.r, 1e-6) << "hue " << c.hue;
        EXPECT_NEAR(g, c.g, 1e-6) << "hue " << c.hue;
        EXPECT_NEAR(b, c.b, 1e-6) << "hue " << c.hue;
    }
}

TEST(HsvToRgb, hue_outside_the_circle_writes_nothing)
{
    for (const float hue : {360.0f, 720.0f, -30.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        float r = 7, g = 8, b = 9;
        HsvToRgb(hue, 1, 1, r, g, b);
        EXPECT_EQ(r, 7) << hue;
        EXPECT_EQ(g, 8) << hue;
        EXPECT_EQ(b, 9) << hue;
    }
}

TEST(HueToRgb, follows_the_four_pieces_and_shifts_t_into_range)
{
    struct Case {
        float t, expected;
    };
    const float p = 0.2f;
    const float q = 0.8f;
    const Case cases[] = {
        {0.1f, 0.56f}, {0.3f, q}, {0.6f, 0.44f}, {0.9f, p},
        {-0.9f, 0.56f}, {1.1f, 0.56f}, {0.0f, p}, {0.5f, 0.8f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(HueToRgb(p, q, c.t), c.expected, 1e-5) << "t " << c.t;
}

TEST(Clamp, holds_within_bounds_and_prefers_upper_when_they_cross)
{
    struct Case {
        float x, lower, upper, expected;
    };
    const Case cases[] = {
        {5, 0, 1, 1}, {-1, 0, 1, 0}, {0.5f, 0, 1, 0.5f}, {0.5f, 2, 1, 1}, {-3, 2, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Clamp(c.x, c.lower, c.upper), c.expected) << c.x;
}

TEST(RandomVector, uses_the_first_and_third_draws_and_has_the_length)
{
    csrand(1);  // draws 41, 18467 (unused), 6334, then 26500
    glm::vec3 out(0.0f);
    const glm::vec3& returned = RandomVector(out, 2.0f);
    EXPECT_EQ(&returned, &out);
    EXPECT_NEAR(out.x, 0.0054834, 1e-5);
    EXPECT_NEAR(out.y, -1.8744365, 1e-5);
    EXPECT_NEAR(out.z, 0.6974652, 1e-5);
    EXPECT_NEAR(std::sqrt(out.x * out.x + out.y * out.y + out.z * out.z), 2.0, 1e-5);
    EXPECT_EQ(crand(), 26500);
}

// Three slots, filled the way users fill them before the first insertion.
class RankedListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.capacity = 3;
        list.items = new void*[3]{nullptr, nullptr, nullptr};
        list.scores = new float[3]{0.0f, 0.0f, 0.0f};
    }
    void TearDown() override { list.Free(); }

    std::vector<void*> Items() const { return std::vector<void*>(list.items, list.items + list.capacity); }
    std::vector<float> Scores() const { return std::vector<float>(list.scores, list.scores + list.capacity); }

    RankedList list;
    int a = 0, b = 0, c = 0, d = 0, e = 0;
};

TEST_F(RankedListTest, keeps_the_best_in_descending_order)
{
    list.Insert(&a, 5);
    list.Insert(&b, 3);
    list.Insert(&c, 4);
    EXPECT_EQ(Items(), (std::vector<void*>{&a, &c, &b}));
    EXPECT_EQ(Scores(), (std::vector<float>{5, 4, 3}));

    list.Insert(&d, 4.5f);  // the last entry falls out
    EXPECT_EQ(Items(), (std::vector<void*>{&a, &d, &c}));
    EXPECT_EQ(Scores(), (std::vector<float>{5, 4.5f, 4}));
}

TEST_F(RankedListTest, equal_score_goes_before_the_entries_that_have_it)
{
    list.Insert(&a, 5);
    list.Insert(&b, 3);
    list.Insert(&c, 5);
    EXPECT_EQ(Items(), (std::vector<void*>{&c, &a, &b}));
    list.Insert(&d, 3);
    EXPECT_EQ(Items(), (std::vector<void*>{&c, &a, &d}));
}

TEST_F(RankedListTest, score_below_every_slot_changes_nothing)
{
    list.Insert(&a, 5);
    list.Insert(&b, 4);
    list.Insert(&c, 3);
    list.Insert(&e, 2);
    EXPECT_EQ(Items(), (std::vector<void*>{&a, &b, &c}));
    EXPECT_EQ(Scores(), (std::vector<float>{5, 4, 3}));

    RankedList fresh;
    fresh.capacity = 1;
    fresh.items = new void*[1]{nullptr};
    fresh.scores = new float[1]{0.0f};
    fresh.Insert(&e, -1.0f);  // below the filler score too
    EXPECT_EQ(fresh.items[0], nullptr);
    fresh.Free();
}

TEST_F(RankedListTest, free_empties_the_list_and_can_be_repeated)
{
    list.Free();
    EXPECT_EQ(list.capacity, 0);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(list.scores, nullptr);
    list.Insert(&a, 1);  // an empty list ignores insertions
    list.Free();
}

TEST(GeneralUtilsSelfTest, passes)
{
    EXPECT_NO_THROW(GeneralUtilsSelfTest());
}

}  // namespace

TEST(FloatToString, writes_six_decimals_whatever_the_length)
{
    EXPECT_EQ(FloatToString(1.0f), "1.000000");
    EXPECT_EQ(FloatToString(-0.25f), "-0.250000");
    // Far longer than any fixed buffer a short number needs; nothing is cut off.
    const std::string large = FloatToString(3.0e38f);
    EXPECT_EQ(large.size(), 39u + 7u);  // 39 digits, the point and six zeros
    EXPECT_EQ(large.substr(large.size() - 7), ".000000");
}
