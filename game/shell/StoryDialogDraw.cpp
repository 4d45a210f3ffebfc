#include "game/shell/StoryDialogDraw.h"

#include "engine/base/QelClock.h"
#include "game/guimodel/StoryDialogGUIManager.h"
#include "game/ui/InterfacePictures.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "helper/ColorParse.h"

namespace {

// The box spans these shares of the window.
constexpr float kBoxLeft = 0.2f;
constexpr float kBoxTop = 0.7f;
constexpr float kBoxRight = 0.8f;
constexpr float kBoxBottom = 0.9f;
// The white edge shows this wide around the coloured frame.
constexpr int32_t kEdge = 3;
// Portrait and text keep this far from the box's edges.
constexpr int32_t kMargin = 6;
// The text column starts this far right of the portrait's left edge beyond its size.
constexpr int32_t kTextGap = 9;
// The body starts this far below the box's top, under the title.
constexpr int32_t kBodyTop = 31;

constexpr int kFrameLayer = 1029;
constexpr int kContentLayer = 1030;
constexpr const char* kFont = "gui-2";

const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kBodyColour{0.8f, 0.8f, 0.8f, 1.0f};

int32_t Share(int32_t length, float share)
{
    return static_cast<int32_t>(static_cast<float>(length) * share);
}

void Frame(UIContext& ui, const IntRect& rect, const glm::vec4& colour)
{
    uiFrame(ui, 1, static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
            static_cast<float>(rect.bottom), colour, kFrameLayer);
}

void DrawStoryDialog(UIContext& ui, const StoryDialogEntry& entry)
{
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    const IntRect box{Share(width, kBoxLeft), Share(height, kBoxTop), Share(width, kBoxRight),
                      Share(height, kBoxBottom)};
    ui.SetCurrentRect(box);
    Frame(ui, box, kWhite);
    ui.SetCurrentRect(Inset(box, kEdge));
    // A colour text that does not parse frames the dialog in magenta, where the mission's author sees it.
    glm::vec4 frameColour;
    ParseColor(frameColour, entry.color);
    Frame(ui, ui.CurrentRect(), frameColour);

    const int32_t portrait = (box.bottom - kMargin) - (box.top + kMargin);
    if (ui.pictures != nullptr && portrait > 0)
        ui.pictures->DrawFace(entry.face, box.left + kMargin, box.top + kMargin, static_cast<float>(portrait), kWhite,
                              kContentLayer);
    const int32_t textLeft = box.left + kTextGap + portrait;
    QelBitmapFont* font = ui.GetFont(kFont);
    ui.DrawText(font, IntRect{textLeft, box.top + kMargin, box.right - kMargin, box.bottom - kMargin}, entry.title,
                kWhite, kContentLayer);
    ui.DrawText(font, IntRect{textLeft, box.top + kBodyTop, box.right - kMargin, box.bottom - kMargin}, entry.text,
                kBodyColour, kContentLayer, 2);
}

}  // namespace

void DrawStoryDialogs(UIContext& ui, StoryDialogGUIManager& queue)
{
    if (queue.Empty())
        return;
    DrawStoryDialog(ui, queue.Front());
    queue.FinishFrame(ui.LeftReleased(), qel::GetMilliseconds());
}
