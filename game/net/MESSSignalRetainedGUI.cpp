// The server's "signal" family for the retained GUI: a console reports what
// its crew did with a script screen (39) and answers a request for its tree
// (88); both reach the mission at once as script events from that console.
// Neither needs the console's ship.

#include "game/net/CorvaneServer.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"

namespace {

// 39: "gui_message".
void HandleAction(QelNetworkMessage& message, const SignalSender& sender)
{
    RetainedActionSignal action;
    if (ReadSignalOrReport(message, action, kServerSignalHandler))
        gServer->RaiseEventFromClient(sender.clientId, GuiMessageEvent(action));
}

// 88: "debug_rgui_tree" with the text.
void HandleDebugTreeText(QelNetworkMessage& message, const SignalSender& sender)
{
    DebugTreeTextSignal answer;
    if (!ReadSignalOrReport(message, answer, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "debug_rgui_tree";
    event.sub_tag = std::move(answer.text);
    gServer->RaiseEventFromClient(sender.clientId, std::move(event));
}

}  // namespace

bool HandleServerRetainedGUISignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_RGUI_ACTION: HandleAction(message, sender); return true;
    case SIGNAL_MESS_DEBUG_TREE: HandleDebugTreeText(message, sender); return true;
    default: return false;
    }
}
