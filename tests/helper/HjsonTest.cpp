#include "helper/Hjson.h"

#include "HjsonTestSupport.h"

#include "helper/CRand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using Hjson::Type;
using Hjson::Value;

// The message of the type_mismatch the call throws, or "" when it throws none.
template <typename Call>
std::string MismatchText(Call call)
{
    try {
        call();
    } catch (const Hjson::type_mismatch& error) {
        return error.what();
    }
    return "";
}

// The message of the syntax_error the text raises, or "" when it parses.
std::string SyntaxErrorText(const std::string& text)
{
    try {
        Hjson::Unmarshal(text);
    } catch (const Hjson::syntax_error& error) {
        return error.what();
    }
    return "";
}

Value ListOf(std::initializer_list<Value> elements)
{
    Value list(Type::Vector);
    for (const Value& element : elements) list.push_back(element);
    return list;
}

TEST(HjsonValueTest, constructors_give_the_types_of_their_arguments)
{
    EXPECT_EQ(Value().type(), Type::Undefined);
    EXPECT_FALSE(Value().defined());
    EXPECT_EQ(Value(nullptr).type(), Type::Null);
    EXPECT_TRUE(Value(nullptr).defined());
    EXPECT_EQ(Value(true).type(), Type::Bool);
    EXPECT_EQ(Value(1.5).type(), Type::Double);
    EXPECT_EQ(Value(int64_t{7}).type(), Type::Int64);
    EXPECT_EQ(Value(7).type(), Type::Int64);
    EXPECT_EQ(Value("text").type(), Type::String);
    EXPECT_EQ(Value(std::string("text")).type(), Type::String);
    EXPECT_EQ(Value(Type::Map).type(), Type::Map);
    EXPECT_EQ(Value(Type::Vector).size(), 0u);
    EXPECT_EQ(static_cast<int>(Type::Map), 7);
}

TEST(HjsonValueTest, reading_an_absent_key_through_const_gives_undefined_and_adds_nothing)
{
    const Value map = Hjson::Unmarshal("{a: 1}");
    EXPECT_FALSE(map["missing"].defined());
    EXPECT_FALSE(map["a"]["deeper"].defined());
    const Value number(5);
    EXPECT_FALSE(number["a"].defined());
    EXPECT_EQ(map.size(), 1u);
}

TEST(HjsonValueTest, writing_a_key_creates_it_and_turns_undefined_into_a_map)
{
    Value value;
    value["b"] = 2;
    value["a"] = "x";
    value["b"] = 3;
    EXPECT_EQ(value.type(), Type::Map);
    ASSERT_EQ(value.size(), 2u);
    EXPECT_EQ(value.key(0), "b");
    EXPECT_EQ(value[0].to_int64(), 3);
    EXPECT_EQ(value.key(1), "a");

    Value number(5);
    EXPECT_EQ(MismatchText([&] { number["a"] = 1; }), "Must be of type Map for that operation.");
}

TEST(HjsonValueTest, index_reads_vector_elements_and_map_values_in_insertion_order)
{
    Value map = Hjson::Unmarshal("{z: 1, a: 2, m: 3}");
    EXPECT_EQ(map[0].to_int64(), 1);  // literal 0 on a non-const value picks the index
    EXPECT_EQ(map[2].to_int64(), 3);
    EXPECT_EQ(map.key(1), "a");
    EXPECT_FALSE(map[3].defined());
    EXPECT_FALSE(map[-1].defined());
    EXPECT_FALSE(Value("text")[0].defined());
    EXPECT_THROW(map.key(3), Hjson::index_out_of_bounds);
    EXPECT_THROW(Value(1).key(0), Hjson::type_mismatch);

    const Value list = ListOf({10, "x"});
    EXPECT_EQ(list[1].to_string(), "x");
    EXPECT_FALSE(list[2].defined());
}

TEST(HjsonValueTest, erase_keeps_the_order_and_lookups_of_the_remaining_keys)
{
    Value map = Hjson::Unmarshal("{a: 1, b: 2, c: 3, d: 4}");
    EXPECT_TRUE(map.erase("b"));
    EXPECT_FALSE(map.erase("b"));
    EXPECT_FALSE(Value(1).erase("a"));
    ASSERT_EQ(map.size(), 3u);
    EXPECT_EQ(map.key(1), "c");
    EXPECT_EQ(map["c"].to_int64(), 3);
    EXPECT_EQ(map["d"].to_int64(), 4);
    map["e"] = 5;
    EXPECT_EQ(map.key(3), "e");
    EXPECT_EQ(map["e"].to_int64(), 5);
}

