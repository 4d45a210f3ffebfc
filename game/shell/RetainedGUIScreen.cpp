#include "game/shell/RetainedGUIScreen.h"

#include <algorithm>
#include <cmath>

#include "game/guimodel/RetainedGUIManager.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/shell/RetainedWidgetKinds.h"
#include "game/ui/Edline.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"

namespace {

constexpr const char* kDefaultFont = "gui-2";
constexpr int kDefaultLayer = 1002;
constexpr const char* kHotKeyDescription = "RetainedGUIManager::HandleHotKeys";
constexpr const char* kClickSound = "gui_button";
// Edges are held within this many pixels of the window's origin: far beyond
// any screen, and a sub-region nested in a huge one still places its
// children within 32 bits.
constexpr float kMaxEdge = 1.0e8f;

int32_t Edge(int32_t origin, float offset)
{
    return static_cast<int32_t>(std::clamp(static_cast<float>(origin) + std::trunc(offset), -kMaxEdge, kMaxEdge));
}

// The widget's rectangle inside its parent: pixels from the parent's
// top-left corner, or percent of its width and height.
IntRect PlaceIn(const IntRect& parent, const RetainedGUIWidget& widget)
{
    if (widget.absolute)
        return {Edge(parent.left, widget.left), Edge(parent.top, widget.top), Edge(parent.left, widget.right),
                Edge(parent.top, widget.bottom)};
    const float width = static_cast<float>(parent.Width());
    const float height = static_cast<float>(parent.Height());
    return {Edge(parent.left, width * widget.left / 100), Edge(parent.top, height * widget.top / 100),
            Edge(parent.left, width * widget.right / 100), Edge(parent.top, height * widget.bottom / 100)};
}

}  // namespace

RetainedGUIScreen::RetainedGUIScreen() = default;

RetainedGUIScreen::~RetainedGUIScreen() = default;

void RetainedGUIScreen::HandleHotKeys(UIContext& ui, RetainedGUIManager& shown)
{
    RetainedLayoutContext context{ui, shown};
    LayoutAndDraw(context, IntRect{0, 0, ui.WindowWidth(), ui.WindowHeight()}, shown.Root());
    for (const ScriptHotKey& hotKey : shown.HotKeys()) {
        if (!isHotKeyPressed(hotKey.context, hotKey.tag, hotKey.code, kHotKeyDescription))
            continue;
        if (const RetainedGUIWidget* widget = shown.FindByTag(hotKey.tag))
            context.actions.push_back(RetainedActionSignal::Of(*widget));
    }
    for (const RetainedActionSignal& action : context.actions)
        OnWidgetAction(action);
}

void RetainedGUIScreen::LayoutAndDraw(RetainedLayoutContext& context, const IntRect& parent,
                                      RetainedGUIWidget& record)
{
    UIContext& ui = context.ui;
    for (RetainedGUIWidget& child : record.visibleList) {
        const RetainedKind* kind = FindRetainedKind(child.kind);
        if (kind == nullptr || !child.shown)
            continue;
        RetainedWidgetDraw draw{*this, context, child, PlaceIn(parent, child),
                                RetainedGUIWidget::IsSet(child.font) ? child.font : kDefaultFont,
                                child.layer != 0 ? child.layer : kDefaultLayer};
        ui.SetCurrentRect(draw.rect);
        if (kind->interactive)
            draw.id = context.NextId();
        if (kind->tinted && RetainedGUIWidget::IsSet(child.color))
            ui.nextControlColour = child.color;
        const bool acted = kind->draw(draw);
        ui.nextControlColour.clear();
        if (!acted)
            continue;
        if (kind->clicks)
            PlayGUISound(kClickSound);
        context.actions.push_back(RetainedActionSignal::Of(child));
    }
}

void RetainedGUIScreen::OnWidgetAction(const RetainedActionSignal& action)
{
    if (HostsAuthoritativeWorld()) {
        if (gServer != nullptr)
            gServer->RaiseEventFromClient(0, GuiMessageEvent(action));
        return;
    }
    if (!IsClientConnected())
        return;
    WriteSignal(StartClientMessage("signal"), action);
    SendClientMessage();
}

Edline& RetainedGUIScreen::TypeinField(const std::string& tag, const std::string& font)
{
    std::unique_ptr<Edline>& field = typeinFields[tag];
    if (!field)
        field = std::make_unique<Edline>(0, font, kTypeinCapacity);
    return *field;
}
