// The module functions of zmx against the table of the module's interface
// (tests/fixtures/zmx-module-functions.txt): every one there, in the table's
// order, with its parameters and its documentation string as scripts see
// them in the help text.

#include "ScriptTestSupport.h"

#include "helper/GeneralUtils.h"

#include <gtest/gtest.h>

#include <fstream>

namespace scripttest {
namespace {

struct TableRow {
    std::string name;
    std::string parameters;     // as the help text shows them, unnamed ones as arg0, arg1, ...
    std::string documentation;  // empty: none; "\n" in the table is a line break
};

std::vector<TableRow> ReadTable()
{
    std::ifstream file(std::string(QEL_TEST_FIXTURES) + "/zmx-module-functions.txt");
    std::vector<TableRow> rows;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        SplitString(line, "|", fields);
        fields.resize(3);
        std::string documentation = TrimWhitespace(fields[2]);
        for (size_t at = documentation.find("\\n"); at != std::string::npos; at = documentation.find("\\n", at))
            documentation.replace(at, 2, "\n");
        rows.push_back({TrimWhitespace(fields[0]), TrimWhitespace(fields[1]), documentation});
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

class ModuleFunctionTableTest : public MissionTest {
protected:
    void SetUp() override { host().Start("echo"); }
};

TEST_F(ModuleFunctionTableTest, every_function_of_the_table_is_there_with_its_parameters_and_documentation)
{
    const std::vector<TableRow> rows = ReadTable();
    ASSERT_EQ(rows.size(), 103u) << "the table itself";
    RunScript("module_names = list(zmx.__dict__)");
    std::vector<std::string> missing;
    int lastPosition = -1;
    for (const TableRow& row : rows) {
        const std::string help = Eval("getattr(zmx, '" + row.name + "', None).__doc__ if hasattr(zmx, '" + row.name +
                                      "') else '-'");
        if (help == "-") {
            missing.push_back(row.name);
            continue;
        }
        const size_t lineEnd = help.find('\n');
        const std::string signature = help.substr(0, lineEnd);
        EXPECT_EQ(signature.substr(0, signature.rfind(" -> ")), row.name + "(" + row.parameters + ")");
        const std::string documentation = lineEnd == std::string::npos ? "" : TrimWhitespace(help.substr(lineEnd));
        EXPECT_EQ(documentation, row.documentation) << row.name;
        const int position = std::stoi(Eval("module_names.index('" + row.name + "')"));
        EXPECT_GT(position, lastPosition) << row.name << " is out of the table's order";
        lastPosition = position;
    }
    EXPECT_TRUE(missing.empty()) << missing.size() << " functions missing from zmx: " << Joined(missing);
}

}  // namespace
}  // namespace scripttest
