#include "game/net/ClientRecord.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    bool science;
    bool mainScreen;
    bool gameMaster;
};

TEST(ClientRecord, console_name_sets_the_roles_it_contains_case_sensitively)
{
    const NameCase cases[] = {
        {"", false, false, false},
        {"sci", true, false, false},
        {"helm-sci-main", true, true, false},
        {"gamemaster", false, false, true},
        {"my_gamemaster_main", false, true, true},
        {"Science", false, false, false},
        {"MAIN", false, false, false},
        {"gamemaste", false, false, false},
    };
    ClientRecord record(501 | (1ull << 63));
    for (const NameCase& c : cases) {
        record.SetConsoleName(c.name);
        EXPECT_EQ(record.consoleName, c.name);
        EXPECT_EQ(record.scienceFlag, c.science) << c.name;
        EXPECT_EQ(record.mainScreenFlag, c.mainScreen) << c.name;
        EXPECT_EQ(record.gameMasterFlag, c.gameMaster) << c.name;
    }
}

TEST(ClientRecord, only_ids_with_bit_63_are_clients)
{
    EXPECT_TRUE(VALID_CLIENT(501 | (1ull << 63)));
    EXPECT_FALSE(VALID_CLIENT(0));
    EXPECT_FALSE(VALID_CLIENT(501));
    EXPECT_FALSE(VALID_CLIENT(4 | (1ull << 62)));
}

}  // namespace
