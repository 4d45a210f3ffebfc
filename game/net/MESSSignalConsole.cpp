// The server's "signal" family for what a console tells of its screen: its
// window size and the boxes of a widget the mission asked about. Both go to
// the mission at once as script events; neither needs a ship.

#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"

#include <string>

namespace {

// 62.
void HandleScreenSize(QelNetworkMessage& message, const SignalSender& sender)
{
    ScreenSizeSignal size;
    if (ReadSignalOrReport(message, size, kServerSignalHandler))
        RaiseScreenSizeEvent(sender.clientId, size.width, size.height);
}

// 95: the rectangle travels as text, "left, top, right, bottom".
void HandleWidgetBoxState(QelNetworkMessage& message, const SignalSender& sender)
{
    WidgetBoxStateSignal box;
    if (!ReadSignalOrReport(message, box, kServerSignalHandler))
        return;
    gServer->RaiseEventFromClient(sender.clientId, WidgetBoxStateEvent(box));
}

}  // namespace

EventMessage WidgetBoxStateEvent(const WidgetBoxStateSignal& box)
{
    EventMessage event;
    event.tag = "widget_box_state";
    event.sub_tag = box.widgetName;
    event.extra_tag = box.screenName;
    event.value_tag = std::to_string(box.left) + ", " + std::to_string(box.top) + ", " +
                      std::to_string(box.right) + ", " + std::to_string(box.bottom);
    event.sub_float = static_cast<float>(box.layoutIndex);
    return event;
}

void RaiseScreenSizeEvent(uint64_t clientId, int32_t width, int32_t height)
{
    if (!gServer)
        return;
    EventMessage event;
    event.tag = "screen_size";
    event.source_point = glm::vec3(static_cast<float>(width), static_cast<float>(height), 0.0f);
    gServer->RaiseEventFromClient(clientId, event);
}

bool HandleServerConsoleSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_SCREEN_SIZE: HandleScreenSize(message, sender); return true;
    case SIGNAL_MESS_WIDGET_BOX_STATE: HandleWidgetBoxState(message, sender); return true;
    default: return false;
    }
}
