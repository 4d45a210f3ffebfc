// "comms_waterfall": every message the ship has received, newest at the top.
// A row shows the sender's portrait (or the crew's star), the title, the
// message's age in minutes and the body's first line; a click opens a
// message whole (or closes it again), marks it with a star from its corner,
// and makes its sender the comms contact. The list scrolls with the slider,
// the wheel or a drag, and a red line pulses along its top while a message
// is new.
//
// The rows are drawn into the 2D radar's render target and copied into the
// box, which cuts off the rows that reach outside it.

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kLayer = 1000;
constexpr int kTextLayer = 1001;
constexpr int kPulseLayer = 1005;
constexpr const char* kFont = "gui-1";
constexpr int32_t kSliderId = 1101;
// The slider's strip, and the gap between it and the list, pixels.
constexpr int32_t kSliderWidth = 30;
constexpr int32_t kListGap = 1;
// Bodies are laid out this much narrower than the list.
constexpr int32_t kMeasureSlack = 30;
// Added to a body's height for the title line's margins, pixels.
constexpr int32_t kRowMargin = 14;
// The icon's square at a row's top-left; the texts start right of it.
constexpr int32_t kIconSize = 30;
constexpr int32_t kTextLeft = 32;
constexpr float kStarScale = 0.09f;
constexpr int32_t kBodyGap = 5;
// A text line is a line of the font plus this much space, pixels.
constexpr int32_t kLineSpacing = 4;
// A dragged list moves this many scroll units per pixel of the mouse.
constexpr float kDragScrollPerPixel = 4.0f;
// A drag that moved the list less than this is a click.
constexpr float kClickScrollTolerance = 5.0f;
// The list's top keeps this much of the last row in view at the end of the range.
constexpr int32_t kScrollEndMargin = 30;
// Ages count world ticks, 30 to the second.
constexpr int64_t kTicksPerMinute = 1800;
// Ages start above any message, and the pulse runs while the newest is younger.
constexpr int64_t kOlderThanAny = 10000;
constexpr int64_t kNewMessageTicks = 250;
constexpr double kPulseTicksPerRadian = 10.0;
constexpr int kLeftButton = 0;
constexpr const char* kOpenSound = "gui_comms_open";
constexpr const char* kSelectionSource = "comms_list";
// The age keeps this much room from the title before it, pixels.
constexpr int32_t kAgeGap = 8;
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
// The rows are drawn off screen, into the radar's target.
constexpr const char* kListSurface = "comms_waterfall";
constexpr glm::vec4 kWhite{1.0f};

float F(int32_t value)
{
    return static_cast<float>(value);
}

QelMouse* Mouse()
{
    return gInputFactory ? gInputFactory->GetMouse() : nullptr;
}

// The GUI holds the mouse: a control is pressed or a drop-down list is open.
bool MouseHeldByControl(UIContext& ui)
{
    return ui.activeId != 0 || ui.modalThisFrame != 0;
}

// One frame's layout of the list, in the list area's own coordinates.
struct Pass {
    IntRect area;            // the list area, window pixels
    int32_t width = 0;       // K
    int32_t lineHeight = 0;  // O
    int64_t tick = 0;
    bool mouseIn = false;    // the mouse lies in the list area
    int32_t mouseX = 0;      // the mouse, list-area coordinates
    int32_t mouseY = 0;
    bool mouseDown = false;
    RenderManager* view = nullptr;  // whose radar target the rows are drawn into
};

void DrawIcon(RenderManager& view, const CommsMessageRecord& message, int32_t top)
{
    UIContext& ui = view.UI();
    if (message.starState == 1 || message.starState == 2) {
        Qel2dBitmap* star = ui.Bitmap(message.starState == 1 ? "starFilled" : "starHollow");
        if (star)
            star->DrawRotated(F(kIconSize / 2), F(top + kIconSize / 2), 0.0f, kStarScale, kLayer,
                              glm::value_ptr(kWhite), false);
    } else if (!message.face.empty()) {
        view.portraitGen.DrawFace(message.face, 0, top, F(kIconSize), kWhite, kLayer);
    }
}

