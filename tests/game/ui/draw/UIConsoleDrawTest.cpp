// Every control of the immediate-mode interface on one console screen, drawn
// by the real graphics service on the offscreen driver, checked at chosen
// pixels and saved as ui-console.png in the working folder for a person to
// look at.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/ui/Edline.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "tests/game/ui/draw/InterfaceDrawTest.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using qeltest::Rgb;

// The console: three columns of controls in their panels, one drop-down
// open, one text box taking keys.
class ConsoleScene {
public:
    // Where the checks look.
    static constexpr IntRect kEngage{40, 92, 330, 126};
    static constexpr IntRect kShieldsUp{40, 184, 330, 214};
    static constexpr IntRect kThrottle{380, 92, 650, 122};
    static constexpr IntRect kCoolant{380, 290, 650, 318};
    static constexpr IntRect kTargetHead{700, 132, 990, 162};
    static constexpr IntRect kCallsign{700, 420, 990, 460};

    ConsoleScene()
    {
        callsign.SetText("Nova Prime");
        callsign.cursor = callsign.Length();
        password.password = true;
        password.SetText("kepler22");
        theConsoleLog.Add(glm::vec4(0.6f, 1.0f, 0.6f, 1), "Docking clearance granted: bay 3");
        theConsoleLog.Add(glm::vec4(1.0f, 0.85f, 0.3f, 1), "Contact bearing 042, range 18 km");
        theConsoleLog.Add(glm::vec4(1.0f, 0.35f, 0.3f, 1), "Hull breach on deck 4");
        theConsoleLog.Add(glm::vec4(0.8f, 0.9f, 1.0f, 1), "Science: scan of KV-7 complete");
    }

    void Draw()
    {
        UIContext& ui = theUIContext;
        Background(ui);
        Title(ui, 30, 20, 994, 60, "BRIDGE CONSOLE  \xB7  INTERFACE TOOLKIT", "gui-3");
        DrawButtons(ui);
        DrawReadouts(ui);
        DrawEntries(ui);
    }

    Edline callsign{31, "gui-2", 32};
    Edline password{32, "gui-2", 32};
    Edline empty{33, "gui-2", 32};
    std::vector<std::string> targets{"KV-7 Raider", "Outpost Meridian", "Freighter Aldous", "Buoy 12"};

private:
    static void Background(UIContext& ui)
    {
        ui.FillRect(0, 0, kWidth, kHeight, glm::vec4(0.03f, 0.05f, 0.08f, 1));
        for (const IntRect& column : {IntRect{24, 70, 346, 740}, IntRect{364, 70, 666, 740},
                                      IntRect{684, 70, 1000, 740}})
            uiFrame(theUIContext, 1, static_cast<float>(column.left), static_cast<float>(column.top),
                    static_cast<float>(column.right), static_cast<float>(column.bottom),
                    glm::vec4(ui.dimColour.r * 0.35f, ui.dimColour.g * 0.35f, ui.dimColour.b * 0.35f, 1), 999);
    }

    static void Title(UIContext& ui, int32_t l, int32_t t, int32_t r, int32_t b, const std::string& text,
                      const std::string& font)
    {
        ui.DrawText(ui.GetFont(font), IntRect{l, t, r, b}, text, ui.mainColour, 1001);
    }

    void DrawButtons(UIContext& ui)
    {
        Title(ui, 40, 74, 330, 92, "HELM", "gui-1");
        ui.SetCurrentRect(kEngage);
        uiButton(theUIContext, 1, "Engage", "gui-2", true, 1000);
        ui.ShiftRectY(1, 8);
        ui.PushRect();
        ui.SetCurrentRectEdges(40, 134, 182, 168);
        uiButton(theUIContext, 2, "Hail", "gui-2", true, 1000);
        ui.ShiftRectX(1, 6);
        uiButton(theUIContext, 3, "Warp", "gui-2", false, 1000);
        ui.PopRect();

        ui.SetCurrentRect(kShieldsUp);
        uiCheckButton(theUIContext, 4, "Shields up", "gui-1", true, true, 1000);
        ui.ShiftRectY(1, 6);
        uiCheckButton(theUIContext, 5, "Red alert", "gui-1", false, true, 1000);

        Title(ui, 40, 262, 330, 280, "HELM MODE", "gui-1");
        ui.SetCurrentRectEdges(40, 282, 132, 312);
        const char* modes[] = {"Trainee", "Capital", "Full 3D"};
        for (int i = 0; i < 3; ++i) {
            uiOptionButton(theUIContext, 6 + i, modes[i], "gui-1", i == 1, true, 1000);
            ui.ShiftRectX(1, 7);
        }

        Title(ui, 40, 326, 330, 344, "NAVIGATION", "gui-1");
        ui.SetCurrentRectEdges(40, 346, 80, 386);
        for (int direction = 0; direction < 4; ++direction) {
            uiArrowButton(theUIContext, 10 + direction, direction, true, 1000);
            ui.ShiftRectX(1, 10);
        }
        ui.SetCurrentRectEdges(40, 400, 126, 440);
        const int icons[] = {4, 27, 112};
        for (int state = 0; state < 3; ++state) {
            uiIconButtonInRect(theUIContext, 20 + state, icons[state], glm::vec4(1), state, 1000);
            ui.ShiftRectX(1, 10);
        }
        ui.SetCurrentRectEdges(40, 452, 126, 486);
        const char* swatches[] = {"#ff5040", "#4fe07a", "#e8d04a"};
        for (int state = 0; state < 3; ++state) {
            uiColorButton(theUIContext, 30 + state, swatches[state], state, 1000);
            ui.ShiftRectX(1, 10);
        }

        Title(ui, 40, 500, 330, 518, "CONTACTS", "gui-1");
        const int contacts[] = {1, 4, 9, 12, 14, 18};
        for (int i = 0; i < 6; ++i)
            uiIconButton(theUIContext, 40 + i, contacts[i], glm::vec4(0.9f, 0.95f, 1, 1), 62.0f + 46 * i, 548, 18, 1000,
                         1.0f);
        ui.SetCurrentRectEdges(40, 590, 330, 722);
        uiFourStringButton(theUIContext, 50, "", "gui-1", "#203048", 1000);
        ui.DrawText(ui.GetFont("gui-1"), IntRect{48, 596, 322, 720},
                    "Press and release on the same control to click. Drag off to cancel.", ui.shades[4], 1001);
    }

