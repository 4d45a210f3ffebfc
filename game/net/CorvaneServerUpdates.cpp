// The object update passes: grouping consoles by ship, and sending object
// records near each ship at rates that suit them (nearby objects, fast movers,
// the own ship), and the whole world to game-master consoles.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ObjectUpdateWriter.h"
#include "game/net/SignalMessage.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/net/TickTimers.h"
#include "game/net/WorldLookup.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <optional>

namespace {

// The grouping follows consoles that join, leave or change ship within a
// second.
constexpr int64_t kGroupingTicks = 30;
// Step spacing constants of the per-ship passes: a step every (K / N) / 33
// ticks for N ships with consoles.
constexpr int32_t kSlowPassPeriod = 1000;
constexpr int32_t kFastPassPeriod = 200;
constexpr int32_t kOwnShipPassPeriod = 91;
// Game-master consoles get the moving objects about once a second, and the
// static ones on every fifth run only.
constexpr int64_t kGameMasterTicks = 30;
constexpr int32_t kGameMasterStaticRunEvery = 5;

// The keys the passes read; reading never adds an element, so the passes do
// not grow what they replicate.
using shipkeys::kExciting;
using shipkeys::kCommsTargetUid;
using shipkeys::kScienceTargetUid;
using shipkeys::kWeaponTargetUid;

// Height is ignored: vision reaches across the world plane.
bool WithinPlaneRadius(const glm::vec3& a, const glm::vec3& b, float radius)
{
    const float dx = a.x - b.x;
    const float dz = a.z - b.z;
    return dx * dx + dz * dz <= radius * radius;
}

bool IsFastMover(const SuperContainerObject& object)
{
    return (object.abits & SpaceObject::kFastMoverBit) != 0;
}

// Whether any object in normal space is a fast mover, filed in the tree or not
// yet: a search files the waiting objects first.
bool HoldsFastMovers(const SuperContainer& container)
{
    return std::any_of(container.Objects().begin(), container.Objects().end(),
                       [](const SuperContainerObject* object) { return IsFastMover(*object); });
}

template <typename Signal>
void SendSignalTo(CorvaneServer& server, const std::vector<uint64_t>& recipients, const Signal& signal)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", 0);
    WriteSignal(message, signal);
    message.recipients = recipients;
    server.SendLocked(message, ServerMessageSink::kUnreliable);
}

}  // namespace

// Groups the consoles by ship and notes each ship's three targets.
void CorvaneServer::CollectTargetedObjects()
{
    if (!world || !groupingTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(groupingTimer, kGroupingTicks);
    grouping = ShipGrouping{};
    for (const auto& [id, record] : clients)
        if (record->shipId != 0)
            grouping.shipToClients[record->shipId].push_back(id);
    grouping.shipCount = static_cast<int32_t>(grouping.shipToClients.size());
    for (const auto& entry : grouping.shipToClients) {
        const uint64_t shipId = entry.first;
        grouping.shipList.push_back(shipId);
        if (const SpaceObject* ship = FindSpaceObjectById(shipId))
            grouping.shipToTargets[shipId] = {ReadUInt64(ship->data_set, kWeaponTargetUid),
                                              ReadUInt64(ship->data_set, kScienceTargetUid),
                                              ReadUInt64(ship->data_set, kCommsTargetUid)};
    }
}

void CorvaneServer::CollectObjectsInRadius(const glm::vec3& centre, float radius, ObjectIdSet& ids)
{
    if (!world || !world->Container())
        return;
    SuperContainer& container = *world->Container();
    container.Query(PlaneBox::Around(centre.x, centre.z, radius));
    for (SuperContainerObject* object : container.QueryResults())
        if (!IsFastMover(*object) && WithinPlaneRadius(object->pos, centre, radius))
            ids.insert(static_cast<SpaceObject&>(*object));
}

// The slow pass: every object within the served ship's vision, in slices,
// after the tick they belong to, and then the most exciting of them.
void CorvaneServer::SendObjectUpdatesToClients()
{
    ServeDueShips(slowCursor, grouping, kSlowPassPeriod, [this](uint64_t shipId, const auto& recipients) {
        UpdateWorldSoundFlags();
        QEL_ASSERT(!recipients.empty(),
                   "!clientList.empty() && \"CorvaneServer::SendObjectUpdatesToClients(), clientList is empty.\"");
        // Game-master consoles are served by their own pass.
        const ClientRecord* first = FindClient(recipients.front());
        if (first && first->gameMasterFlag)
            return;
        SendSignalTo(*this, recipients, SimulationTickSignal{static_cast<uint64_t>(world->TickCount())});
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!ship)
            return;
        ObjectIdSet ids;
        CollectObjectsInRadius(ship->pos, settings.visionBaseDistance, ids);

        RankedList mostExciting;
        mostExciting.capacity = 1;
        mostExciting.items = new void*[1]{nullptr};
        mostExciting.scores = new float[1]{0.0f};
        ObjectUpdateWriter writer(*this, recipients);
        int32_t count = 0;
        for (const auto& [id, object] : ids) {
            mostExciting.Insert(object, ReadFloat(object->data_set, kExciting));
            if (++count % ObjectUpdateWriter::kRecordsPerSlice == 0)
                writer.Split();
            writer.Add(*object, kRecordMarkerNearby);
        }
        writer.Finish();
        const auto* best = static_cast<const SpaceObject*>(mostExciting.items[0]);
        mostExciting.Free();
        SendSignalTo(*this, recipients, AutoCinematicStarsSignal{best ? best->uniqueID : 0});
    });
}

