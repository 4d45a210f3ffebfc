#include "game/world/JSONLoader.h"

#include "engine/base/QelFileServices.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class JSONLoaderTest : public ::testing::Test {
protected:
    std::string ErrorOfInit(const std::string& name)
    {
        return qeltest::ErrorText([&] { loader.Init(name); });
    }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    JSONLoader loader;
};

TEST_F(JSONLoaderTest, yaml_document_is_read_before_json)
{
    data.Write("preferences.yaml", "from: yaml\n");
    data.Write("preferences.json", "{\"from\": \"json\"}\n");
    loader.Init("preferences");
    EXPECT_EQ(loader.GetString("from"), "yaml");
}

TEST_F(JSONLoaderTest, json_document_is_read_when_there_is_no_yaml)
{
    data.Write("ships.json", "{\"from\": \"json\", \"count\": 2}");
    loader.Init("ships");
    EXPECT_EQ(loader.GetString("from"), "json");
    EXPECT_EQ(loader.GetString("count"), "2");
}

TEST_F(JSONLoaderTest, missing_document_is_an_error_naming_both_files_it_looked_for)
{
    EXPECT_THROW(loader.Init("preferences"), JSONLoaderError);
    EXPECT_EQ(ErrorOfInit("preferences"), "The document \"preferences\" could not be read: neither " +
                                              (data / "preferences.yaml") + " nor " + (data / "preferences.json") +
                                              " opened.");
}

TEST_F(JSONLoaderTest, document_names_that_leave_the_data_folder_are_refused)
{
    data.Write("inside.yaml", "a: 1\n");
    for (const std::string name : {"../inside", "/etc/passwd", "sub/../../x", ""})
        EXPECT_THROW(loader.Init(name), JSONLoaderError) << name;
}

TEST_F(JSONLoaderTest, malformed_document_names_the_file_and_the_line_and_keeps_the_old_root)
{
    data.Write("preferences.yaml", "kept: 1\n");
    loader.Init("preferences");
    data.Write("preferences.yaml", "{\n  good: 1\n  bad: [1, 2\n  other: }\n}\n");
    EXPECT_THROW(loader.Init("preferences"), Hjson::syntax_error);
    const std::string message = ErrorOfInit("preferences");
    EXPECT_EQ(message.rfind(data / "preferences.yaml: ", 0), 0u) << message;
    EXPECT_NE(message.find("at line 5, column 1"), std::string::npos) << message;
    EXPECT_EQ(loader.GetString("kept"), "1");
    EXPECT_EQ(loader.Path(), data / "preferences.yaml");
}

TEST_F(JSONLoaderTest, a_byte_order_mark_is_skipped_and_the_path_read_is_kept)
{
    data.Write("ships.json", "\xEF\xBB\xBF{\"from\": \"an editor that marks its files\"}");
    loader.Init("ships");
    EXPECT_EQ(loader.GetString("from"), "an editor that marks its files");
    EXPECT_EQ(loader.Path(), data / "ships.json");
}

TEST_F(JSONLoaderTest, documents_come_from_the_data_subfolder_when_one_is_named)
{
    data.Write("campaign/preferences.yaml", "from: subfolder\n");
    data.Write("preferences.yaml", "from: top\n");
    QelFileServices::Instance().SetDataSubfolder("campaign");
    loader.Init("preferences");
    QelFileServices::Instance().SetDataSubfolder("");
    EXPECT_EQ(loader.GetString("from"), "subfolder");
}

TEST_F(JSONLoaderTest, crlf_document_without_a_last_line_end_is_read_whole)
{
    data.Write("doc.yaml", "first: one\r\nlast: quoteless text");
    loader.Init("doc");
    EXPECT_EQ(loader.GetString("first"), "one");
    EXPECT_EQ(loader.GetString("last"), "quoteless text");
}

TEST_F(JSONLoaderTest, each_init_replaces_the_whole_root)
{
    data.Write("one.yaml", "a: 1\n");
    data.Write("two.yaml", "b: 2\n");
    loader.Init("one");
    loader.Init("two");
    EXPECT_EQ(loader.GetString("a"), "");
    EXPECT_EQ(loader.GetString("b"), "2");
}

TEST_F(JSONLoaderTest, values_convert_to_text_and_collections_refuse)
{
    data.Write("doc.yaml", "{n: null, t: true, f: false, i: -7, d: 2.5, s: \"hello\", l: [1], m: {a: 1}}");
    loader.Init("doc");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"absent", ""}, {"n", "null"}, {"t", "true"}, {"f", "false"}, {"i", "-7"}, {"d", "2.5"}, {"s", "hello"},
    };
    for (const auto& [key, text] : cases)
        EXPECT_EQ(loader.GetString(key), text) << key;
    for (const std::string key : {"l", "m"}) {
        try {
            loader.GetString(key);
            ADD_FAILURE() << key << " gave text";
        } catch (const Hjson::type_mismatch& error) {
            EXPECT_STREQ(error.what(), "Illegal type for this operation.");
        }
    }
    EXPECT_EQ(loader.root.size(), 8u) << "looking a key up does not add it";
}

TEST_F(JSONLoaderTest, counts_elements_and_lists_of_lists)
{
    data.Write("doc.yaml",
               "{\n  rows: [[\"a\", \"b\", \"c\"], {x: 1, y: \"two\"}, \"scalar\"]\n  words: [\"alpha\", 2]\n  table: {a: 1, b: 2}\n  text: plain\n}\n");
    loader.Init("doc");
    EXPECT_EQ(loader.GetCount("rows"), 3);
    EXPECT_EQ(loader.GetCount("table"), 2);
    EXPECT_EQ(loader.GetCount("text"), 0);
    EXPECT_EQ(loader.GetCount("absent"), 0);
    EXPECT_EQ(loader.GetStringAt("words", 0), "alpha");
    EXPECT_EQ(loader.GetStringAt("words", 1), "2");
    EXPECT_EQ(loader.GetStringAt("words", 9), "");

    std::vector<std::string> out = {"kept"};
    EXPECT_EQ(loader.GetStringList("rows", out, 0), 3);
    EXPECT_EQ(loader.GetStringList("rows", out, 1), 2);
    EXPECT_EQ(loader.GetStringList("rows", out, 2), 0);
    EXPECT_EQ(loader.GetStringList("rows", out, 7), 0);
    EXPECT_EQ(out, (std::vector<std::string>{"kept", "a", "b", "c", "1", "two"}));
}

}  // namespace
