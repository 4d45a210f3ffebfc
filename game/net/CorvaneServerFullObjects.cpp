// Full-object replication: "fullobject" (an object's record and identity) and
// the passes that send it unasked: the mission's forced updates, each ship's
// own full state with its finished scans, and the objects each ship targets.

#include "game/net/CorvaneServer.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/net/TickTimers.h"
#include "game/net/WorldLookup.h"

#include <cstdio>

namespace {

// The mission's forced updates go out within a quarter of a second.
constexpr int64_t kQueuedFullObjectTicks = 7;
// Step spacing constants of the two per-ship passes: a step every
// (K / N) / 33 ticks for N ships with consoles.
constexpr int32_t kOwnShipFullPeriod = 497;
constexpr int32_t kTargetFullPeriod = 403;

void ReportOversizeObject(const SpaceObject& object)
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "fullobject: object %llu has names too long for one message and is not sent; later "
                 "ones are skipped quietly\n",
                 static_cast<unsigned long long>(object.uniqueID));
}

}  // namespace

void CorvaneServer::SendFullObject(const SpaceObject& object, const std::vector<uint64_t>& clientIds,
                                   uint32_t packetFlags)
{
    if (clientIds.empty())
        return;
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "fullobject", 0);
    message.WriteInt16(object.abits);
    WriteSpaceObjectRecord(object, kRecordMarkerFullObject, message);
    message.WriteString(object.tick_type).WriteString(object.data_tag);
    message.WriteFloat(object.exclusion_radius).WriteFloat(object.fat_radius);
    message.WriteString(object.side);
    // Names a mission made too long for one message: better not sent than
    // sent cut short.
    if (message.IsOverflowed()) {
        ReportOversizeObject(object);
        return;
    }
    message.recipients = clientIds;
    SendLocked(message, packetFlags);
}

// The objects the mission asked to send again, to one console or to all.
void CorvaneServer::SendQueuedFullObjects()
{
    if (!theSimulation || !queuedFullTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(queuedFullTimer, kQueuedFullObjectTicks);
    for (const ForcedUpdate& update : theSimulation->forcedUpdates) {
        std::vector<uint64_t> recipients;
        for (const auto& entry : clients)
            if (update.clientId == 0 || entry.first == update.clientId)
                recipients.push_back(entry.first);
        if (const SpaceObject* object = FindSpaceObjectById(update.spaceObjectId))
            SendFullObject(*object, recipients, kReliable);
    }
    theSimulation->forcedUpdates.clear();
}

// The served ship's full state and every value of its data set, then the
// objects whose scans finished since the last serve.
void CorvaneServer::SendOwnShipFullObjects()
{
    uint64_t shipId = 0;
    std::vector<uint64_t> recipients;
    if (!NextServedShip(ownShipFullCursor, grouping, kOwnShipFullPeriod, shipId, recipients))
        return;
    if (SpaceObject* ship = FindSpaceObjectById(shipId)) {
        SendFullObject(*ship, recipients, kRecordStream);
        SendBlob(kBlobOfSpaceObject, ship->data_set, shipId, 0, recipients, true);
    }
    SendCompletedScans();
}

// Each scanned object goes whole to the consoles of the ship that scanned it.
void CorvaneServer::SendCompletedScans()
{
    while (!completedScans.empty()) {
        const auto [objectId, shipId] = completedScans.front();
        completedScans.erase(completedScans.begin());
        const auto consoles = grouping.shipToClients.find(shipId);
        SpaceObject* object = FindSpaceObjectById(objectId);
        if (consoles == grouping.shipToClients.end() || !object)
            continue;
        SendFullObject(*object, consoles->second, kReliable);
        SendBlob(kBlobOfSpaceObject, object->data_set, objectId, 0, consoles->second, true);
    }
}

// The served ship's weapons, science and communications targets, with their
// visible values that are due.
void CorvaneServer::SendTargetFullObjects()
{
    uint64_t shipId = 0;
    std::vector<uint64_t> recipients;
    if (!NextServedShip(targetFullCursor, grouping, kTargetFullPeriod, shipId, recipients))
        return;
    const auto targets = grouping.shipToTargets.find(shipId);
    if (!FindSpaceObjectById(shipId) || targets == grouping.shipToTargets.end())
        return;
    for (uint64_t targetId : targets->second) {
        if (SpaceObject* target = FindSpaceObjectById(targetId)) {
            SendFullObject(*target, recipients, kRecordStream);
            SendBlob(kBlobOfSpaceObject, target->data_set, targetId, 0, recipients, false);
        }
    }
}
