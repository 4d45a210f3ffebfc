// The edit mode of GUIBoxManager: while the edit key is held the crew moves
// and resizes the boxes of the screen with the mouse.

#include "game/widgets/GUIBoxManager.h"

#include "engine/base/QelKeyboard.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "helper/CRand.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <utility>

namespace {

// A corner within this many pixels of the mouse is taken before a whole box.
constexpr float kGrabRadiusSquared = 30.0f * 30.0f;
constexpr float kHoverAlpha = 0.1f;
constexpr const char* kCaptionFont = "gui-1";
// The '#' grip drawn over the corner the mouse would take.
constexpr float kGripHalfLength = 20.0f;
constexpr float kGripOffset = 8.0f;
// Scattered boxes are 10 % squares whose top-left corner lies at 1 to 89.999 %.
constexpr float kScatterLow = 1.0f;
constexpr float kScatterSpan = 88.999f;
constexpr int32_t kScatterSize = 10;
// The outline runs through the hue circle once in this many render ticks.
constexpr uint64_t kHueCycleTicks = 180;
constexpr int32_t kScatterKey = 'R';

GUIBoxManager::BoxReporter& Reporter()
{
    static GUIBoxManager::BoxReporter reporter = [](const GUIBoxEditState::Report&) {};
    return reporter;
}

glm::vec4 OutlineColour(const RenderManager* view)
{
    const uint64_t tick = view ? view->tickCounter : 0;
    const float hue = static_cast<float>(static_cast<uint32_t>(tick) % kHueCycleTicks) * 2.0f;
    glm::vec4 colour{1.0f};
    HsvToRgb(hue, 1.0f, 1.0f, colour.r, colour.g, colour.b);
    return colour;
}

IntPoint Corner(const IntRect& px, int32_t part)
{
    const bool right = part == GUIBoxEditState::kTopRight || part == GUIBoxEditState::kBottomRight;
    const bool bottom = part == GUIBoxEditState::kBottomLeft || part == GUIBoxEditState::kBottomRight;
    return {right ? px.right : px.left, bottom ? px.bottom : px.top};
}

int32_t ScatterEdge()
{
    return static_cast<int32_t>(static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) * kScatterSpan +
                                kScatterLow);
}

void DrawOutline(UIContext& ui, const IntRect& px, const GUIBox& box, const glm::vec4& colour)
{
    const float l = static_cast<float>(px.left), t = static_cast<float>(px.top);
    const float r = static_cast<float>(px.right), b = static_cast<float>(px.bottom);
    ui.DrawLine(l, t, r, t, colour, box.layer);
    ui.DrawLine(l, b, r, b, colour, box.layer);
    ui.DrawLine(r, t, r, b, colour, box.layer);
    ui.DrawLine(l, t, l, b, colour, box.layer);
    ui.DrawText(ui.GetFont(kCaptionFont), px, box.widgetName, colour, box.layer);
}

void DrawGrip(UIContext& ui, IntPoint corner, const glm::vec4& colour, int layer)
{
    const float x = static_cast<float>(corner.x), y = static_cast<float>(corner.y);
    ui.DrawLine(x - kGripHalfLength, y - kGripOffset, x + kGripHalfLength, y - kGripOffset, colour, layer);
    ui.DrawLine(x - kGripHalfLength, y + kGripOffset, x + kGripHalfLength, y + kGripOffset, colour, layer);
    ui.DrawLine(x - kGripOffset, y + kGripHalfLength, x - kGripOffset, y - kGripHalfLength, colour, layer);
    ui.DrawLine(x + kGripOffset, y + kGripHalfLength, x + kGripOffset, y - kGripHalfLength, colour, layer);
}

struct Candidate {
    GUIBox* box = nullptr;
    int32_t part = GUIBoxEditState::kWholeBox;
    float best = kGrabRadiusSquared;
};

// Outlines every box of the screen and finds what the mouse would grab: the
// nearest corner within the grab radius, else the last box under the mouse.
Candidate OutlineAndFindCandidate(UIContext& ui, const GUIBoxEditState& state, const std::string& screenName,
                                  IntPoint mouse, bool scatter, const glm::vec4& colour)
{
    Candidate candidate;
    const float mx = static_cast<float>(mouse.x), my = static_cast<float>(mouse.y);
    for (const auto& [key, constBox] : GUIBoxManager::Boxes()) {
        if (constBox.screenName != screenName)
            continue;
        GUIBox* box = GUIBoxManager::FindBox(key.first, key.second);
        const IntRect px = GUIBoxManager::BoxRectToPixels(*box, state.layoutIndex);
        if (scatter) {
            const int32_t a = ScatterEdge();
            const int32_t b = ScatterEdge();
            box->rect[0] = {a, b, a + kScatterSize, b + kScatterSize};
        }
        DrawOutline(ui, px, *box, colour);
        const bool inside = px.left <= mouse.x && mouse.x <= px.right && px.top <= mouse.y && mouse.y <= px.bottom;
        if (inside && candidate.best >= kGrabRadiusSquared) {
            candidate.box = box;
            candidate.part = GUIBoxEditState::kWholeBox;
            ui.FillRect(static_cast<float>(px.left), static_cast<float>(px.top),
                                  static_cast<float>(px.right), static_cast<float>(px.bottom),
                                  {colour.r, colour.g, colour.b, kHoverAlpha});
        }
        for (int32_t part = GUIBoxEditState::kTopLeft; part < GUIBoxEditState::kWholeBox; ++part) {
            const IntPoint corner = Corner(px, part);
            const float dx = static_cast<float>(corner.x) - mx, dy = static_cast<float>(corner.y) - my;
            const float d = dx * dx + dy * dy;
            if (d < candidate.best)
                candidate = {box, part, d};
        }
    }
    return candidate;
}

