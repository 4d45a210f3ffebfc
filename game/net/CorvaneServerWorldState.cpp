// The passes that replicate the world beside its objects: the side tables,
// nav points and the string map, nav proxies, the science consoles' scan
// queues and the game-master consoles' view of every object's visible values.

#include "game/net/CorvaneServer.h"

#include "game/net/ObjectBlobMessage.h"
#include "game/net/TickTimers.h"
#include "game/net/WorldLookup.h"
#include "game/world/ServerStringMap.h"

#include <cstdio>

namespace {

// The changed string-map keys go out at most once a second.
constexpr int64_t kStringMapTicks = 30;
// Science consoles see their ship's scan queue about once a second.
constexpr int64_t kScanListTicks = 34;
// Game-master consoles get what changed of every object every five seconds.
constexpr int64_t kGameMasterDataTicks = 151;

// The new-client lists, by what each one waits for.
constexpr size_t kAwaitingNavPoints = 0;
constexpr size_t kAwaitingNavProxies = 1;
constexpr size_t kAwaitingStringMap = 2;

// A signal to one console (to none for 0) or to all.
template <typename Signal>
void SendSignal(CorvaneServer& server, const Signal& signal, uint64_t clientId, uint32_t packetFlags)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, signal);
    server.SendLocked(message, packetFlags);
}

// Reliably: nothing sends it again, so a lost copy would be lost for good.
template <typename Signal>
void SendSignalToAll(CorvaneServer& server, const Signal& signal)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", 0);
    WriteSignal(message, signal);
    server.SendToAll(message, ServerMessageSink::kReliable);
}

// Every entry to each newly connected console, ascending by id; then each
// deleted id and each changed entry to all, once; all of it reliably.
template <typename Signal, typename DeletedSignal, typename Record>
void ReplicateNavRecords(CorvaneServer& server, std::map<int32_t, Record>& records, std::vector<int32_t>& deletedIds,
                         std::vector<uint64_t>& newClients)
{
    for (uint64_t clientId : newClients)
        for (const auto& [id, record] : records)
            SendSignal(server, Signal{id, record}, clientId, ServerMessageSink::kReliable);
    newClients.clear();
    for (int32_t id : deletedIds)
        SendSignalToAll(server, DeletedSignal{id});
    deletedIds.clear();
    for (auto& [id, record] : records) {
        if (record.has_changed_flag == 0)
            continue;
        SendSignalToAll(server, Signal{id, record});
        record.has_changed_flag = 0;
    }
}

}  // namespace

void CorvaneServer::SendIndexedTables(uint64_t clientId)
{
    if (!world)
        return;
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, IndexedTablesSignal{world->sideTables});
    // Reliably: the tables go again only when they change.
    if (message.IsOverflowed())
        std::fprintf(stderr, "CorvaneServer: the side tables no longer fit one message; they are not sent\n");
    else if (clientId == 0)
        SendToAll(message, kReliable);
    else
        SendLocked(message, kReliable);
    // Tables sent to one new console have not reached the others yet.
    if (clientId == 0)
        world->sideTablesChanged = false;
}

void CorvaneServer::SendNavPointsAndStringMap()
{
    ReplicateNavRecords<NavPointSignal, NavPointDeletedSignal>(*this, world->navpoints,
                                                               world->deletedNavpointIds,
                                                               newClientLists[kAwaitingNavPoints]);
    if (!stringMapTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(stringMapTimer, kStringMapTicks);
    ServerStringMap::Instance().UpdateClients(*this, newClientLists[kAwaitingStringMap]);
}

void CorvaneServer::SendNavProxies()
{
    ReplicateNavRecords<NavProxySignal, NavProxyDeletedSignal>(*this, world->navproxies,
                                                               world->deletedNavproxyIds,
                                                               newClientLists[kAwaitingNavProxies]);
}

// A science console without a ship, or whose ship is gone, gets nothing.
void CorvaneServer::SendScanLists()
{
    if (!scanListTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(scanListTimer, kScanListTicks);
    for (const auto& [clientId, record] : clients) {
        if (!record->scienceFlag || !FindSpaceObjectById(record->shipId))
            continue;
        SendSignal(*this, ScanQueueSignal{scanQueues[record->shipId]}, clientId, kUnreliable);
    }
}

// Each value goes to a game-master console once after it changed.
void CorvaneServer::SendGameMasterData()
{
    if (!gameMasterDataTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(gameMasterDataTimer, kGameMasterDataTicks);
    for (const auto& [clientId, record] : clients) {
        if (!record->gameMasterFlag)
            continue;
        const std::vector<uint64_t> recipient{clientId};
        for (SuperContainerObject* object : world->Container()->Objects())
            SendBlobVisibleData(kBlobOfSpaceObject, static_cast<SpaceObject*>(object)->data_set, object->uniqueID,
                                kVisibleDataShipField, recipient);
    }
}
