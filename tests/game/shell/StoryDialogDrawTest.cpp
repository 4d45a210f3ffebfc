// Story dialogs on screen, against the recording 2D service: the box, the
// portrait and the texts where a 1024 × 768 window puts them, and a click
// anywhere taking the front dialog away.

#include "game/shell/StoryDialogDraw.h"

#include "engine/base/QelClock.h"
#include "game/guimodel/StoryDialogGUIManager.h"
#include "game/ui/InterfacePictures.h"
#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"

#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;

struct RecordingFaces : InterfacePictures {
    void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4&, int layer) override
    {
        faces.push_back(description + " at " + std::to_string(x) + "," + std::to_string(y) + " size " +
                        std::to_string(static_cast<int>(size)) + " layer " + std::to_string(layer));
    }
    void DrawShipInBox(Qel2dBitmap*, const std::string&, const IntRect&) override {}
    std::vector<std::string> faces;
};

class StoryDialogDrawTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        ui.pictures = &pictures;
    }

    // A frame of a console: a button of its own, then the dialogs on top.
    bool Draw()
    {
        bool clicked = false;
        Frame([&] {
            ui.SetCurrentRectEdges(10, 10, 200, 40);
            clicked = uiButton(theUIContext, 10, "Options", "gui-2", true, 1000);
            DrawStoryDialogs(theUIContext, queue);
        });
        clock.Advance(33);
        return clicked;
    }

    // The fills of the dialog's two frames, this frame.
    std::vector<DrawRecord> DialogFrames() const
    {
        return graphics.Where([](const DrawRecord& r) { return r.source == "gradient1024" && r.layer == 1029; });
    }

    StoryDialogGUIManager queue;
    qel::ManualClock clock{5000};
    RecordingFaces pictures;
};

TEST_F(StoryDialogDrawTest, the_front_dialog_shows_its_portrait_title_and_text_in_the_lower_middle)
{
    queue.Push({"Captain Reyes", "Hold position until the convoy clears the gate.", "head #e6b594 0 0", "#3a78b8"});
    queue.Push({"Ensign Ko", "Contact bearing 042.", "", "not a colour"});
    Draw();

    const auto frames = DialogFrames();
    ASSERT_EQ(frames.size(), 4u);  // white, then the dialog's colour; each panel fills in two parts
    EXPECT_EQ(frames[0].Left(), 204 + 1);  // a panel fills inside its outline
    EXPECT_EQ(frames[0].Top(), 537 + 1);
    EXPECT_EQ(frames[2].Left(), 204 + 3 + 1);
    EXPECT_EQ(pictures.faces, (std::vector<std::string>{"head #e6b594 0 0 at 210,543 size 142 layer 1030"}));
    const DrawRecord title = graphics.Text("Captain Reyes");
    EXPECT_EQ((std::vector<int>{title.box.left, title.box.top, title.box.right, title.box.bottom}),
              (std::vector<int>{355, 543, 813, 685}));
    EXPECT_EQ(title.colour, glm::vec4(1.0f));
    EXPECT_EQ(title.layer, 1030);
    const DrawRecord body = graphics.Text("Hold position until the convoy clears the gate.");
    EXPECT_EQ(body.box.top, 568);
    EXPECT_EQ(body.align, 2);
    EXPECT_EQ(body.colour, glm::vec4(0.8f, 0.8f, 0.8f, 1.0f));
    EXPECT_TRUE(graphics.Text("Ensign Ko").text.empty());  // only the front dialog shows

    // The inner frame takes the dialog's colour; one that does not parse is magenta.
    const auto innerFrame = [&] { return DialogFrames().at(2).colour; };
    EXPECT_EQ(frames[0].colour, glm::vec4(1.0f));
    EXPECT_NEAR(innerFrame().b, 0xb8 / 255.0f, 1e-3);
    input.MoveTo(600, 100);
    input.Press();
    Draw();
    input.Release();
    Draw();
    Draw();
    EXPECT_EQ(queue.Front().title, "Ensign Ko");
    EXPECT_EQ(innerFrame(), glm::vec4(1.0f, 0.0f, 1.0f, 1.0f));
}

TEST_F(StoryDialogDrawTest, a_release_on_another_control_also_dismisses_and_an_empty_queue_draws_nothing)
{
    queue.Push({"Captain Reyes", "Report.", "", "white"});
    input.MoveTo(100, 25);
    input.Press();
    Draw();
    input.Release();
    EXPECT_TRUE(Draw());  // the button under the click still clicks
    EXPECT_TRUE(queue.Empty());
    Draw();
    EXPECT_TRUE(DialogFrames().empty());
    EXPECT_EQ(pictures.faces.size(), 2u);
}

}  // namespace
