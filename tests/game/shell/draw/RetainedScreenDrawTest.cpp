// A mission's script screen with a widget of every kind and a story dialog
// over it, drawn by the real graphics service on the offscreen driver with
// the game's own art (panel gradient, icon sheet, face parts), checked at
// chosen pixels and saved as retained-screen.png in the working folder for a
// person to look at.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/guimodel/RetainedGUIManager.h"
#include "game/guimodel/StoryDialogGUIManager.h"
#include "game/render/PortraitGen.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/shell/StoryDialogDraw.h"
#include "game/ui/InterfacePictures.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "helper/ColorParse.h"
#include "tests/game/ui/draw/InterfaceDrawTest.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using qeltest::Rgb;

// Portraits from the game's face parts. The ship model needs the renderer's
// meshes, which this test does not load: the ship's radar icon stands in,
// large, so the box still shows what the widget asked for.
class TestPictures : public InterfacePictures {
public:
    TestPictures() { portraits.Setup(); }

    void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint,
                  int layer) override
    {
        portraits.DrawFace(description, x, y, size, tint, layer);
    }
    void DrawShipInBox(Qel2dBitmap*, const std::string&, const IntRect& rect) override
    {
        const float half = static_cast<float>(std::min(rect.Width(), rect.Height())) * 0.3f;
        uiGridIcon(theUIContext, kFreighterIcon, glm::vec4(0.75f, 0.85f, 0.95f, 1.0f), (rect.left + rect.right) / 2.0f,
                   (rect.top + rect.bottom) / 2.0f, half, 1001);
    }

private:
    static constexpr int kFreighterIcon = 7;
    PortraitGen portraits;
};

const char* const kCaptainFace =
    "backdrop #3a2420 1 0;hairback #1a1210 0 0;head #8d5a3b 1 1;uniform #a02828 1 0;trim #d0d0d8 1 0;"
    "eyes white 1 0;iris #4a3020 1 0;brows #1a1210 1 0;nose #8d5a3b 1 0;mouth #8d5a3b 0 0;hair #1a1210 0 1";
const char* const kOfficerFace =
    "backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
    "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0";

// The story dialog's frame: a dim gold, as a mission picks for a station's officer.
constexpr const char* kDialogFrame = "#6a5424";

// Places of the widgets the checks look at, in window pixels.
constexpr IntRect kContact{24, 70, 344, 520};
constexpr IntRect kScan{364, 70, 664, 520};
constexpr IntRect kComms{684, 70, 1000, 520};

IntRect In(const IntRect& panel, IntRect rect)
{
    rect.Offset(panel.left, panel.top, panel.left, panel.top);
    return rect;
}

// The comms officer's screen while a freighter is hailed.
class ContactScreen {
public:
    static constexpr IntRect kPortrait{16, 16, 136, 136};
    static constexpr IntRect kShipBox{16, 150, 304, 330};
    static constexpr IntRect kSystems{16, 344, 304, 401};
    static constexpr IntRect kGain{16, 44, 284, 76};
    static constexpr IntRect kTint{16, 284, 94, 316};
    static constexpr IntRect kHail{16, 150, 150, 186};
    static constexpr IntRect kChannel{16, 364, 300, 430};

    static std::vector<RetainedGUIWidget> Widgets()
    {
        std::vector<RetainedGUIWidget> top;
        top.push_back(Header());
        top.push_back(ContactPanel());
        top.push_back(ScanPanel());
        top.push_back(CommsPanel());
        return top;
    }

private:
    static RetainedGUIWidget Make(const char* kind, const std::string& tag, const IntRect& rect,
                                  const std::string& text = "")
    {
        RetainedGUIWidget w;
        w.kind = kind;
        w.tag = tag;
        w.text = text;
        w.absolute = true;
        w.left = static_cast<float>(rect.left);
        w.top = static_cast<float>(rect.top);
        w.right = static_cast<float>(rect.right);
        w.bottom = static_cast<float>(rect.bottom);
        return w;
    }

