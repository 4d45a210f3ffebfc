// The main screen's control: where its buttons sit, what each button and key
// asks for, which console keeps its own choice, and the tracking button's
// copy of the weapons target.

#include "game/widgets/MainScreenControl.h"

#include "engine/base/QelPixelImage.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/ObjectId.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/game/widgets/WidgetTestFixture.h"

namespace {

namespace vk = qel::vk;
using qeltest::DrawRecord;

// The buttons' bitmaps and ids, and their captions.
struct ButtonArt {
    int asset;
    int32_t id;
    const char* caption;
};
constexpr ButtonArt kArt[] = {{10, 1601, "FRONT"}, {9, 1602, "RIGHT"},   {8, 1603, "LEFT"},
                              {7, 1604, "BACK"},   {3, 1605, "INSIDE"},  {2, 1606, "CHASE"},
                              {1, 1607, "TRACK"},  {6, 1608, "TACTICAL"}, {5, 1609, "LONG RANGE"},
                              {4, 1610, "SHIP DATA"}};

std::string AssetName(int asset)
{
    return "mainScn/asset " + std::to_string(asset);
}

TEST(MainScreenControlScaleTest, the_layout_fits_the_height_or_the_width_whichever_is_tighter)
{
    EXPECT_FLOAT_EQ(MainScreenControlScale(IntRect{0, 0, 1400, 700}), 1.0f);
    EXPECT_FLOAT_EQ(MainScreenControlScale(IntRect{0, 0, 700, 1400}), 0.7f);
    EXPECT_FLOAT_EQ(MainScreenControlScale(IntRect{0, 0, 1000, 350}), 0.5f);
}

class MainScreenControlTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        for (int i = 1; i <= 10; ++i)
            graphics.AddBitmap("mainScn/asset " + std::to_string(i), 100, 100);
        manager->cam_angle = "left";
        manager->cam_mode = "cinematic";
        manager->main_screen_view = "3d_view";
        Draw();  // the hot keys take their defaults
    }

    void Draw() { WidgetTest::Draw(ViewMainScreenControlDraw, kBox, "main_screen_control"); }

    // Clicks the bitmap's button where it was drawn last frame.
    void ClickImage(int asset)
    {
        const std::vector<DrawRecord> sprites = graphics.From("mainScn/asset " + std::to_string(asset));
        ASSERT_EQ(sprites.size(), 1u);
        ClickAt(ViewMainScreenControlDraw, kBox, static_cast<int32_t>(sprites[0].dest[0]),
                static_cast<int32_t>(sprites[0].dest[1]), "main_screen_control");
        Draw();
    }

    void Key(int32_t key) { PressKey(ViewMainScreenControlDraw, kBox, key, "main_screen_control"); }

    MainScreenViewRequestSignal Sent(size_t index) const
    {
        MainScreenViewRequestSignal sent;
        EXPECT_TRUE(network.Read(sent, index));
        return sent;
    }

    static void ExpectChoice(const MainScreenViewRequestSignal& sent, const char* view, const char* angle,
                             const char* mode)
    {
        EXPECT_EQ(sent.view, view);
        EXPECT_EQ(sent.facing, angle);
        EXPECT_EQ(sent.mode, mode);
    }

    static constexpr IntRect kBox{0, 0, 1400, 700};  // scale 1, centre (700, 350)
};

TEST_F(MainScreenControlTest, the_buttons_sit_around_the_centre_at_the_box_scale)
{
    const std::vector<std::pair<int, std::pair<float, float>>> places = {
        {10, {570, 80}}, {9, {840, 350}}, {8, {300, 350}}, {7, {570, 620}}, {3, {570, 192}},
        {2, {570, 350}}, {1, {570, 508}}, {6, {1050, 200}}, {5, {1080, 350}}, {4, {1050, 500}}};
    for (const auto& [asset, at] : places) {
        const std::vector<DrawRecord> sprites = graphics.From("mainScn/asset " + std::to_string(asset));
        ASSERT_EQ(sprites.size(), 1u) << asset;
        EXPECT_EQ(sprites[0].dest[0], at.first) << asset;
        EXPECT_EQ(sprites[0].dest[1], at.second) << asset;
        EXPECT_EQ(sprites[0].dest[2], 1.0f);
    }
}

