// The console's "signal" family for the world beside the objects: nav points
// and nav proxies (16 to 21), the side tables (105) and the ship's scan queue
// (92).

#include "game/net/ClientSignalHandlers.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalHandling.h"
#include "game/world/Simulation.h"

#include <utility>

namespace {

Navpoint& RecordOf(NavPointSignal& signal)
{
    return signal.point;
}

NavProxy& RecordOf(NavProxySignal& signal)
{
    return signal.proxy;
}

// 16 and 19: the entry is taken whole under the server's id.
template <typename Signal, typename Record>
void HandleNavRecord(QelNetworkMessage& message, std::map<int32_t, Record> Simulation::*records)
{
    Signal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        (world->*records)[signal.id] = std::move(RecordOf(signal));
}

// 17 and 20.
template <typename Signal>
void HandleAllDeleted(QelNetworkMessage& message, void (Simulation::*clear)())
{
    Signal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        (world->*clear)();
}

// 18 and 21: an entry not present here is nothing to delete.
template <typename Signal>
void HandleDeleted(QelNetworkMessage& message, void (Simulation::*erase)(int32_t))
{
    Signal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        (world->*erase)(signal.id);
}

// 92: the queue is replaced whole.
void HandleScanQueue(QelNetworkMessage& message, CorvaneClient* client)
{
    ScanQueueSignal queue;
    if (ReadSignalOrReport(message, queue, kClientSignalHandler) && client)
        client->scanQueue = std::move(queue.entries);
}

// 105: every table is replaced entry by entry, then the attitude colours.
void HandleIndexedTables(QelNetworkMessage& message)
{
    IndexedTablesSignal received;
    if (!ReadSignalOrReport(message, received, kClientSignalHandler))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (!world)
        return;
    SideTables& tables = world->sideTables;
    for (const auto& [key, colour] : received.tables.iconColours)
        tables.iconColours[key] = colour;
    for (const auto& [key, index] : received.tables.iconIndexes)
        tables.iconIndexes[key] = index;
    for (const auto& [first, row] : received.tables.relationships)
        for (const auto& [second, value] : row)
            tables.relationships[first][second] = value;
    tables.diplomacyColours = received.tables.diplomacyColours;
}

}  // namespace

bool HandleClientNavigationSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    switch (code) {
    case SIGNAL_MESS_NAV_POINT: HandleNavRecord<NavPointSignal>(message, &Simulation::navpoints); return true;
    case SIGNAL_MESS_ALL_NAV_POINTS_DELETED:
        HandleAllDeleted<AllNavPointsDeletedSignal>(message, &Simulation::ClearNavpoints);
        return true;
    case SIGNAL_MESS_NAV_POINT_DELETED:
        HandleDeleted<NavPointDeletedSignal>(message, &Simulation::DeleteNavpoint);
        return true;
    case SIGNAL_MESS_NAV_PROXY: HandleNavRecord<NavProxySignal>(message, &Simulation::navproxies); return true;
    case SIGNAL_MESS_ALL_NAV_PROXIES_DELETED:
        HandleAllDeleted<AllNavProxiesDeletedSignal>(message, &Simulation::ClearNavproxies);
        return true;
    case SIGNAL_MESS_NAV_PROXY_DELETED:
        HandleDeleted<NavProxyDeletedSignal>(message, &Simulation::DeleteNavproxy);
        return true;
    case SIGNAL_MESS_SCAN: HandleScanQueue(message, client); return true;
    case SIGNAL_MESS_INDEXED_TABLES: HandleIndexedTables(message); return true;
    default: return false;
    }
}