    static RetainedGUIWidget Text(const std::string& tag, const IntRect& rect, const std::string& text,
                                  const char* font, const char* colour, int align = 0)
    {
        RetainedGUIWidget w = Make(retained_kind::kText, tag, rect, text);
        w.font = font;
        w.color = colour;
        w.index = align;
        return w;
    }

    static RetainedGUIWidget Icon(const char* kind, const std::string& tag, const IntRect& rect, int cell,
                                  const char* colour, bool ticked = true)
    {
        RetainedGUIWidget w = Make(kind, tag, rect);
        w.index = cell;
        w.color = colour;
        w.ticked = ticked;
        return w;
    }

    static RetainedGUIWidget Panel(const std::string& tag, const IntRect& rect)
    {
        return Make(retained_kind::kSubregion, tag, rect);
    }

    static RetainedGUIWidget Header()
    {
        RetainedGUIWidget header = Panel("header", {0, 0, kWidth, 60});
        header.backgroundList = {
            Icon(retained_kind::kIcon, "header_icon", {24, 12, 60, 48}, 22, "#35c0e8"),
            Text("title", {72, 16, 640, 52}, "COMMS  -  CONTACT ANALYSIS", "gui-3", "#35c0e8"),
            Text("status", {640, 22, 1000, 52}, "Kepler Reach   |   Alert: yellow", "gui-1", "#e8c866", 2),
        };
        return header;
    }

    static RetainedGUIWidget ContactPanel()
    {
        RetainedGUIWidget panel = Panel("contact", kContact);
        RetainedGUIWidget systems = Make(retained_kind::kBitmap, "systems", kSystems);
        systems.data = "grid-icon-sheet";  // the ship-systems row: beams to warp
        systems.srcLeft = 0, systems.srcTop = 64, systems.srcRight = 64 * 6, systems.srcBottom = 128;
        systems.color = "#9fd8ea";
        RetainedGUIWidget face = Make(retained_kind::kFace, "captain", kPortrait, kCaptainFace);
        RetainedGUIWidget ship = Make(retained_kind::kShip3D, "ship", kShipBox, "freighter");
        panel.backgroundList = {
            face,
            Text("name", {150, 20, 310, 48}, "Capt. Ilsa Varn", "gui-2", "#ffd070"),
            Text("vessel", {150, 52, 310, 136}, "Freighter Aldous^Independent hauler^Cargo: medical", "gui-1",
                 "#c8d8e0"),
            ship,
            systems,
            Text("readout", {16, 410, 304, 440}, "Hull 87 %    Shields 64 %", "gui-1", "#9fd8ea", 1),
        };
        return panel;
    }

    static RetainedGUIWidget ScanPanel()
    {
        RetainedGUIWidget panel = Panel("scan", kScan);
        RetainedGUIWidget gain = Make(retained_kind::kSlider, "gain", kGain);
        gain.high = 1, gain.value = 0.62f, gain.data = "float";
        RetainedGUIWidget depth = Make(retained_kind::kSlider, "depth", {16, 84, 284, 116});
        depth.high = 9, depth.value = 4, depth.data = "int";
        RetainedGUIWidget mode = Make(retained_kind::kDropdown, "mode", {16, 132, 284, 164}, "Deep scan");
        mode.data = "Quick scan^Deep scan^Bio signs^Emissions^";
        mode.index = 1;
        RetainedGUIWidget track = Make(retained_kind::kCheckbox, "track", {16, 178, 284, 208}, "Track contact");
        track.font = "gui-1";
        RetainedGUIWidget archive = Make(retained_kind::kCheckbox, "archive", {16, 214, 284, 244}, "Log to archive");
        archive.font = "gui-1";
        archive.ticked = false;
        panel.backgroundList = {
            Text("scan_title", {16, 10, 284, 36}, "SENSOR SWEEP", "gui-1", "#35c0e8"),
            gain,
            depth,
            mode,
            track,
            archive,
            Text("tint_title", {16, 258, 284, 280}, "Contact marking", "gui-1", "#35c0e8"),
            Icon(retained_kind::kColorCheckbox, "tint_red", kTint, 0, "#ff5040"),
            Icon(retained_kind::kColorCheckbox, "tint_green", {106, 284, 184, 316}, 0, "#4fe07a", false),
            Icon(retained_kind::kColorCheckbox, "tint_gold", {196, 284, 274, 316}, 0, "#e8d04a", false),
            Icon(retained_kind::kIconCheckbox, "watch_shields", {16, 326, 94, 362}, 27, "#9fd8ea"),
            Icon(retained_kind::kIconCheckbox, "watch_beams", {106, 326, 184, 362}, 20, "#9fd8ea", false),
            Icon(retained_kind::kIconCheckbox, "watch_tubes", {196, 326, 274, 362}, 21, "#9fd8ea", false),
        };
        return panel;
    }

