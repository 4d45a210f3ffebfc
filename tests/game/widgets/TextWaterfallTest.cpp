// The text waterfall on recording services: the panel, messages from the
// newest at the bottom upwards, long ones wrapped with their continuation
// pieces indented, empty lines as gaps, and a box that cuts off what does
// not fit at its top.

#include "game/widgets/TextWaterfallWidget.h"

#include "game/ui/TextLog.h"
#include "game/widgets/ConsoleState.h"
#include "tests/game/ui/UITestFixture.h"

namespace {

using qeltest::DrawRecord;
using qeltest::RecordingFont;

// 200 pixels to wrap in: 25 characters a piece.
constexpr int32_t kLeft = 100;
constexpr int32_t kRight = kLeft + 200 + 34;
constexpr int32_t kBottom = 600;

class TextWaterfallTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        theMessageLog.Clear();
    }
    void TearDown() override
    {
        theMessageLog.Clear();
        UITest::TearDown();
    }

    std::vector<DrawRecord> Draw(int32_t height)
    {
        IntRect rect{kLeft, kBottom - height, kRight, kBottom};
        Frame([&] { ViewTextWaterfallDraw(console, rect, "text_waterfall"); });
        return graphics.Of(DrawRecord::Kind::Text);
    }

    static std::string Piece(char c) { return std::string(25, c); }

    ConsoleState console;
};

TEST_F(TextWaterfallTest, AnEmptyLogShowsADimHintOnTheDarkPanel)
{
    const std::vector<DrawRecord> texts = Draw(200);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "No messages yet");
    const glm::vec4 main = theUIContext.mainColour;
    EXPECT_EQ(texts[0].colour, glm::vec4(main.r * 0.5f, main.g * 0.5f, main.b * 0.5f, main.a));
    const auto quads = graphics.Quads("smallWhite");
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0].colour, glm::vec4(0.0f, 0.0f, 0.0f, 0.8f));
    EXPECT_EQ(quads[0].Left(), kLeft);
    EXPECT_EQ(quads[0].Bottom(), kBottom);
}

TEST_F(TextWaterfallTest, MessagesRiseFromTheBottomWithWrappedPiecesIndented)
{
    const glm::vec4 green{0, 1, 0, 1}, amber{1, 0.7f, 0, 1};
    theMessageLog.Add(green, "Oldest");
    theMessageLog.Add(green, "");
    theMessageLog.Add(amber, Piece('a') + Piece('b') + Piece('c'));
    const auto texts = Draw(200);

    struct Row {
        std::string text;
        int32_t left, bottom;
        glm::vec4 colour;
    };
    const Row expected[] = {{Piece('c'), kLeft + 32, kBottom - 2, amber},
                            {Piece('b'), kLeft + 32, kBottom - 22, amber},
                            {Piece('a'), kLeft + 2, kBottom - 42, amber},
                            {"Oldest", kLeft + 2, kBottom - 82, green}};  // above the empty line's gap
    ASSERT_EQ(texts.size(), std::size(expected));
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, expected[i].text) << i;
        EXPECT_EQ(texts[i].box.left, expected[i].left) << i;
        EXPECT_EQ(texts[i].box.bottom, expected[i].bottom) << i;
        EXPECT_EQ(texts[i].box.top, expected[i].bottom - 20) << i;
        EXPECT_EQ(texts[i].colour, expected[i].colour) << i;
        EXPECT_EQ(texts[i].layer, 3000) << i;
        EXPECT_EQ(texts[i].align, 0) << i;
    }
}

TEST_F(TextWaterfallTest, ABoxShowsTheRowsThatStartInsideItAndCutsOffAbove)
{
    theMessageLog.Add(glm::vec4(1.0f), "Older message");
    theMessageLog.Add(glm::vec4(1.0f), Piece('a') + Piece('b') + Piece('c'));
    // 60 pixels: rows at B - 22 and B - 42 fit, the one at B - 62 does not.
    auto texts = Draw(60);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, Piece('c'));
    EXPECT_EQ(texts[1].text, Piece('b'));
    EXPECT_EQ(texts[1].box.top, kBottom - 42);
    // A box too low for one row draws no text; one narrower than the indent still wraps.
    EXPECT_TRUE(Draw(21).empty());
    IntRect narrow{0, 0, 10, 100};
    Frame([&] { ViewTextWaterfallDraw(console, narrow, "text_waterfall"); });
    EXPECT_EQ(graphics.Of(DrawRecord::Kind::Text).size(), 4u);
}

}  // namespace