    void DrawReadouts(UIContext& ui)
    {
        Title(ui, 380, 74, 650, 92, "THROTTLE", "gui-1");
        ui.SetCurrentRect(kThrottle);
        uiSlider(theUIContext, 60, 0, 1, throttle, 1000, "float");
        ui.ShiftRectY(1, 10);
        uiSlider(theUIContext, 61, 0, 9, warp, 1000, "int");
        ui.ShiftRectY(1, 10);
        uiSlider(theUIContext, 62, 0, 1, trim, 1000, "TRIM");
        ui.SetCurrentRectEdges(380, 212, 650, 236);
        uiSlider(theUIContext, 63, 0, 100, energy, 1000, "justbar");
        uiPercentChevrons(theUIContext, ui.CurrentRect(), energy, ui.mainColour);

        Title(ui, 380, 270, 650, 288, "COOLANT", "gui-1");
        ui.SetCurrentRect(kCoolant);
        uiCoolantButtons(theUIContext, 64, coolant, ui.mainColour, 5, glm::vec4(0.2f, 0.45f, 0.55f, 1), true);

        Title(ui, 380, 330, 650, 348, "SYSTEMS", "gui-1");
        const char* systems[] = {"Hull", "Shields", "Reactor", "Sensors"};
        const char* values[] = {"87 %", "64 %", "1.02 GW", "Nominal"};
        ui.SetCurrentRectEdges(380, 350, 650, 374);
        for (int i = 0; i < 4; ++i) {
            ui.DrawTextPair("gui-1", systems[i], values[i], 520, ui.shades[4], ui.mainColour, 1001);
            ui.ShiftRectY(1, 2);
        }
        ui.SetCurrentRectEdges(392, 470, 420, 720);
        for (int i = 0; i < 4; ++i) {
            uiSlider(theUIContext, 70 + i, 0, 1, bars[i], 1000, "justbar");
            ui.ShiftRectX(1, 22);
        }
        ui.SetCurrentRectEdges(600, 470, 640, 720);
        uiSlider(theUIContext, 74, 0, 1, lift, 1000, "");
    }

    void DrawEntries(UIContext& ui)
    {
        Title(ui, 700, 74, 990, 92, "SECTOR", "gui-1");
        ui.SetCurrentRectEdges(700, 94, 990, 124);
        uiDropDown(theUIContext, 80, sector, sectorIndex, sectors, "gui-1", 1000);
        ui.SetCurrentRect(kTargetHead);
        uiDropDown(theUIContext, 81, target, targetIndex, targets, "gui-1", 1000);

        Title(ui, 700, 400, 990, 418, "IDENTITY", "gui-1");
        ui.SetCurrentRect(kCallsign);
        uiTextBox(theUIContext, "Callsign", callsign, 1000);
        ui.ShiftRectY(1, 8);
        uiTextBox(theUIContext, "Access code", password, 1000);
        ui.ShiftRectY(1, 8);
        uiTextBox(theUIContext, "Relay frequency", empty, 1000);

        Title(ui, 700, 580, 990, 598, "LOG", "gui-1");
        QelBitmapFont* font = ui.GetFont("gui-1");
        int32_t y = 602;
        for (const TextLogLine& line : theConsoleLog) {
            ui.DrawText(font, IntRect{704, y, 990, y + 24}, line.text, line.colour, 1001);
            y += 24;
        }
    }

