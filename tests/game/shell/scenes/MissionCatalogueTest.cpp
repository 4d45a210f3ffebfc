// The mission chooser's catalogue, over a data folder of its own: which
// folders are listed, under which category and in which order, and what a
// folder without a usable description.yaml falls back to.

#include "game/shell/scenes/MissionCatalogue.h"

#include "engine/base/QelInputFactoryBase.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptConsoleLog.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::string Yaml(const std::string& category, const std::string& name, const std::string& description = "d",
                 const std::string& keywords = "Keywords: k\n")
{
    return "Category: " + category + "\nCategory Priority: 1\nVisible Mission Name: " + name +
           "\nDescription: " + description + "\n" + keywords;
}

class MissionCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { gInputFactory = &input; }
    void TearDown() override { gInputFactory = nullptr; }

    void Describe(const std::string& folder, const std::string& file, const std::string& text)
    {
        data.Write("missions/" + folder + "/" + file, text);
    }

    // Category, then the folder names of its missions.
    std::vector<std::pair<std::string, std::vector<std::string>>> Listing() const
    {
        std::vector<std::pair<std::string, std::vector<std::string>>> listing;
        for (const auto& [category, missions] : catalogue) {
            listing.emplace_back(category, std::vector<std::string>{});
            for (const MissionDescription& mission : missions)
                listing.back().second.push_back(mission.folderName);
        }
        return listing;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::ScriptedInput input;
    MissionMap catalogue;
};

TEST_F(MissionCatalogueTest, folder_names_that_are_short_dotted_or_hold_an_upper_case_x_are_never_listed)
{
    struct Case {
        const char* name;
        bool listed;
    };
    for (const Case c : {Case{"abc", false}, Case{"abcd", true}, Case{"my.mission", false}, Case{"TestX", false},
                         Case{"textbook", true}, Case{"common", true}}) {
        EXPECT_EQ(IsMissionFolderName(c.name), c.listed) << c.name;
        Describe(c.name, "description.yaml", Yaml("All", c.name));
    }
    ScanMissions(catalogue);
    EXPECT_EQ(Listing(), (decltype(Listing()){{"All", {"abcd", "common", "textbook"}}}));
}

TEST_F(MissionCatalogueTest, categories_come_in_byte_order_and_missions_in_folder_order_within_them)
{
    Describe("zeta_two", "description.yaml", Yaml("Zeta", "Second"));
    Describe("alpha_one", "description.yaml", Yaml("alpha", "First"));
    Describe("zeta_one", "description.yaml", Yaml("Zeta", "First"));
    ScanMissions(catalogue);
    EXPECT_EQ(Listing(), (decltype(Listing()){{"Zeta", {"zeta_one", "zeta_two"}}, {"alpha", {"alpha_one"}}}));
}

TEST_F(MissionCatalogueTest, description_keys_fill_the_record_with_quotes_taken_off_and_keywords_joined)
{
    Describe("first_watch", "description.yaml",
             Yaml("Patrol", "First Watch", "\"Hold station: #1 priority.\"",
                  "Keywords:\n  - patrol\n  - helm\n"));
    ScanMissions(catalogue);
    ASSERT_EQ(catalogue["Patrol"].size(), 1u);
    const MissionDescription& mission = catalogue["Patrol"][0];
    EXPECT_EQ(mission.visibleName, "First Watch");
    EXPECT_EQ(mission.folderName, "first_watch");
    EXPECT_EQ(mission.description, "Hold station: #1 priority.");
    EXPECT_EQ(mission.keywords, "patrol, helm");
}

