// The panel transparency the UI play options set is the alpha of the panels
// console widgets draw: the frame fades with it, the widget's name does not.

#include "game/render/manager/RenderManager.h"
#include "game/widgets/GUIBoxPlaceholder.h"
#include "tests/game/ui/UITestFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class PanelOpacityTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        manager = std::make_unique<RenderManager>(StayingScene);
    }
    void TearDown() override
    {
        manager.reset();
        UITest::TearDown();
    }

    // The alphas of the frame's pieces and of the name drawn for the widget.
    std::pair<std::vector<float>, std::vector<float>> DrawnAlphas(float opacity)
    {
        manager->panelOpacity = opacity;
        IntRect rect{100, 100, 400, 300};
        Frame([&] { DrawPlaceholderWidget(theUIContext, rect, "throttle", manager.get()); });
        std::vector<float> frame, text;
        for (const qeltest::DrawRecord& record : graphics.log)
            (record.kind == qeltest::DrawRecord::Kind::Text ? text : frame).push_back(record.colour.a);
        return {frame, text};
    }

    std::unique_ptr<RenderManager> manager;
};

TEST_F(PanelOpacityTest, the_panel_frame_takes_the_opacity_and_the_text_keeps_its_own)
{
    const auto [opaqueFrame, opaqueText] = DrawnAlphas(1.0f);
    ASSERT_FALSE(opaqueFrame.empty());
    ASSERT_FALSE(opaqueText.empty());
    const struct {
        float opacity;
        float factor;
    } cases[] = {{0.25f, 0.25f}, {0.0f, 0.0f}, {1.5f, 1.0f}, {-1.0f, 0.0f}};
    for (const auto& c : cases) {
        const auto [frame, text] = DrawnAlphas(c.opacity);
        ASSERT_EQ(frame.size(), opaqueFrame.size()) << c.opacity;
        for (size_t i = 0; i < frame.size(); ++i)
            EXPECT_FLOAT_EQ(frame[i], opaqueFrame[i] * c.factor) << "opacity " << c.opacity << ", piece " << i;
        EXPECT_EQ(text, opaqueText) << c.opacity;
    }
}

}  // namespace