    float throttle = 0.62f, warp = 4.0f, trim = 0.3f, energy = 78.0f, lift = 0.7f;
    float bars[4] = {0.9f, 0.55f, 0.3f, 0.75f};
    int32_t coolant = 2;
    std::string sector = "Kepler Reach", target = "Choose a target";
    int32_t sectorIndex = 0, targetIndex = -1;
    std::vector<std::string> sectors{"Kepler Reach", "Vela Drift"};
};

class UIConsoleDrawTest : public qeltest::InterfaceDrawTest {
protected:
    UIConsoleDrawTest() : InterfaceDrawTest(kWidth, kHeight) {}

    // One frame of the scene, as the render manager runs it.
    void Frame()
    {
        context.Clear();
        theUIContext.BeginFrame();
        scene.Draw();
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
    }

    ConsoleScene scene;
};

TEST_F(UIConsoleDrawTest, every_control_draws_in_the_preference_colours_with_a_list_open_and_a_box_typing)
{
    // Open the target list with a click on its head, then hover its second row
    // while the callsign box takes the keys with its caret showing.
    const IntRect& head = ConsoleScene::kTargetHead;
    input.MoveTo(head.left + 40, head.top + 10);
    Frame();
    input.Press();
    Frame();
    input.Release();
    Frame();
    ASSERT_EQ(theUIContext.modalNextFrame, 81);
    const int32_t rowStep = head.Height() + 1;
    input.MoveTo(head.left + 60, head.top + 2 * rowStep + 12);
    theUIContext.textEntryOwner = scene.callsign.id;
    theUIContext.tickCount = 10;
    Frame();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("ui-console.png"));

    const UIContext& ui = theUIContext;
    const Rgb background = At(5, 5);
    EXPECT_TRUE(Near(background, Rgb{8, 13, 20}, 2));

    // A button: its outline in the panel colour at twice its brightness, its
    // fill a shade of the dim colour, its label in the main colour.
    const IntRect& engage = ConsoleScene::kEngage;
    const Rgb outline = Bytes(glm::vec4(ui.dimColour.r * 2, ui.dimColour.g * 2, ui.dimColour.b * 2, 1));
    EXPECT_TRUE(Near(At(engage.left, engage.top + 15), outline, 3));
    EXPECT_TRUE(Near(At(engage.left + 60, engage.top), outline, 3));
    const Rgb fill = At(engage.right - 40, engage.top + 20);
    EXPECT_LT(fill[0], fill[1]);
    EXPECT_LT(fill[0], fill[2]);
    EXPECT_LE(fill[2], Bytes(ui.dimColour)[2] + 2);
    EXPECT_GT(fill[2], Bytes(ui.dimColour)[2] / 2);
    EXPECT_GT(CountNear(IntRect{engage.left + 3, engage.top + 3, engage.left + 90, engage.bottom - 3},
                        Bytes(ui.mainColour), 12), 40);
    EXPECT_TRUE(Near(At(engage.right - 2, engage.bottom - 2), background, 2));  // the cut corner

    // The ticked square in the main colour; the coolant's set steps too.
    EXPECT_TRUE(Near(At(ConsoleScene::kShieldsUp.left + 10, ConsoleScene::kShieldsUp.top + 10),
                     Bytes(ui.mainColour), 2));
    const IntRect& coolant = ConsoleScene::kCoolant;
    const int step = coolant.Width() / 9;
    EXPECT_TRUE(Near(At(coolant.left + step + 4, coolant.top + 5), Bytes(ui.mainColour), 2));  // unit 0
    EXPECT_FALSE(Near(At(coolant.left + 5 * step + 4, coolant.top + 5), Bytes(ui.mainColour), 2));

    // The throttle's knob in the knob colour at 62 % of its travel.
    const IntRect& throttle = ConsoleScene::kThrottle;
    const int knobCentre = throttle.left + 30 + static_cast<int>(0.62f * (throttle.Width() - 60));
    EXPECT_TRUE(Near(At(knobCentre - 26, throttle.top + 4), Bytes(ui.knobColour), 2));

    // The open list hangs below its head, over the entries below, its hovered
    // row lit brighter than the others.
    const Rgb rowOne = At(head.left + 200, head.top + rowStep + 15);
    const Rgb rowTwo = At(head.left + 200, head.top + 2 * rowStep + 15);
    EXPECT_FALSE(Near(rowOne, background, 4));
    EXPECT_GT(rowTwo[2], rowOne[2] + 10);

    // The typing box's caret: a line in the main colour after its text.
    const IntRect& callsign = ConsoleScene::kCallsign;
    EXPECT_GT(CountNear(IntRect{callsign.left + 3, callsign.top + 3, callsign.right - 3, callsign.bottom - 3},
                        Bytes(ui.mainColour), 12), 60);
}

}  // namespace
