// This machine's screen as the mission's sky box function for client 0
// reaches it: the program's sky box takes the art, and without one nothing
// happens.

#include "game/widgets/LocalConsoleScreen.h"

#include "game/render/SkyBoxManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingSkyBox : public SkyBoxManager {
public:
    void SetTexture(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

TEST(LocalConsoleScreenTest, the_sky_box_art_reaches_the_programs_sky_box_while_there_is_one)
{
    ASSERT_EQ(theSkyBox, nullptr);
    theLocalConsoleScreen.SetSkyBox("sky2");

    RecordingSkyBox sky;
    theSkyBox = &sky;
    theLocalConsoleScreen.SetSkyBox("nebula_sky");
    theSkyBox = nullptr;
    EXPECT_EQ(sky.names, std::vector<std::string>{"nebula_sky"});
}

}  // namespace