TEST_F(MainScreenControlTest, buttons_and_keys_send_the_choice_keeping_the_current_angle_or_mode)
{
    ClickImage(9);  // right
    ClickImage(2);  // chase
    ClickImage(6);  // tactical
    Key(vk::kLetterA + ('J' - 'A'));
    Key(vk::kDigit0 + 0);  // cinematic
    Key(vk::kLetterA + ('P' - 'A'));  // back
    ASSERT_EQ(network.SignalCodes().size(), 6u);
    ExpectChoice(Sent(0), "3d_view", "right", "cinematic");
    ExpectChoice(Sent(1), "3d_view", "right", "chase");
    ExpectChoice(Sent(2), "tactical", "right", "chase");
    ExpectChoice(Sent(3), "tactical", "right", "chase");  // the same choice again is sent again
    ExpectChoice(Sent(4), "3d_view", "right", "cinematic");
    ExpectChoice(Sent(5), "3d_view", "back", "cinematic");
    EXPECT_EQ(manager->main_screen_view, "3d_view");
    EXPECT_EQ(manager->cam_angle, "back");
}

TEST_F(MainScreenControlTest, a_weapons_console_asks_without_changing_its_own_view)
{
    console.consoleName = "weapons";
    Key(vk::kLetterA + ('K' - 'A'));
    ExpectChoice(Sent(0), "lrs", "left", "cinematic");
    EXPECT_EQ(manager->main_screen_view, "3d_view");
}

TEST_F(MainScreenControlTest, only_the_tracking_button_points_the_camera_at_a_weapons_target)
{
    const uint64_t target = kSpaceObjectIdBit | 77;
    WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, target);
    Key(vk::kDigit0 + 9);
    EXPECT_EQ(manager->cam_mode, "tracking");
    EXPECT_EQ(ReadUInt64(ship->data_set, playership::kCameraTargetUID), 0u);
    EXPECT_EQ(network.SignalCodes(), std::vector<uint16_t>{SIGNAL_MESS_MAIN_SCN_VIEW});

    ClickImage(1);
    EXPECT_EQ(ReadUInt64(ship->data_set, playership::kCameraTargetUID), target);
    UInt64ValueFromClientSignal copied;
    ASSERT_TRUE(network.Read(copied));
    EXPECT_EQ(copied.key, "camera_target_UID");
    EXPECT_EQ(copied.value, target);
    EXPECT_EQ(copied.index, 0);

    // A target value that names no space object is not followed.
    network.Clear();
    WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, kGridObjectIdBit | 5);
    ClickImage(1);
    EXPECT_EQ(ReadUInt64(ship->data_set, playership::kCameraTargetUID), target);
    EXPECT_EQ(network.SignalCodes(), std::vector<uint16_t>{SIGNAL_MESS_MAIN_SCN_VIEW});

    network.Clear();
    world.subjectID = 0;
    ClickImage(1);
    EXPECT_EQ(network.SignalCodes(), std::vector<uint16_t>{SIGNAL_MESS_MAIN_SCN_VIEW});
}

// The mission's answer, on a main screen.
TEST_F(MainScreenControlTest, the_screen_takes_the_missions_view_and_radar_zoom)
{
    consoleScreen.SetMainViewModes("lrs", "back", "chase");
    consoleScreen.SetRadarZoom(0.01f);
    EXPECT_EQ(manager->main_screen_view, "lrs");
    EXPECT_EQ(manager->cam_angle, "back");
    EXPECT_EQ(manager->cam_mode, "chase");
    EXPECT_FLOAT_EQ(manager->radarScale, 0.01f);
}