    static RetainedGUIWidget CommsPanel()
    {
        RetainedGUIWidget panel = Panel("comms", kComms);
        RetainedGUIWidget message = Make(retained_kind::kTypein, "message", {16, 40, 300, 84}, "Heave to, Aldous.");
        message.data = "Hail message";
        RetainedGUIWidget code = Make(retained_kind::kTypein, "code", {16, 92, 300, 136}, "kepler22");
        code.data = "Authentication";
        code.ticked = false;
        RetainedGUIWidget channel = Make(retained_kind::kClickRegion, "channel", kChannel);
        channel.data = "#203048";
        std::vector<RetainedGUIWidget> widgets = {
            Text("comms_title", {16, 10, 300, 36}, "HAIL", "gui-1", "#35c0e8"),
            message,
            code,
            Make(retained_kind::kButton, "hail", kHail, "Hail"),
            Make(retained_kind::kButton, "transmit", {166, 150, 300, 186}, "Transmit"),
            Icon(retained_kind::kIconButton, "dock", {16, 200, 100, 240}, 36, "#9fd8ea"),
            Icon(retained_kind::kIconButton, "tractor", {108, 200, 192, 240}, 37, "#9fd8ea"),
            Icon(retained_kind::kIconButton, "rescan", {200, 200, 284, 240}, 38, "#9fd8ea"),
            Icon(retained_kind::kColorButton, "flag_red", {16, 250, 100, 282}, 0, "#ff5040"),
            Icon(retained_kind::kColorButton, "flag_blue", {108, 250, 192, 282}, 0, "#3a78b8"),
            Icon(retained_kind::kColorButton, "flag_white", {200, 250, 284, 282}, 0, "#e8ecf0"),
        };
        const int contacts[] = {1, 2, 3, 9};
        for (int i = 0; i < 4; ++i)
            widgets.push_back(Icon(retained_kind::kRawIconButton, "contact_" + std::to_string(i),
                                   {16 + i * 72, 296, 64 + i * 72, 344}, contacts[i], "#e8ecf0"));
        widgets.push_back(channel);
        widgets.push_back(Text("channel_hint", {24, 372, 292, 422}, "Open a private channel to the contact", "gui-1",
                               "#c8d8e0", 1));
        panel.backgroundList = widgets;
        return panel;
    }
};

class RetainedScreenDrawTest : public qeltest::InterfaceDrawTest {
protected:
    RetainedScreenDrawTest() : InterfaceDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(InterfaceDrawTest::SetUp());
        pictures = std::make_unique<TestPictures>();
        theUIContext.pictures = pictures.get();
        gui.Draw();
        gui.SetBuilding(true, "");
        gui.Root().backgroundList = ContactScreen::Widgets();
        gui.SetBuilding(false, "");
        stories.Push({"Lt. Daren Holt, Outpost Meridian",
                      "The Aldous is cleared by Meridian control. Let her pass: "
                      "her cargo is three days overdue.",
                      kOfficerFace, kDialogFrame});
    }

    void TearDown() override
    {
        theUIContext.pictures = nullptr;
        pictures.reset();
        InterfaceDrawTest::TearDown();
    }

    // One frame of a console showing the mission's screen, as its scene draws it.
    void Frame()
    {
        context.Clear();
        theUIContext.BeginFrame();
        theUIContext.FillRect(0, 0, kWidth, kHeight, glm::vec4(0.03f, 0.05f, 0.08f, 1));
        screen.HandleHotKeys(theUIContext, gui);
        DrawStoryDialogs(theUIContext, stories);
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
    }

    static Rgb Bytes(const std::string& colourText)
    {
        glm::vec4 c;
        ParseColor(c, colourText);
        return InterfaceDrawTest::Bytes(c);
    }
    using InterfaceDrawTest::Bytes;

    // Pixels in the rectangle that differ from the colour.
    int CountOther(const IntRect& r, const Rgb& colour) const
    {
        return r.Width() * r.Height() - CountNear(r, colour, 6);
    }

    std::unique_ptr<TestPictures> pictures;
    RetainedGUIManager gui;
    StoryDialogGUIManager stories;
    RetainedGUIScreen screen;
};

