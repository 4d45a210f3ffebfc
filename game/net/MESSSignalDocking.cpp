// The server's "signal" family for docking: a ship asks to dock with the base
// its "dock_base_id" names, which draws it in by a tractor connection, or
// leaves it. A console docks only its own ship.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/net/WorldLookup.h"
#include "game/world/AppData.h"

namespace {

using namespace playership;

// The tractor beam's sound plays at most once in this many ticks.
constexpr int64_t kTractorSoundGapTicks = 300;

void RaiseDockingChange(const SignalSender& sender, const char* change, uint64_t baseId)
{
    EventMessage event;
    event.tag = "docking_change";
    event.sub_tag = change;
    event.origin_id = sender.ship->uniqueID;
    event.selected_id = baseId;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 10: an undocked ship that is not jumping and whose base exists is drawn in.
void HandleDock(QelNetworkMessage& message, const SignalSender& sender)
{
    DockSignal dock;
    if (!ReadSignalOrReport(message, dock, kServerSignalHandler) || !sender.ship)
        return;
    if (dock.shipId != sender.ship->uniqueID) {
        ReportRejectedMessage(kServerSignalHandler, message, "a console may dock only its own ship");
        return;
    }
    SpaceObject& ship = *sender.ship;
    const SpaceObject* base = FindSpaceObjectById(ReadUInt64(ship.data_set, kDockBaseId));
    if (!base || ReadString(ship.data_set, kDockState) != kDockStateUndocked || ReadFloat(ship.data_set, kJumpEnd) != 0.0f)
        return;
    WriteString(ship.data_set, kDockState, kDockStateDocking);
    WriteInt(ship.data_set, kPlayerThrottle, 0);
    sender.world->AddTractorConnection(base->uniqueID, ship.uniqueID, glm::vec3(0.0f),
                                        AppData::GetFloat("station-dock-drag-speed"));
    sender.world->QueueSoundEvent("tractor_beam", ship.pos, kTractorSoundGapTicks);
    RaiseDockingChange(sender, kDockStateDocking, base->uniqueID);
}

// 11: the ship leaves its base.
void HandleUndock(QelNetworkMessage& message, const SignalSender& sender)
{
    UndockSignal undock;
    if (!ReadSignalOrReport(message, undock, kServerSignalHandler) || !sender.ship ||
        !FindSpaceObjectById(undock.shipId))
        return;
    SpaceObject& ship = *sender.ship;
    const uint64_t baseId = ReadUInt64(ship.data_set, kDockBaseId);
    WriteString(ship.data_set, kDockState, kDockStateUndocked);
    if (IsSpaceObjectId(baseId))
        sender.world->DeleteTractorConnection(baseId, ship.uniqueID);
    RaiseDockingChange(sender, kDockStateUndocked, baseId);
}

}  // namespace

bool HandleServerDockingSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_DOCK: HandleDock(message, sender); return true;
    case SIGNAL_MESS_UNDOCK: HandleUndock(message, sender); return true;
    default: return false;
    }
}
