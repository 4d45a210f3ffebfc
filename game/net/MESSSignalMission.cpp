// The server's "signal" family for what consoles tell the mission: comms
// buttons, the main screen's view, red alert,
// the console's string-map answers, hold menus and buttons, and script events
// of a console's own. Each becomes a script event at once; red alert also
// sets the ship's key and tells the ship's other consoles.

#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"

namespace {

// The horn sounds at most once in this many ticks, however often the alert
// is toggled.
constexpr int64_t kRedAlertHornGapTicks = 300;

// 34.
void HandleCommsButton(QelNetworkMessage& message, const SignalSender& sender)
{
    CommsButtonSignal button;
    if (!ReadSignalOrReport(message, button, kServerSignalHandler) || !sender.ship)
        return;
    EventMessage event;
    event.tag = "press_comms_button";
    event.sub_tag = button.button;
    event.origin_id = button.shipId;
    event.selected_id = button.contactId;
    event.source_point = sender.ship->pos;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 40.
void HandleMainScreenView(QelNetworkMessage& message, const SignalSender& sender)
{
    MainScreenViewRequestSignal view;
    if (!ReadSignalOrReport(message, view, kServerSignalHandler) || !sender.ship)
        return;
    EventMessage event;
    event.tag = "main_screen_change";
    event.sub_tag = view.view;
    event.value_tag = view.facing;
    event.extra_tag = view.mode;
    event.origin_id = sender.ship->uniqueID;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 59: the ship's alert, its other consoles told, the horn when it goes on.
void HandleRedAlert(QelNetworkMessage& message, const SignalSender& sender)
{
    RedAlertSignal alert;
    if (!ReadSignalOrReport(message, alert, kServerSignalHandler) || !sender.ship)
        return;
    SpaceObject& ship = *sender.ship;
    const int32_t on = alert.redAlert != 0 ? 1 : 0;
    WriteInt(ship.data_set, shipkeys::kRedAlert, on);
    QelNetworkMessage& out = ServerOutgoingMessage();
    StartServerMessage(out, "signal", 0);
    WriteSignal(out, RedAlertSignal{on});
    // The ship's other consoles hear of the alert once: reliably.
    gServer->SendToShip(out, ship.uniqueID, ServerMessageSink::kReliable);
    if (on)
        sender.world->QueueSoundEvent("red_alert_horn", ship.pos, kRedAlertHornGapTicks);
    EventMessage event;
    event.tag = "red_alert";
    event.sub_tag = on ? "on" : "off";
    event.origin_id = ship.uniqueID;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 89: the console's answer to the mission's request for one of its strings.
void HandleClientString(QelNetworkMessage& message, const SignalSender& sender)
{
    ClientStringSignal answer;
    if (!ReadSignalOrReport(message, answer, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "client_string";
    event.sub_tag = answer.key;
    event.value_tag = answer.value;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 99.
void HandleHoldClick(QelNetworkMessage& message, const SignalSender& sender)
{
    HoldClickSignal click;
    if (!ReadSignalOrReport(message, click, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "hold_click";
    event.origin_id = click.subjectId;
    event.parent_id = click.objectId;
    event.selected_id = click.extraId;
    event.sub_tag = click.choice;
    event.source_point = {click.x, click.y, click.z};
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 100: the fourth id is the view's own and the mission has no use for it.
void HandleHoldButton(QelNetworkMessage& message, const SignalSender& sender)
{
    HoldButtonSignal hold;
    if (!ReadSignalOrReport(message, hold, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "hold_button_pressed";
    event.origin_id = hold.ids[0];
    event.selected_id = hold.ids[1];
    event.parent_id = hold.ids[2];
    event.sub_tag = hold.button;
    event.extra_tag = hold.view;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 101: an object that is gone is no object.
void HandleConsoleScriptEvent(QelNetworkMessage& message, const SignalSender& sender)
{
    ConsoleScriptEventSignal raised;
    if (!ReadSignalOrReport(message, raised, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = raised.tag;
    event.sub_tag = raised.subTag;
    event.origin_id = sender.world && sender.world->SpaceObjectExists(raised.objectId) ? raised.objectId : 0;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

}  // namespace

bool HandleServerMissionSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_COMMS_BUTTON: HandleCommsButton(message, sender); return true;
    case SIGNAL_MESS_MAIN_SCN_VIEW: HandleMainScreenView(message, sender); return true;
    case SIGNAL_MESS_RED_ALERT: HandleRedAlert(message, sender); return true;
    case SIGNAL_MESS_REQUEST_CLIENT_STRING: HandleClientString(message, sender); return true;
    case SIGNAL_MESS_HOLD: HandleHoldClick(message, sender); return true;
    case SIGNAL_MESS_HOLD_BUTTON: HandleHoldButton(message, sender); return true;
    case SIGNAL_MESS_SCRIPT_EVENT: HandleConsoleScriptEvent(message, sender); return true;
    default: return false;
    }
}