TEST_F(RetainedScreenDrawTest, a_screen_of_every_kind_draws_under_a_story_dialog_with_its_portrait)
{
    const IntRect channel = In(kComms, ContactScreen::kChannel);
    input.MoveTo(channel.right - 20, channel.top + 8);  // the channel region lights under the mouse
    Frame();
    Frame();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("retained-screen.png"));

    const Rgb background = At(5, 700);
    EXPECT_TRUE(Near(background, Rgb{8, 13, 20}, 2));
    const UIContext& ui = theUIContext;

    // The lit click region fills with its colour; the hint over it still reads.
    EXPECT_TRUE(Near(At(channel.right - 8, channel.top + 4), Bytes("#203048"), 3));

    // A button's label in the main colour on its panel.
    const IntRect hail = In(kComms, ContactScreen::kHail);
    EXPECT_GT(CountNear(IntRect{hail.left + 3, hail.top + 3, hail.right - 3, hail.bottom - 3},
                        Bytes(ui.mainColour), 12), 30);

    // The ticked colour check box shows its swatch in the right half.
    const IntRect tint = In(kScan, ContactScreen::kTint);
    EXPECT_TRUE(Near(At(tint.right - 12, (tint.top + tint.bottom) / 2), Bytes("#ff5040"), 3));

    // The slider's knob in the knob colour at 62 % of its travel (its half
    // length is the track's height here).
    const IntRect gain = In(kScan, ContactScreen::kGain);
    const int half = gain.Height();
    const int knobLeft = gain.left + static_cast<int>(0.62f * static_cast<float>(gain.Width() - 2 * half));
    EXPECT_TRUE(Near(At(knobLeft + 6, gain.top + 4), Bytes(ui.knobColour), 3));
    EXPECT_FALSE(Near(At(knobLeft - 6, gain.top + 4), Bytes(ui.knobColour), 3));

    // The portrait, the stand-in ship and the bitmap strip all put something on the panel.
    const IntRect portrait = In(kContact, ContactScreen::kPortrait);
    EXPECT_GT(CountOther(portrait, background), portrait.Width() * portrait.Height() / 2);
    EXPECT_GT(CountOther(In(kContact, ContactScreen::kShipBox), background), 2000);
    EXPECT_GT(CountOther(In(kContact, ContactScreen::kSystems), background), 1000);

    // The story dialog: a white edge, inside it the outline of its own frame
    // (its colour at twice the brightness), its portrait at the left and its
    // title in white beside it.
    glm::vec4 frame;
    ParseColor(frame, kDialogFrame);
    const Rgb outline = Bytes(glm::vec4(glm::vec3(frame) * 2.0f, 1.0f));
    EXPECT_GT(CountNear(IntRect{204, 560, 205, 680}, Rgb{255, 255, 255}, 30), 100);
    EXPECT_GT(CountNear(IntRect{207, 560, 208, 680}, outline, 12), 100);
    EXPECT_GT(CountOther(IntRect{210, 543, 352, 685}, At(300, 690)), 142 * 142 / 2);
    EXPECT_GT(CountNear(IntRect{355, 543, 600, 570}, Rgb{255, 255, 255}, 30), 60);
}

}  // namespace