// The pictures the build draws answer a click anywhere on their glass face,
// right beside the lines of their art too, not only where the art is.
TEST_F(MainScreenControlTest, each_button_answers_anywhere_on_its_face)
{
    // Inside the glass's rounded corners and its edge.
    constexpr int kFaceInset = 16;
    constexpr int kStep = 5;
    for (const ButtonArt& art : kArt) {
        QelPixelImage image;
        std::string error;
        const std::string file = std::string(QEL_SOURCE_DIR) + "/data/graphics/" + AssetName(art.asset) + ".png";
        ASSERT_TRUE(image.LoadImageFile(file, error)) << error;
        qeltest::RecordingBitmap* bitmap = graphics.AddBitmap(AssetName(art.asset), image.Width(), image.Height());
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                float alpha = 0, red = 0, green = 0, blue = 0;
                image.GetPixel(x, y, alpha, red, green, blue);
                bitmap->SetPixel(x, y, alpha, red, green, blue);
            }
    }
    Draw();
    for (const ButtonArt& art : kArt) {
        SCOPED_TRACE(art.caption);
        const std::vector<DrawRecord> sprites = graphics.From(AssetName(art.asset));
        ASSERT_EQ(sprites.size(), 1u);
        Qel2dBitmap* bitmap = graphics.Find2DBitmap(AssetName(art.asset));
        const int left = static_cast<int>(sprites[0].dest[0]) - bitmap->GetWidth() / 2;
        const int top = static_cast<int>(sprites[0].dest[1]) - bitmap->GetHeight() / 2;
        int missed = 0;
        for (int y = top + kFaceInset; y < top + bitmap->GetHeight() - kFaceInset; y += kStep)
            for (int x = left + kFaceInset; x < left + bitmap->GetWidth() - kFaceInset; x += kStep) {
                input.MoveTo(x, y);
                Draw();
                missed += ui.hotId != art.id ? 1 : 0;
            }
        EXPECT_EQ(missed, 0);
    }
}

// Each caption is written in type that reads on a console (never below 10
// pixels, however small the box) and on one line, centred on its button.
TEST_F(MainScreenControlTest, captions_are_written_in_readable_type_on_their_buttons)
{
    struct Case {
        IntRect box;
        const char* font;
    };
    const Case cases[] = {{kBox, "DejaVuSansCondensed-Bold14"},
                          {IntRect{0, 0, 400, 250}, "DejaVuSansCondensed-Bold10"},
                          {IntRect{0, 0, 2800, 1400}, "DejaVuSansCondensed-Bold22"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        WidgetTest::Draw(ViewMainScreenControlDraw, c.box, "main_screen_control");
        for (const ButtonArt& art : kArt) {
            const std::vector<DrawRecord> sprites = graphics.From(AssetName(art.asset));
            ASSERT_EQ(sprites.size(), 1u);
            const DrawRecord& caption = graphics.Text(art.caption);
            EXPECT_EQ(caption.source, c.font) << art.caption;
            EXPECT_EQ(caption.align, 2) << art.caption;
            EXPECT_GE(caption.box.right - caption.box.left,
                      static_cast<int>(std::string(art.caption).size()) * qeltest::RecordingFont::kCharWidth)
                << art.caption << " on one line";
            const float middle = (caption.box.left + caption.box.right) / 2.0f;
            EXPECT_NEAR(middle, sprites[0].dest[0], 60.0f * sprites[0].dest[2]) << art.caption;
        }
    }
}

TEST_F(MainScreenControlTest, the_mouse_over_the_box_marks_it_as_a_control)
{
    console.mouseOverControl = false;
    input.MoveTo(1400, 700);  // the edges count
    Draw();
    EXPECT_TRUE(console.mouseOverControl);
    console.mouseOverControl = false;
    input.MoveTo(1401, 10);
    Draw();
    EXPECT_FALSE(console.mouseOverControl);
}

}  // namespace