TEST_F(MissionCatalogueTest, without_a_description_that_loads_the_text_file_names_category_and_description)
{
    Describe("text_only", "description.txt", "  Training \r\n\tLearn to fly.  \r\nignored\r\n");
    Describe("bad_yaml", "description.yaml", "Category: \"never closed\n");
    Describe("bad_yaml", "description.txt", "Drills\nA fallback.\n");
    data.Write("missions/undescribed/script.py", "");
    data.Write("missions/notes", "a file, not a mission");
    testing::internal::CaptureStderr();
    ScanMissions(catalogue);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(Listing(), (decltype(Listing()){{"Drills", {"bad_yaml"}}, {"Training", {"text_only"}}}));
    const MissionDescription& mission = catalogue["Training"][0];
    EXPECT_EQ(mission.visibleName, "text_only");
    EXPECT_EQ(mission.description, "Learn to fly.");
    EXPECT_EQ(mission.keywords, "");
    EXPECT_NE(errors.find("undescribed: no description.yaml or description.txt"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("notes"), std::string::npos) << errors;
}

// The operator choosing a mission reads, among the mission output on the
// server's screen, why a mission is listed from its text file or not at all.
TEST_F(MissionCatalogueTest, a_description_yaml_that_cannot_be_read_is_named_with_its_reason_in_the_console_log)
{
    struct Log : ScriptConsoleLog {
        void AddLine(const std::string& line, const glm::vec4& colour) override
        {
            lines.push_back(line);
            EXPECT_EQ(colour, MissionScript::kStderrColour);
        }
        std::vector<std::string> lines;
    } log;
    theMissionScript.SetConsoleLog(&log);
    Describe("bad_yaml", "description.yaml", "Category: \"never closed\n");
    Describe("bad_yaml", "description.txt", "Drills\nA fallback.\n");
    Describe("dashed", "description.yaml", "Category: A\nVisible Mission Name: Night - Drill\n");
    Describe("good_one", "description.yaml", Yaml("A", "Fine"));
    testing::internal::CaptureStderr();
    ScanMissions(catalogue);
    const std::string errors = testing::internal::GetCapturedStderr();
    theMissionScript.SetConsoleLog(nullptr);

    EXPECT_EQ(Listing(), (decltype(Listing()){{"A", {"good_one"}}, {"Drills", {"bad_yaml"}}}));
    const std::string folder = data / "missions";
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  folder + "/bad_yaml/description.yaml cannot be read (ERROR: unclosed quote found. Please close the "
                           "quote and reparse. Yaml Parser: Error: Failed to parse file, invalid yaml syntax at line: "
                           "1); the mission is listed from its description.txt",
                  folder + "/dashed/description.yaml cannot be read (ERROR: Variable Visible Mission Name contains a "
                           "'-' at column 28. A Dash must not exist there. Yaml Parser: Error: Failed to parse file, "
                           "invalid yaml syntax at line: 2); the mission is not listed"}));
    EXPECT_NE(errors.find("invalid yaml syntax at line: 2"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("dashed: no description.yaml or description.txt"), std::string::npos) << errors;
}

TEST_F(MissionCatalogueTest, a_new_scan_forgets_missions_that_are_gone)
{
    Describe("first_run", "description.yaml", Yaml("A", "One"));
    ScanMissions(catalogue);
    std::filesystem::remove_all(data.Path() / "missions" / "first_run");
    Describe("second_run", "description.yaml", Yaml("B", "Two"));
    ScanMissions(catalogue);
    EXPECT_EQ(Listing(), (decltype(Listing()){{"B", {"second_run"}}}));
}

}  // namespace

namespace {

// Over the game's own data folder (the test environment's): each shipped
// mission is listed under its category with its name and a description.
TEST(ShippedMissionsTest, the_shipped_missions_are_listed_with_their_names_and_descriptions)
{
    qeltest::ScriptedInput input;
    gInputFactory = &input;
    MissionMap catalogue;
    ScanMissions(catalogue);
    const std::map<std::string, std::pair<std::string, std::string>> expected{
        {"first_watch", {"Patrol", "First Watch"}},
        {"skirmish", {"Skirmish", "Skirmish at Corrin Reach"}},
    };
    std::map<std::string, std::pair<std::string, std::string>> found;
    for (const auto& [category, missions] : catalogue)
        for (const MissionDescription& mission : missions) {
            found[mission.folderName] = {category, mission.visibleName};
            EXPECT_GT(mission.description.size(), 40u) << mission.folderName;
            EXPECT_FALSE(mission.keywords.empty()) << mission.folderName;
        }
    EXPECT_EQ(found, expected);
    gInputFactory = nullptr;
}

}  // namespace
