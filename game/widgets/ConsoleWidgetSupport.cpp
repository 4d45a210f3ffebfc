#include "game/widgets/ConsoleWidgetSupport.h"

#include "engine/base/QelClock.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/net/WorldLookup.h"
#include "game/shell/ControllerInput.h"
#include "game/shell/UIContext.h"

SpaceObject* ConsolePlayerShip()
{
    return theSimulation ? FindSpaceObjectById(theSimulation->subjectID) : nullptr;
}

uint32_t InputClockMilliseconds()
{
    return gInputFactory ? gInputFactory->GetMilliseconds() : qel::GetMilliseconds();
}

void DrawCentredText(const std::string& fontTag, const IntRect& rect, const std::string& text,
                     const glm::vec4& colour, int layer)
{
    theUIContext.DrawText(theUIContext.GetFont(fontTag), rect, text, colour, layer, 2);
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