void Grab(GUIBoxEditState& state, const Candidate& candidate, IntPoint mouse)
{
    state.grabbedBox = candidate.box;
    state.grabbedPart = candidate.part;
    state.dragging = true;
    state.grabMouse = mouse;
    if (candidate.part == GUIBoxEditState::kWholeBox) {
        state.grabPoint = {0, 0};
        state.savedRect = candidate.box->rect[state.layoutIndex == 1 ? 1 : 0];
    } else {
        state.grabPoint = Corner(GUIBoxManager::BoxRectToPixels(*candidate.box, state.layoutIndex), candidate.part);
    }
}

// The grabbed corner follows the mouse, or the whole box moves with it;
// edges are in percent of the window, truncated toward zero.
void Drag(GUIBoxEditState& state, IntPoint mouse, int32_t width, int32_t height)
{
    const int64_t nx = (int64_t{state.grabPoint.x} - state.grabMouse.x + mouse.x) * 100 / width;
    const int64_t ny = (int64_t{state.grabPoint.y} - state.grabMouse.y + mouse.y) * 100 / height;
    const auto edge = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, -GUIBoxManager::kMaxPercent, GUIBoxManager::kMaxPercent));
    };
    state.grabbedBox->arranged = true;
    IntRect& r = state.grabbedBox->rect[state.layoutIndex == 1 ? 1 : 0];
    switch (state.grabbedPart) {
    case GUIBoxEditState::kTopLeft: r.left = edge(nx), r.top = edge(ny); break;
    case GUIBoxEditState::kTopRight: r.right = edge(nx), r.top = edge(ny); break;
    case GUIBoxEditState::kBottomLeft: r.left = edge(nx), r.bottom = edge(ny); break;
    case GUIBoxEditState::kBottomRight: r.right = edge(nx), r.bottom = edge(ny); break;
    default:
        r = {edge(state.savedRect.left + nx), edge(state.savedRect.top + ny), edge(state.savedRect.right + nx),
             edge(state.savedRect.bottom + ny)};
        break;
    }
}

void OrderEdges(IntRect& r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
}

// The mission hears of the grabbed box when it changed, and on each release.
void ReportGrabbedBox(GUIBoxEditState& state, bool released, RenderManager* view)
{
    const GUIBox& box = *state.grabbedBox;
    const int32_t layout = state.layoutIndex == 1 ? 1 : 0;
    GUIBoxEditState::Report report{box.widgetName, box.screenName, state.layoutIndex, box.rect[layout]};
    if (!released && report == state.lastReport)
        return;
    state.lastReport = report;
    if (view)
        view->SendWidgetBoxState(report.widgetName, report.screenName, report.layoutIndex, report.rect.left,
                                 report.rect.top, report.rect.right, report.rect.bottom);
    Reporter()(report);
}

}  // namespace

void GUIBoxManager::SetBoxReporter(BoxReporter reporter)
{
    Reporter() = std::move(reporter);
}

void GUIBoxManager::EditMode(UIContext& ui, GUIBoxEditState& state, const std::string& screenName, RenderManager* view)
{
    UpdateLayoutIndex(state);
    if (!IsEditKeyHeld()) {
        state.dragging = false;
        return;
    }
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    if (width <= 0 || height <= 0)
        return;
    IntPoint mouse{};
    ui.MousePosition(mouse.x, mouse.y);
    QelKeyboard* keyboard = ui.Keyboard();
    const bool scatter = keyboard && keyboard->IsKeyReleased(kScatterKey);
    const glm::vec4 colour = OutlineColour(view);
    const Candidate candidate = OutlineAndFindCandidate(ui, state, screenName, mouse, scatter, colour);
    if (candidate.box && candidate.part != GUIBoxEditState::kWholeBox)
        DrawGrip(ui, Corner(BoxRectToPixels(*candidate.box, state.layoutIndex), candidate.part), colour,
                 candidate.box->layer);

    const bool buttonDown = ui.LeftDown();
    if (!state.dragging && buttonDown && candidate.box)
        Grab(state, candidate, mouse);
    const bool dragged = state.dragging;
    if (dragged)
        Drag(state, mouse, width, height);
    if (buttonDown)
        return;
    if (dragged) {
        Save();
        OrderEdges(state.grabbedBox->rect[state.layoutIndex == 1 ? 1 : 0]);
    }
    state.dragging = false;
    if (state.grabbedBox)
        ReportGrabbedBox(state, dragged, view);
}
