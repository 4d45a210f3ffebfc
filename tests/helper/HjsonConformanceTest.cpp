// The Hjson format's own conformance suite: every case named *_test.hjson or
// *_test.json reads as the value of its *_result.json beside it, and every case
// whose name starts with "fail" is rejected with a message that names the line.
// (The sorted/ folder holds results for a sorting writer and the *testmeta
// files name writer options; neither changes what the reader must produce.)

#include "helper/Hjson.h"

#include "HjsonTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct SuiteCase {
    std::string name;  // path below the suite folder
    fs::path test;
    fs::path result;
    bool mustFail = false;
};

const fs::path kSuite = QEL_HJSON_SUITE;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<SuiteCase> SuiteCases()
{
    std::vector<SuiteCase> cases;
    for (const auto& entry : fs::recursive_directory_iterator(kSuite)) {
        const std::string file = entry.path().filename().string();
        const size_t marker = file.rfind("_test.");
        if (!entry.is_regular_file() || marker == std::string::npos) continue;
        const std::string extension = file.substr(marker + 6);
        if (extension != "hjson" && extension != "json") continue;
        SuiteCase suiteCase;
        suiteCase.name = fs::relative(entry.path(), kSuite).string();
        suiteCase.test = entry.path();
        suiteCase.result = entry.path().parent_path() / (file.substr(0, marker) + "_result.json");
        suiteCase.mustFail = file.starts_with("fail");
        cases.push_back(suiteCase);
    }
    return cases;
}

class HjsonConformanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::is_directory(kSuite)) GTEST_SKIP() << "no Hjson conformance suite at " << kSuite;
        cases = SuiteCases();
    }

    std::vector<SuiteCase> cases;
};

TEST_F(HjsonConformanceTest, suite_lists_only_cases_that_exist)
{
    std::istringstream list(ReadFile(kSuite / "testlist.txt"));
    int listed = 0;
    for (std::string name; std::getline(list, name);) {
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (name.empty()) continue;
        ++listed;
        EXPECT_TRUE(fs::is_regular_file(kSuite / name)) << name;
    }
    EXPECT_GT(listed, 0);
    EXPECT_GE(static_cast<int>(cases.size()), listed);
}

TEST_F(HjsonConformanceTest, every_passing_case_reads_as_its_result)
{
    int checked = 0;
    for (const SuiteCase& suiteCase : cases) {
        if (suiteCase.mustFail) continue;
        SCOPED_TRACE(suiteCase.name);
        ASSERT_TRUE(fs::is_regular_file(suiteCase.result));
        Hjson::Value parsed;
        Hjson::Value expected;
        ASSERT_NO_THROW(parsed = Hjson::Unmarshal(ReadFile(suiteCase.test)));
        ASSERT_NO_THROW(expected = Hjson::Unmarshal(ReadFile(suiteCase.result)));
        EXPECT_TRUE(parsed == expected) << "read:\n"
                                        << Hjson::MarshalJson(parsed) << "\nexpected:\n"
                                        << Hjson::MarshalJson(expected);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(HjsonConformanceTest, every_failing_case_is_rejected_naming_its_line)
{
    const std::regex position("at line ([0-9]+), column [0-9]+");
    int checked = 0;
    for (const SuiteCase& suiteCase : cases) {
        if (!suiteCase.mustFail) continue;
        SCOPED_TRACE(suiteCase.name);
        const std::string text = ReadFile(suiteCase.test);
        try {
            const Hjson::Value accepted = Hjson::Unmarshal(text);
            ADD_FAILURE() << "accepted as:\n" << Hjson::MarshalJson(accepted);
        } catch (const Hjson::syntax_error& error) {
            std::smatch match;
            const std::string message = error.what();
            ASSERT_TRUE(std::regex_search(message, match, position)) << message;
            const long line = std::stol(match[1]);
            const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
            EXPECT_GE(line, 1) << message;
            EXPECT_LE(line, lines) << message;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(HjsonConformanceTest, every_passing_case_survives_writing_and_reading_back)
{
    for (const SuiteCase& suiteCase : cases) {
        if (suiteCase.mustFail) continue;
        SCOPED_TRACE(suiteCase.name);
        Hjson::Value parsed;
        ASSERT_NO_THROW(parsed = Hjson::Unmarshal(ReadFile(suiteCase.test)));
        hjson_test::ExpectRoundTrip(parsed);
    }
}

}  // namespace
