// The drop-down: a head that opens a modal list of rows. While the list is
// open the context's modal id names the drop-down, and every other control
// is inert; a release outside the list's region closes it (UIContext::EndFrame).

#include <algorithm>

#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"

namespace {

// The list sits this far sideways from its head, towards the window's middle.
constexpr int32_t kListSideStep = 10;
// A column of rows that runs off the window continues one list width to the
// right, this many rows back.
constexpr int32_t kRowsBackOnWrap = 5;
constexpr int32_t kRowGap = 1;
// The head's label keeps inside its edges, and clear of the chevron.
constexpr int32_t kLabelInset = 3;
constexpr int32_t kChevronRoom = 9;

// The chevron at the head's right end: two strokes meeting below the middle.
void DrawChevron(UIContext& ui, const IntRect& head, const glm::vec4& colour, int layer)
{
    const float right = static_cast<float>(head.right);
    const float middle = static_cast<float>(head.top + head.bottom) / 2;
    ui.DrawLine(right - 9, middle - 3, right - 6, middle + 3, colour, layer);
    ui.DrawLine(right - 3, middle - 3, right - 6, middle + 3, colour, layer);
}

// Lays the rows out one after another, away from the nearer window edges.
class RowWalk {
public:
    RowWalk(const IntRect& head, int32_t windowWidth, int32_t windowHeight)
        : row_(head), windowHeight_(windowHeight), down_(head.top < windowHeight / 2)
    {
        const int32_t side = head.left < windowWidth / 2 ? kListSideStep : -kListSideStep;
        row_.Offset(side, 0, side, 0);
    }

    const IntRect& Next()
    {
        const int32_t height = row_.Height();
        const int32_t width = row_.Width();
        const int32_t step = (height + kRowGap) * (down_ ? 1 : -1);
        row_.Offset(0, step, 0, step);
        if (down_ && row_.bottom > windowHeight_)
            row_.Offset(width, -kRowsBackOnWrap * height, width, -kRowsBackOnWrap * height);
        else if (!down_ && row_.top < 0)
            row_.Offset(width, kRowsBackOnWrap * height, width, kRowsBackOnWrap * height);
        return row_;
    }

private:
    IntRect row_;
    int32_t windowHeight_;
    bool down_;
};

}  // namespace

bool uiDropDown(UIContext& ui, int32_t id, std::string& label, int32_t& selected, const std::vector<std::string>& list,
                const std::string& fontTag, int layer)
{
    const std::string colourText = ui.nextControlColour;  // for the rows as well as the head
    const glm::vec4 labelColour = ui.LabelColour(true);
    const IntRect head = ui.CurrentRect();
    if (!head.IsOpen())
        return false;

    bool chosen = false;
    if (ui.modalThisFrame == id) {
        if (list.empty()) {
            // The rows went away while the list was open: there is nothing to choose.
            ui.modalNextFrame = 0;
            ui.modalRegion = UIContext::kNoRegion;
        } else {
            ui.nextControlColour = colourText;
            chosen = uiDropDownList(ui, id + kDropDownRowIdOffset, head, selected, list, fontTag, layer + 3);
            if (chosen)
                label = list[static_cast<size_t>(selected)];
        }
    } else if (ui.ClickRule(id, head, true) && !list.empty()) {
        ui.modalNextFrame = id;
        // The whole window until the list narrows it on the next frame, so the
        // release that opened it does not close it.
        ui.modalRegion = IntRect{0, 0, ui.WindowWidth(), ui.WindowHeight()};
    }

    DrawFrame(ui, 1, head, ui.PanelColour(id), layer);
    IntRect labelBox = Inset(head, kLabelInset);
    labelBox.right -= kChevronRoom;
    ui.DrawText(ui.GetFont(fontTag), labelBox, label, labelColour, layer + 1, 0, TextFlow::kOneLine);
    DrawChevron(ui, head, labelColour, layer + 1);
    return chosen;
}

bool uiDropDownList(UIContext& ui, int32_t id, const IntRect& rect, int32_t& selected,
                    const std::vector<std::string>& list, const std::string& fontTag, int layer)
{
    if (list.empty()) {
        ui.nextControlColour.clear();
        return false;
    }
    ui.modalRegion = rect;
    DrawFrame(ui, 1, rect, ui.dimColour, layer);

    // The rows are the one part of the screen that answers while the list is open.
    const int32_t openList = ui.modalThisFrame;
    ui.modalThisFrame = 0;
    const std::string rowColour = ui.nextControlColour;
    ui.PushRect();
    RowWalk walk(rect, ui.WindowWidth(), ui.WindowHeight());
    bool chosen = false;
    for (size_t i = 0; i < list.size(); ++i) {
        const IntRect& row = walk.Next();
        ui.modalRegion.top = std::min(ui.modalRegion.top, row.top);
        ui.modalRegion.bottom = std::max(ui.modalRegion.bottom, row.bottom);
        ui.SetCurrentRect(row);
        ui.nextControlColour = rowColour;
        if (uiButton(ui, id + static_cast<int32_t>(i), list[i], fontTag, true, layer) && !chosen) {
            selected = static_cast<int32_t>(i);
            ui.modalNextFrame = 0;
            chosen = true;
        }
    }
    ui.PopRect();
    ui.modalThisFrame = openList;
    return chosen;
}