// The title with the age at the right end of its line, and the body: whole
// while the message is open, else its first line cut short.
void DrawTexts(UIContext& ui, QelBitmapFont& font, const CommsMessageRecord& message, const IntRect& row, int64_t age,
               bool expanded, const Pass& pass)
{
    IntRect titleBox{kTextLeft, row.top, pass.width, row.top + pass.lineHeight};
    if (age >= kTicksPerMinute) {
        const std::string minutes = std::to_string(age / kTicksPerMinute) + " min";
        ui.DrawText(&font, titleBox, minutes, message.titleColour, kTextLayer, kAlignRight, TextFlow::kOneLine);
        titleBox.right -= font.GetTextWidth(minutes) + kAgeGap;
    }
    ui.DrawText(&font, titleBox, message.title, message.titleColour, kTextLayer, kAlignLeft, TextFlow::kOneLine);
    const int32_t bodyTop = row.top + pass.lineHeight + kBodyGap;
    if (expanded) {
        // Laid out at the width it was measured at, so it fills its row exactly.
        ui.DrawText(&font, {kTextLeft, bodyTop, kTextLeft + message.layoutWidth, row.bottom}, message.body,
                    message.bodyColour, kTextLayer);
        return;
    }
    ui.DrawText(&font, {kTextLeft, bodyTop, pass.width, bodyTop + pass.lineHeight}, message.body, message.bodyColour,
                kTextLayer, kAlignLeft, TextFlow::kCutLine);
}

// One message's row: its background (lit under the mouse, red while open),
// icon and texts. The row under the mouse becomes the hovered one.
void DrawRow(UIContext& ui, CommsWaterfallState& state, QelBitmapFont& font, const CommsMessageRecord& message,
             int32_t index, const IntRect& row, int64_t age, const Pass& pass)
{
    const bool expanded = index == state.expanded;
    const float red = expanded ? 0.3f : 0.0f;
    float green = 0.1f, blue = 0.1f;
    const bool under = pass.mouseIn && pass.mouseY >= row.top && pass.mouseY < row.bottom;
    if (under && !MouseHeldByControl(ui)) {
        state.hovered = index;
        state.starHovered = pass.mouseX < kIconSize && pass.mouseY < row.top + kIconSize;
        green = pass.mouseDown ? 0.4f : 0.1f;
        blue = 0.4f;
    }
    ui.FillRect(F(row.left), F(row.top), F(row.right), F(row.bottom), glm::vec4(red, green, blue, 1.0f), kLayer);
    ui.DrawLine(F(row.left), F(row.top), F(row.right), F(row.top), glm::vec4(red, green + 0.3f, blue + 0.3f, 1.0f),
                kLayer);
    DrawIcon(*pass.view, message, row.top);
    DrawTexts(ui, font, message, row, age, expanded, pass);
}

// Step through the messages newest first, drawing the rows in the area.
void DrawRows(UIContext& ui, CommsWaterfallState& state, QelBitmapFont& font, std::vector<CommsMessageRecord>& messages,
              const Pass& pass)
{
    const int32_t startY = static_cast<int32_t>(-(1.0f - state.scroll / CommsWaterfallState::kMaxScroll) *
                                                F(state.totalHeight - kScrollEndMargin));
    state.totalHeight = 0;
    state.hovered = CommsWaterfallState::kNone;
    state.starHovered = false;
    state.youngestAge = kOlderThanAny;
    const int32_t areaHeight = pass.area.Height();
    for (size_t i = messages.size(); i-- > 0;) {
        CommsMessageRecord& message = messages[i];
        const int64_t age = pass.tick - message.arrivalTick;
        state.youngestAge = std::min(state.youngestAge, age);
        if (message.measuredHeight == 0)
            MeasureCommsMessage(ui, message, pass.width - kMeasureSlack);
        const auto index = static_cast<int32_t>(i);
        const int32_t height =
            index == state.expanded ? message.measuredHeight : 2 * pass.lineHeight + kRowMargin;
        const IntRect row{0, startY + state.totalHeight, pass.width, startY + state.totalHeight + height};
        state.totalHeight += height;
        if (row.bottom > 0 && row.top < areaHeight)
            DrawRow(ui, state, font, message, index, row, age, pass);
    }
}

