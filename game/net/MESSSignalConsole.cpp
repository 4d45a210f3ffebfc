// The server's "signal" family for what a console tells of its screen: the
// boxes of a widget the mission asked about go to the mission at once as a
// script event; it needs no ship.

#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"

#include <string>

namespace {

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

bool HandleServerConsoleSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_WIDGET_BOX_STATE: HandleWidgetBoxState(message, sender); return true;
    default: return false;
    }
}