// Main screens hear the world, and so do the crews of fighters and shuttles;
// a console given another station or ship stops hearing it.
void CorvaneServer::UpdateWorldSoundFlags()
{
    for (auto& [id, record] : clients) {
        const SpaceObject* ship = record->mainScreenFlag ? nullptr : FindSpaceObjectById(record->shipId);
        record->worldSoundFlag = record->mainScreenFlag ||
                                 (ship && (ReadInt(ship->data_set, playership::kIsFighterFlag) != 0 ||
                                           ReadInt(ship->data_set, playership::kIsShuttleFlag) != 0));
    }
}

// The fast pass: torpedoes and drones within the served ship's vision.
//
// A world often holds no fast movers at all. When several ships are due in one
// run, a look down the object list (cheaper than a search of the vision)
// tells whether any is there; with none, each ship gets its empty message
// without a search. Serving sends and changes nothing in the world.
void CorvaneServer::SendFastObjectUpdates()
{
    int32_t served = 0;
    std::optional<bool> worldHasFastMovers;
    ServeDueShips(fastCursor, grouping, kFastPassPeriod, [&](uint64_t shipId, const auto& recipients) {
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!ship)
            return;
        SuperContainer& container = *world->Container();
        if (++served > 1 && !worldHasFastMovers)
            worldHasFastMovers = HoldsFastMovers(container);
        ObjectUpdateWriter writer(*this, recipients);
        if (worldHasFastMovers != false) {
            const float vision = settings.visionBaseDistance;
            container.Query(PlaneBox::Around(ship->pos.x, ship->pos.z, vision));
            for (const SuperContainerObject* object : container.QueryResults())
                if (IsFastMover(*object) && WithinPlaneRadius(object->pos, ship->pos, vision))
                    writer.Add(static_cast<const SpaceObject&>(*object), kRecordMarkerNearby);
        }
        writer.Finish();
    });
}

// The own-ship pass: the served ship's record alone, several times a second.
void CorvaneServer::SendOwnShipUpdates()
{
    ServeDueShips(ownShipCursor, grouping, kOwnShipPassPeriod, [this](uint64_t shipId, const auto& recipients) {
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!ship)
            return;
        ObjectUpdateWriter writer(*this, recipients);
        writer.Add(*ship, kRecordMarkerOwnShip);
        writer.Finish();
    });
}

// Every game-master console gets the moving objects of the whole world, and
// on every fifth run the static ones instead.
void CorvaneServer::SendGameMasterUpdates()
{
    if (!world || !world->Container() || !gameMasterTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(gameMasterTimer, kGameMasterTicks);
    ++gameMasterRuns;
    const bool staticRun = gameMasterRuns % kGameMasterStaticRunEvery == 0;
    for (const auto& [id, record] : clients) {
        if (!record->gameMasterFlag)
            continue;
        const std::vector<uint64_t> recipient{id};
        ObjectUpdateWriter writer(*this, recipient);
        int32_t count = 0;
        for (const SuperContainerObject* object : world->Container()->Objects()) {
            const auto& spaceObject = static_cast<const SpaceObject&>(*object);
            if (spaceObject.IsStatic() != staticRun)
                continue;
            writer.Add(spaceObject, kRecordMarkerGameMaster);
            if (++count % ObjectUpdateWriter::kRecordsPerSlice == 0)
                writer.Split();
        }
        writer.Finish();
    }
}