// The wheel and the drag scroll the list; a drag that barely moved is a
// click on the row under it.
void HandleMouse(RenderManager& view, CommsWaterfallState& state, const IntRect& box,
                 std::vector<CommsMessageRecord>& messages)
{
    UIContext& ui = view.UI();
    QelMouse* mouse = Mouse();
    int32_t x = 0, y = 0;
    if (!mouse || !ui.MousePosition(x, y))
        return;
    const bool down = mouse->IsDown(kLeftButton);
    if (ui.MouseInside(box) && !MouseHeldByControl(ui)) {
        state.scroll = std::clamp(state.scroll + F(mouse->GetWheel()), 0.0f, CommsWaterfallState::kMaxScroll);
        mouse->SetWheel(0);
        if (down && !state.dragging) {
            state.dragging = true;
            state.dragStartScroll = state.scroll;
            state.dragStartY = y;
        }
    }
    if (!state.dragging)
        return;
    state.scroll = std::clamp(state.dragStartScroll - F(state.dragStartY - y) * kDragScrollPerPixel, 0.0f,
                              CommsWaterfallState::kMaxScroll);
    if (mouse->WasReleased(kLeftButton) && std::abs(state.scroll - state.dragStartScroll) < kClickScrollTolerance &&
        state.hovered >= 0 && static_cast<size_t>(state.hovered) < messages.size()) {
        CommsMessageRecord& message = messages[static_cast<size_t>(state.hovered)];
        state.expanded = state.expanded == state.hovered ? CommsWaterfallState::kNone : state.hovered;
        if (state.starHovered)
            message.starState = (message.starState + 1) % 3;
        PlayGUISound(kOpenSound);
        view.SelectObject(message.sourceId, glm::vec3(0.0f), std::string(shipkeys::kCommsTargetUid.name),
                          kSelectionSource);
    }
    if (!down)
        state.dragging = false;
}

void DrawStandby(UIContext& ui, CommsWaterfallState& state, const IntRect& rect)
{
    const std::string* text = StandbyText(state.standbyIndex);
    if (text)
        DrawCentredText(ui, kFont, rect, *text, ui.mainColour, kLayer);
}

}  // namespace

void MeasureCommsMessage(UIContext& ui, CommsMessageRecord& message, int32_t width)
{
    message.layoutWidth = width;
    QelBitmapFont* font = ui.GetFont(kFont);
    if (!font)
        return;
    message.measuredHeight =
        ui.MeasureText(font, std::max(1, width), message.body) + font->GetLineStep() + kRowMargin;
}

void ViewCommsWaterfallDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    CommsWaterfallState& state = console.commsWaterfall;
    if (!ConsolePlayerShip()) {
        DrawStandby(ui, state, rect);
        return;
    }
    if (ui.MouseInside(rect))
        console.mouseOverControl = true;
    ui.SetCurrentRectEdges(rect.right - kSliderWidth, rect.top, rect.right, rect.bottom);
    uiSlider(ui, kSliderId, 0.0f, CommsWaterfallState::kMaxScroll, state.scroll, kLayer, "");

    Pass pass;
    pass.area = IntRect{rect.left, rect.top, rect.right - kSliderWidth - kListGap, rect.bottom};
    pass.width = pass.area.Width();
    std::vector<CommsMessageRecord>& messages = theSimulation->commsMessages;
    if (rect != state.lastBox) {
        for (CommsMessageRecord& message : messages)
            MeasureCommsMessage(ui, message, pass.width - kMeasureSlack);
        state.lastBox = rect;
    }
    QelBitmapFont* font = ui.GetFont(kFont);
    RenderManager* view = console.renderer;
    Qel2dBitmap* target = view ? view->radarTarget : nullptr;
    if (!font || !target || !gGraphicsFactory)
        return;
    pass.view = view;
    pass.lineHeight = font->GetLineStep() + kLineSpacing;
    pass.tick = theSimulation->TickCount();
    int32_t x = 0, y = 0;
    if (ui.MousePosition(x, y)) {
        pass.mouseIn = ui.MouseInside(pass.area);
        pass.mouseX = x - pass.area.left;
        pass.mouseY = y - pass.area.top;
        pass.mouseDown = ui.LeftDown();
    }

    view->render2D.BeginTarget();
    {
        const TextSurfaceScope offScreen(ui, kListSurface);
        DrawRows(ui, state, *font, messages, pass);
    }
    view->render2D.EndTarget();
    HandleMouse(*view, state, rect, messages);

    // The list's corner of the target, no larger than the target.
    const int32_t width = std::min(pass.width, target->GetWidth());
    const int32_t height = std::min(pass.area.Height(), target->GetHeight());
    target->SetSourceRectInt(QelRect{0, 0, width, height});
    target->SetDestRectInt(QelRect{pass.area.left, pass.area.top, pass.area.left + width, pass.area.top + height});
    target->DrawQuad(glm::value_ptr(kWhite), kLayer, false);

    if (state.youngestAge < kNewMessageTicks) {
        const double phase = static_cast<double>(pass.tick) / kPulseTicksPerRadian;
        const auto red = static_cast<float>((std::sin(phase) + 1.0) * 0.5);
        ui.DrawLine(F(pass.area.left), F(pass.area.top), F(pass.area.right), F(pass.area.top),
                    glm::vec4(red, 0.0f, 0.0f, 1.0f), kPulseLayer);
    }
}
