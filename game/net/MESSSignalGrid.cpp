// The server's "signal" family for ship interior grids: a console's request
// for its ship's grid, and the crew's picks and buttons on the interior,
// which reach the mission as script events.

#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/world/SpaceObject.h"

namespace {

// 42: answered only for a console that has a ship.
void HandleGridRequest(QelNetworkMessage& message, const SignalSender& sender)
{
    GridRequestSignal request;
    if (ReadSignalOrReport(message, request, kServerSignalHandler) && sender.ship)
        gServer->AnswerGridRequest(sender.clientId, sender.ship->uniqueID, request.value);
}

// 46.
void HandleGridObjectSelection(QelNetworkMessage& message, const SignalSender& sender)
{
    GridObjectSelectionSignal selection;
    if (!ReadSignalOrReport(message, selection, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "grid_object_selection";
    event.sub_tag = selection.consoleName;
    event.value_tag = selection.widgetName;
    event.origin_id = event.parent_id = selection.shipId;
    event.selected_id = selection.gridObjectId;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 47: the cell goes in the event's point as (column, row, 0).
void HandleGridPointSelection(QelNetworkMessage& message, const SignalSender& sender)
{
    GridPointSelectionSignal selection;
    if (!ReadSignalOrReport(message, selection, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "grid_point_selection";
    event.sub_tag = selection.consoleName;
    event.value_tag = selection.widgetName;
    event.parent_id = selection.shipId;
    event.source_point = glm::vec3(static_cast<float>(selection.column), static_cast<float>(selection.row), 0.0f);
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 48: heard only from a console that has a ship, at the ship's position.
void HandleGridButton(QelNetworkMessage& message, const SignalSender& sender)
{
    GridButtonSignal button;
    if (!ReadSignalOrReport(message, button, kServerSignalHandler) || !sender.ship)
        return;
    EventMessage event;
    event.tag = "press_grid_button";
    event.sub_tag = button.button;
    event.origin_id = button.shipId;
    event.selected_id = button.gridObjectId;
    event.source_point = sender.ship->pos;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

}  // namespace

bool HandleServerGridSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_GRID: HandleGridRequest(message, sender); return true;
    case SIGNAL_MESS_GRID_OBJECT_SELECTION: HandleGridObjectSelection(message, sender); return true;
    case SIGNAL_MESS_GRID_POINT_SELECTION: HandleGridPointSelection(message, sender); return true;
    case SIGNAL_MESS_GRID_BUTTON: HandleGridButton(message, sender); return true;
    default: return false;
    }
}
