#include "game/shell/RetainedWidgetKinds.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/base/Qel2dBitmap.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/ui/Edline.h"
#include "game/ui/InterfacePictures.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "helper/GeneralUtils.h"

namespace {

const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kShadow{0.0f, 0.0f, 0.0f, 1.0f};
// Icons cast their shadow this far up and to the left.
constexpr float kShadowOffset = 1.0f;
// A "dropdown"'s rows are its data between these.
constexpr const char* kRowSeparator = "^";

// --- The widget's fields as the controls take them.

// The widget's colour text; an unset one is white.
std::string ColourText(const RetainedGUIWidget& widget)
{
    return RetainedGUIWidget::IsSet(widget.color) ? widget.color : "white";
}

// The widget's colour; an unset one, or one that does not parse, is white.
glm::vec4 Colour(const RetainedGUIWidget& widget)
{
    glm::vec4 colour = kWhite;
    if (RetainedGUIWidget::IsSet(widget.color))
        uiParseColorValid(widget.color, colour);
    return colour;
}

// Check boxes show their state on the indicator: lit while ticked.
int CheckState(const RetainedGUIWidget& widget)
{
    return widget.ticked ? 2 : 1;
}

struct Centre {
    float x, y, half;  // half: half the smaller side
};

Centre CentreOf(const IntRect& rect)
{
    return {static_cast<float>(rect.left + rect.right) / 2, static_cast<float>(rect.top + rect.bottom) / 2,
            static_cast<float>(std::min(rect.Width(), rect.Height())) / 2};
}

void IconShadow(UIContext& ui, int cell, const Centre& centre, int layer)
{
    uiGridIcon(ui, cell, kShadow, centre.x - kShadowOffset, centre.y - kShadowOffset, centre.half, layer);
}

// Text alignment of the font box: index 0 left, 1 centred, 2 right.
int TextAlign(int32_t index)
{
    switch (index) {
    case 1: return 2;
    case 2: return 1;
    default: return 0;
    }
}

// --- The kinds, in the order of the table.

bool DrawButton(RetainedWidgetDraw& d)
{
    return uiButton(d.context.ui, d.id, d.widget.text, d.font, true, d.layer);
}

bool DrawRawIconButton(RetainedWidgetDraw& d)
{
    const Centre centre = CentreOf(d.rect);
    IconShadow(d.context.ui, d.widget.index, centre, d.layer);
    return uiIconButton(d.context.ui, d.id, d.widget.index, Colour(d.widget), centre.x, centre.y, centre.half, d.layer,
                        1.0f);
}

bool DrawClickRegion(RetainedWidgetDraw& d)
{
    return uiFourStringButton(d.context.ui, d.id, d.widget.text, d.font, d.widget.data, d.layer);
}

// The field follows the widget's text only when the text changed from
// outside, so the cursor stays where the typist left it.
bool DrawTypein(RetainedWidgetDraw& d)
{
    RetainedGUIWidget& widget = d.widget;
    Edline& field = d.screen.TypeinField(widget.tag, d.font);
    field.password = !widget.ticked;
    field.id = d.id;
    field.font = d.font;
    field.SyncText(widget.text);
    if (!uiTextBox(d.context.ui, widget.data, field, d.layer))
        return false;
    widget.text = field.text;
    return true;
}

bool DrawDropdown(RetainedWidgetDraw& d)
{
    std::vector<std::string> rows;
    SplitString(d.widget.data, kRowSeparator, rows);
    return uiDropDown(d.context.ui, d.id, d.widget.text, d.widget.index, rows, d.font, d.layer);
}

bool DrawCheckbox(RetainedWidgetDraw& d)
{
    return uiCheckButton(d.context.ui, d.id, d.widget.text, d.font, d.widget.ticked, true, d.layer);
}

bool DrawColorButton(RetainedWidgetDraw& d)
{
    return uiColorButton(d.context.ui, d.id, ColourText(d.widget), 0, d.layer);
}

bool DrawIconButton(RetainedWidgetDraw& d)
{
    return uiIconButtonByName(d.context.ui, d.id, d.widget.index, ColourText(d.widget), 0, d.layer);
}

bool DrawColorCheckbox(RetainedWidgetDraw& d)
{
    return uiColorButton(d.context.ui, d.id, ColourText(d.widget), CheckState(d.widget), d.layer);
}

bool DrawIconCheckbox(RetainedWidgetDraw& d)
{
    return uiIconButtonByName(d.context.ui, d.id, d.widget.index, ColourText(d.widget), CheckState(d.widget), d.layer);
}

// Acts when a drag ends, and during it when the value moved and the last
// report is kSliderReportTicks old.
bool DrawSlider(RetainedWidgetDraw& d)
{
    RetainedGUIWidget& widget = d.widget;
    const float before = widget.value;
    if (uiSlider(d.context.ui, d.id, widget.low, widget.high, widget.value, d.layer, widget.data))
        return true;
    const uint64_t tick = static_cast<uint64_t>(std::max(d.context.ui.tickCount, 0));
    if (widget.value == before || tick < widget.nextSendTick)
        return false;
    widget.nextSendTick = tick + RetainedGUIScreen::kSliderReportTicks;
    return true;
}

bool DrawPlainText(RetainedWidgetDraw& d)
{
    UIContext& ui = d.context.ui;
    ui.DrawText(ui.GetFont(d.font), d.rect, d.widget.text, Colour(d.widget), d.layer + 1, TextAlign(d.widget.index));
    return false;
}

bool DrawFace(RetainedWidgetDraw& d)
{
    InterfacePictures* pictures = d.context.ui.pictures;
    if (pictures != nullptr && d.rect.IsOpen())
        pictures->DrawFace(d.widget.text, d.rect.left, d.rect.top, static_cast<float>(d.rect.Width()), kWhite,
                           d.layer - 1);
    return false;
}

bool DrawShip(RetainedWidgetDraw& d)
{
    Qel2dBitmap* target = d.context.shown.ShipTarget();
    InterfacePictures* pictures = d.context.ui.pictures;
    if (pictures != nullptr && target != nullptr && d.rect.IsOpen())
        pictures->DrawShipInBox(target, d.widget.text, d.rect);
    return false;
}

bool DrawIcon(RetainedWidgetDraw& d)
{
    const Centre centre = CentreOf(d.rect);
    IconShadow(d.context.ui, d.widget.index, centre, d.layer);
    uiGridIcon(d.context.ui, d.widget.index, Colour(d.widget), centre.x, centre.y, centre.half, d.layer);
    return false;
}

// A bitmap that does not load is named once in the console log (UIContext::Bitmap).
bool DrawBitmap(RetainedWidgetDraw& d)
{
    const RetainedGUIWidget& widget = d.widget;
    Qel2dBitmap* bitmap = d.context.ui.Bitmap(widget.data);
    if (bitmap == nullptr)
        return false;
    if (widget.srcRight < 1 && widget.srcBottom < 1)
        bitmap->SetSourceQuad(0, 0, 1, 0, 0, 1, 1, 1);
    else
        bitmap->SetSourceRect(widget.srcLeft, widget.srcTop, widget.srcRight, widget.srcBottom);
    const IntRect& r = d.rect;
    bitmap->SetDestRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                        static_cast<float>(r.bottom));
    const glm::vec4 colour = Colour(widget);
    bitmap->DrawQuad(&colour[0], d.layer - 1, false);
    return false;
}