TEST(HjsonValueTest, push_back_appends_and_refuses_non_vectors)
{
    Value list;
    list.push_back(1);
    list.push_back("two");
    EXPECT_EQ(list.type(), Type::Vector);
    EXPECT_EQ(list.size(), 2u);
    Value map(Type::Map);
    EXPECT_EQ(MismatchText([&] { map.push_back(1); }), "Must be of type Vector for that operation.");
}

TEST(HjsonValueTest, copies_are_deep_and_moves_leave_undefined)
{
    Value original = Hjson::Unmarshal("{list: [1, 2], inner: {a: 1}}");
    Value copy = original;
    copy["inner"]["a"] = 99;
    copy["list"].push_back(3);
    EXPECT_EQ(original["inner"]["a"].to_int64(), 1);
    EXPECT_EQ(original["list"].size(), 2u);

    Value moved = std::move(copy);
    EXPECT_EQ(moved["list"].size(), 3u);
    EXPECT_EQ(copy.type(), Type::Undefined);  // NOLINT(bugprone-use-after-move): the state is specified
    copy["again"] = 1;
    EXPECT_EQ(copy.size(), 1u);

    original = original["inner"];  // assigning a part of itself
    EXPECT_EQ(original["a"].to_int64(), 1);
}

TEST(HjsonValueTest, text_conversion_of_each_type)
{
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        {Value(), ""},
        {Value(nullptr), "null"},
        {Value(true), "true"},
        {Value(false), "false"},
        {Value(42), "42"},
        {Value(int64_t{-9'000'000'000}), "-9000000000"},
        {Value(3.9), "3.9"},
        {Value(2.0), "2"},
        {Value(-0.25), "-0.25"},
        {Value("  as is \n"), "  as is \n"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.to_string(), c.text);
    EXPECT_EQ(MismatchText([] { Value(Type::Vector).to_string(); }), "Illegal type for this operation.");
    EXPECT_EQ(MismatchText([] { Value(Type::Map).to_string(); }), "Illegal type for this operation.");
}

TEST(HjsonValueTest, numeric_conversion_reads_strings_only_when_the_whole_text_is_a_number)
{
    const struct {
        Value value;
        double number;
        int64_t integer;
    } cases[] = {
        {Value(), 0, 0},
        {Value(nullptr), 0, 0},
        {Value(true), 1, 1},
        {Value(false), 0, 0},
        {Value(3.9), 3.9, 3},
        {Value(-3.9), -3.9, -3},
        {Value(12), 12, 12},
        {Value("12"), 12, 12},
        {Value("3.9"), 3.9, 3},
        {Value("-1e3"), -1000, -1000},
        {Value("9223372036854775807"), 9223372036854775807.0, std::numeric_limits<int64_t>::max()},
        {Value("12abc"), 0, 0},
        {Value(" 12"), 0, 0},
        {Value(""), 0, 0},
        {Value("0x10"), 0, 0},
        {Value("nan"), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hjson::MarshalJson(c.value));
        EXPECT_EQ(c.value.to_double(), c.number);
        EXPECT_EQ(c.value.to_int64(), c.integer);
    }
    EXPECT_EQ(MismatchText([] { Value(Type::Map).to_double(); }), "Illegal type for this operation.");
    EXPECT_EQ(MismatchText([] { Value(Type::Vector).to_int64(); }), "Illegal type for this operation.");
}

TEST(HjsonValueTest, integer_conversion_of_doubles_outside_the_range_saturates)
{
    EXPECT_EQ(Value(1e300).to_int64(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Value(-1e300).to_int64(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Value(std::nan("")).to_int64(), 0);
}

TEST(HjsonValueTest, equality_compares_numbers_by_value_and_maps_as_dictionaries)
{
    EXPECT_TRUE(Value(1) == Value(1.0));
    EXPECT_FALSE(Value(1) == Value(1.5));
    EXPECT_FALSE(Value(int64_t{9007199254740993}) == Value(9007199254740992.0));
    EXPECT_FALSE(Value(1) == Value("1"));
    EXPECT_FALSE(Value() == Value(nullptr));
    EXPECT_TRUE(Hjson::Unmarshal("{a: 1, b: [1, 2]}") == Hjson::Unmarshal("{b: [1, 2], a: 1.0}"));
    EXPECT_FALSE(Hjson::Unmarshal("{a: 1}") == Hjson::Unmarshal("{a: 1, b: 2}"));
    EXPECT_FALSE(Hjson::Unmarshal("[1, 2]") == Hjson::Unmarshal("[2, 1]"));
}

TEST(HjsonParseTest, numbers_are_int64_when_written_as_integers_that_fit_else_double)
{
    const struct {
        const char* text;
        Value expected;
        Type type;
    } cases[] = {
        {"1", Value(1), Type::Int64},
        {"-0", Value(0), Type::Int64},
        {"9223372036854775807", Value(std::numeric_limits<int64_t>::max()), Type::Int64},
        {"-9223372036854775808", Value(std::numeric_limits<int64_t>::min()), Type::Int64},
        {"9223372036854775808", Value(9223372036854775808.0), Type::Double},
        {"1.0", Value(1.0), Type::Double},
        {"1.", Value(1.0), Type::Double},
        {"17.01e2", Value(1701.0), Type::Double},
        {"1E-2", Value(0.01), Type::Double},
        {"1e400", Value("1e400"), Type::String},  // not finite: stays text
        {"00", Value("00"), Type::String},
        {"0x14", Value("0x14"), Type::String},
        {"1e", Value("1e"), Type::String},
        {"-", Value("-"), Type::String},
        {"+1", Value("+1"), Type::String},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Value value = Hjson::Unmarshal(std::string("{v: ") + c.text + "\n}")["v"];
        EXPECT_EQ(value.type(), c.type);
        EXPECT_TRUE(value == c.expected) << value.to_string();
    }
}

TEST(HjsonParseTest, quoteless_values_run_to_the_end_of_the_line)
{
    const Value doc = Hjson::Unmarshal(
        "{\n"
        "  text: some text, with } and ] inside   \n"
        "  comment: a # not a comment\n"
        "  yes: true # a comment\n"
        "  num: 5, other: 6\n"
        "  url: http://example.com\n"
        "}");
    EXPECT_EQ(doc["text"].to_string(), "some text, with } and ] inside");
    EXPECT_EQ(doc["comment"].to_string(), "a # not a comment");
    EXPECT_TRUE(doc["yes"] == Value(true));
    EXPECT_TRUE(doc["num"] == Value(5));
    EXPECT_TRUE(doc["other"] == Value(6));
    EXPECT_EQ(doc["url"].to_string(), "http://example.com");
}

TEST(HjsonParseTest, duplicate_keys_keep_the_first_place_and_the_last_value)
{
    const Value doc = Hjson::Unmarshal("{a: 1, b: 2, a: 3}");
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc.key(0), "a");
    EXPECT_EQ(doc["a"].to_int64(), 3);
    EXPECT_EQ(doc.key(1), "b");
}

TEST(HjsonParseTest, duplicate_keys_are_an_error_naming_their_place_when_asked)
{
    const Hjson::DecoderOptions strict{.duplicateKeyException = true};
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"{a: 1, b: 2, a: 3}", "Found a duplicate of the key 'a' at line 1, column 14"},
        {"first: 1\nsecond: {x: 1\n  x: 2}\n", "Found a duplicate of the key 'x' at line 3, column 3"},
        {"list: [{k: 1}, {k: 2}]\n\"list\": 3\n", "Found a duplicate of the key 'list' at line 2, column 1"},
    };
    for (const Case& c : cases) {
        try {
            Hjson::Unmarshal(c.text, strict);
            ADD_FAILURE() << c.text << " parsed";
        } catch (const Hjson::syntax_error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
    EXPECT_EQ(Hjson::Unmarshal("{a: {k: 1}, b: {k: 2}}", strict)["b"]["k"].to_int64(), 2)
        << "the same key in two maps is no duplicate";
}

TEST(HjsonParseTest, root_braces_are_optional_and_an_empty_document_is_an_empty_map)
{
    const Value doc = Hjson::Unmarshal("# settings\nfirst: 1\nsecond: [1, 2]\n");
    EXPECT_EQ(doc.key(0), "first");
    EXPECT_EQ(doc["second"].size(), 2u);
    EXPECT_TRUE(Hjson::Unmarshal("") == Value(Type::Map));
    EXPECT_TRUE(Hjson::Unmarshal("\n\n \n\n") == Value(Type::Map));
    EXPECT_TRUE(Hjson::Unmarshal(" 42 ") == Value(42));
    EXPECT_TRUE(Hjson::Unmarshal("\"a: b\"") == Value("a: b"));
}

TEST(HjsonParseTest, crlf_documents_read_like_lf_documents)
{
    const Value doc = Hjson::Unmarshal(
        "{\r\n  a: text  \r\n  b: 1\r\n  c:\r\n    '''\r\n    one\r\n      two\r\n    '''\r\n}\r\n");
    EXPECT_EQ(doc["a"].to_string(), "text");
    EXPECT_TRUE(doc["b"] == Value(1));
    EXPECT_EQ(doc["c"].to_string(), "one\n  two");
}

TEST(HjsonParseTest, multiline_strings_lose_the_indent_of_their_opening_quotes)
{
    const Value doc = Hjson::Unmarshal(
        "{\n"
        "  a:\n"
        "    '''\n"
        "    first\n"
        "      indented\n"
        "   short indent\n"
        "\n"
        "    last\n"
        "    '''\n"
        "  b: '''single line'''\n"
        "  c: ''\n"
        "}");
    EXPECT_EQ(doc["a"].to_string(), "first\n  indented\nshort indent\n\nlast");
    EXPECT_EQ(doc["b"].to_string(), "single line");
    EXPECT_EQ(doc["c"].to_string(), "");
}

TEST(HjsonParseTest, unicode_escapes_become_utf8_and_surrogate_pairs_join)
{
    const struct {
        const char* escaped;
        std::string text;
    } cases[] = {
        {"\\u0041", "A"},
        {"\\u00e9", "\xC3\xA9"},
        {"\\u20AC", "\xE2\x82\xAC"},
        {"\\uD83D\\uDE00", "\xF0\x9F\x98\x80"},
        {"\\ud83d\\ude00x", "\xF0\x9F\x98\x80x"},
        {"\\uD800", "\xEF\xBF\xBD"},         // lone high surrogate
        {"\\uDC00\\u0041", "\xEF\xBF\xBD" "A"},  // lone low surrogate
        {"\\uD800\\u0041", "\xEF\xBF\xBD" "A"},  // high surrogate without its pair
        {"\\u0000", std::string(1, '\0')},
        {"\\\"\\\\\\/\\b\\f\\n\\r\\t\\'", "\"\\/\b\f\n\r\t'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.escaped);
        EXPECT_EQ(Hjson::Unmarshal(std::string("[\"") + c.escaped + "\"]")[0].to_string(), c.text);
    }
}

TEST(HjsonParseTest, errors_name_the_line_and_column)
{
    const struct {
        const char* text;
        const char* position;
    } cases[] = {
        {"{\n  a: 1\n  b c: 2\n}", "line 3, column 4"},
        {"{\n  a: \"open\n}", "line 2, column 11"},
        {"{\n  a: 1\n", "line 3, column 1"},
        {"[\n  1\n  /* never closed\n]", "line 3, column 3"},
        {"{\n  a: \"\\q\"\n}", "line 2, column 7"},
        {"{\n  a: '''\n  text\n}", "line 2, column 6"},
        {"[1]\n]", "line 2, column 1"},
        {"{\n  a: [\n    }\n", "line 3, column 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NE(SyntaxErrorText(c.text).find(c.position), std::string::npos) << SyntaxErrorText(c.text);
    }
}

TEST(HjsonParseTest, nesting_is_capped_so_hostile_documents_cannot_exhaust_the_stack)
{
    const int reasonable = 200;
    EXPECT_EQ(Hjson::Unmarshal(std::string(reasonable, '[') + std::string(reasonable, ']')).size(), 1u);

    const int hostile = 100000;
    for (const std::string& text : {std::string(hostile, '['), "a:\n" + std::string(hostile, '['), [&] {
                                        std::string maps;
                                        for (int i = 0; i < hostile; ++i) maps += "{a:";
                                        return maps;
                                    }()}) {
        EXPECT_NE(SyntaxErrorText(text).find("Nesting deeper than"), std::string::npos) << SyntaxErrorText(text);
    }
}

// Random texts over Hjson's syntax characters either parse, and then survive
// writing and reading back, or are rejected with a syntax_error; nothing else.
TEST(HjsonParseTest, arbitrary_text_parses_or_fails_cleanly)
{
    static const std::string kAlphabet = "{}[],:\"'\\/*#\n\r\t ab1-0.eE+u'''trunl\xC3\xA9";
    csrand(20240611);
    int parsed = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int length = crand() % 40;
        for (int i = 0; i < length; ++i) text += kAlphabet[static_cast<size_t>(crand()) % kAlphabet.size()];
        SCOPED_TRACE(text);
        Value value;
        try {
            value = Hjson::Unmarshal(text);
        } catch (const Hjson::syntax_error&) {
            continue;
        }
        ++parsed;
        hjson_test::ExpectRoundTrip(value);
    }
    EXPECT_GT(parsed, 100);
}

// Strings that must be quoted, escaped or written in ''' form to read back.
const std::vector<std::string>& TrickyStrings()
{
    static const std::vector<std::string> strings = {
        "", " ", " leading", "trailing ", "\tindent", "plain words",
        "\"quoted\"", "'single'", "'", "''", "'''", "a'''b\nc", "x'\ny''",
        "line1\nline2", "\n", "a\n", "\nb", "  indented\n    more\n", "\n\n", "a\r\nb", "cr\r",
        "tab\there", "\x01\x1f", std::string("nul\0inside", 10),
        "123", "-5", "1.5", "1e5", "1e400", "00", "-", "1.", "true", "false", "null", "true # c",
        "true,", "1,2", "5 // c", "5 /* c */", "{", "}", "[", "]", ":", ",", "{a: 1}", "a: b",
        "#hash", "//slash", "/*star*/", "a # b", "a // b", "back\\slash", "\\", "trailing\\",
        "caf\xC3\xA9 \xE2\x82\xAC", "\xF0\x9F\x98\x80",
    };
    return strings;
}

TEST(HjsonWriteTest, tricky_strings_round_trip_as_values_keys_elements_and_roots)
{
    for (const std::string& text : TrickyStrings()) {
        SCOPED_TRACE(Hjson::MarshalJson(Value(text)));
        Value asMember;
        asMember["before"] = 1;
        asMember["value"] = text;
        asMember[text] = "key";
        asMember["after"] = ListOf({text, text});
        hjson_test::ExpectRoundTrip(asMember);
        hjson_test::ExpectRoundTrip(ListOf({text}));
        hjson_test::ExpectRoundTrip(Value(text));
    }
}

TEST(HjsonWriteTest, numbers_keep_their_type_and_key_order_is_kept)
{
    Value doc;
    doc["zeta"] = 2.0;
    doc["alpha"] = 2;
    doc["mid"] = -0.0;
    doc["big"] = 1e300;
    doc["small"] = 5e-324;
    doc["max"] = std::numeric_limits<int64_t>::max();
    doc["list"] = ListOf({1.5, 7, Value(nullptr), true, Value(Type::Map), Value(Type::Vector)});
    hjson_test::ExpectRoundTrip(doc);
    EXPECT_EQ(Hjson::Unmarshal(Hjson::Marshal(doc))["zeta"].type(), Type::Double);
    EXPECT_EQ(Hjson::Unmarshal(Hjson::MarshalJson(doc))["alpha"].type(), Type::Int64);
}

TEST(HjsonWriteTest, hjson_output_is_readable_and_json_output_is_plain_json)
{
    Value doc;
    doc["name"] = "Light cruiser";
    doc["speed"] = 1.5;
    doc["tags"] = ListOf({"fast", "1"});
    doc["notes"] = "first\nsecond";
    doc["empty"] = Value(Type::Map);
    EXPECT_EQ(Hjson::Marshal(doc),
              "{\n"
              "  name: Light cruiser\n"
              "  speed: 1.5\n"
              "  tags: [\n"
              "    fast\n"
              "    \"1\"\n"
              "  ]\n"
              "  notes:\n"
              "    '''\n"
              "    first\n"
              "    second\n"
              "    '''\n"
              "  empty: {}\n"
              "}");
    EXPECT_EQ(Hjson::MarshalJson(doc),
              "{\n"
              "  \"name\": \"Light cruiser\",\n"
              "  \"speed\": 1.5,\n"
              "  \"tags\": [\n"
              "    \"fast\",\n"
              "    \"1\"\n"
              "  ],\n"
              "  \"notes\": \"first\\nsecond\",\n"
              "  \"empty\": {}\n"
              "}");
}

TEST(HjsonWriteTest, keys_only_looked_up_are_left_out_and_non_finite_numbers_become_null)
{
    Value doc;
    doc["kept"] = 1;
    (void)doc["looked up only"];
    doc["infinite"] = std::numeric_limits<double>::infinity();
    const Value readBack = Hjson::Unmarshal(Hjson::Marshal(doc));
    EXPECT_EQ(readBack.size(), 2u);
    EXPECT_EQ(readBack["infinite"].type(), Type::Null);
    EXPECT_TRUE(Hjson::Unmarshal(Hjson::MarshalJson(doc)) == readBack);
}

}  // namespace
