#include "game/widgets/ConsoleWidgetSupport.h"

#include "engine/base/QelClock.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/WorldLookup.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "helper/CRand.h"

#include <algorithm>

namespace {

// An empty widget's hint: the interface colour at half its brightness.
constexpr float kHintDim = 0.5f;
constexpr const char* kHintFont = "gui-1";

}  // namespace

SpaceObject* ConsolePlayerShip()
{
    return theSimulation ? FindSpaceObjectById(theSimulation->subjectID) : nullptr;
}

SpaceObject* ConsoleShipCopy()
{
    return HostsAuthoritativeWorld() ? nullptr : ConsolePlayerShip();
}

uint32_t InputClockMilliseconds()
{
    return gInputFactory ? gInputFactory->GetMilliseconds() : qel::GetMilliseconds();
}

void DrawCentredText(UIContext& ui, const std::string& fontTag, const IntRect& rect, const std::string& text,
                     const glm::vec4& colour, int layer, TextFlow flow)
{
    ui.DrawText(ui.GetFont(fontTag), rect, text, colour, layer, 2, flow);
}

void DrawEmptyHint(UIContext& ui, const IntRect& rect, const std::string& hint, int layer)
{
    glm::vec4 colour = ui.mainColour;
    colour.r *= kHintDim;
    colour.g *= kHintDim;
    colour.b *= kHintDim;
    DrawCentredText(ui, kHintFont, rect, hint, colour, layer, TextFlow::kOneLine);
}

const std::string* StandbyText(int32_t& index)
{
    const std::vector<std::string>& texts = AppData::StandbyTexts();
    if (texts.empty())
        return nullptr;
    if (index < 0) {
        const float spread = static_cast<float>(texts.size() - 1) + 0.999f;
        index = static_cast<int32_t>(static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) * spread);
    }
    return &texts[std::min(static_cast<size_t>(index), texts.size() - 1)];
}

bool ControllerActionEdge::Pressed()
{
    if (theControllerInput.controllerDisabled)
        return false;
    const bool down = theControllerInput.IsActionPressed(action);
    const bool pressed = down && !wasDown;
    wasDown = down;
    return pressed;
}