bool DrawSubregion(RetainedWidgetDraw& d)
{
    d.screen.LayoutAndDraw(d.context, d.rect, d.widget);
    return false;
}

namespace k = retained_kind;

// Each row: the kind, whether it takes an id, plays the click as it acts,
// and takes its colour as its label's; then how it draws.
constexpr std::array<RetainedKind, 17> kKinds = {{
    {k::kButton, true, true, true, DrawButton},
    {k::kRawIconButton, true, true, false, DrawRawIconButton},
    {k::kClickRegion, true, true, true, DrawClickRegion},
    {k::kTypein, true, false, true, DrawTypein},
    {k::kDropdown, true, true, true, DrawDropdown},
    {k::kCheckbox, true, true, true, DrawCheckbox},
    {k::kColorButton, true, true, false, DrawColorButton},
    {k::kIconButton, true, true, false, DrawIconButton},
    {k::kColorCheckbox, true, true, false, DrawColorCheckbox},
    {k::kIconCheckbox, true, true, false, DrawIconCheckbox},
    {k::kSlider, true, false, false, DrawSlider},
    {k::kText, false, false, false, DrawPlainText},
    {k::kFace, false, false, false, DrawFace},
    {k::kShip3D, false, false, false, DrawShip},
    {k::kIcon, false, false, false, DrawIcon},
    {k::kBitmap, false, false, false, DrawBitmap},
    {k::kSubregion, false, false, false, DrawSubregion},
}};

}  // namespace

const RetainedKind* FindRetainedKind(const std::string& name)
{
    const auto found = std::find_if(kKinds.begin(), kKinds.end(), [&name](const RetainedKind& kind) {
        return name == kind.name;
    });
    return found == kKinds.end() ? nullptr : &*found;
}
