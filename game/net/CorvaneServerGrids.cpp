// Ship interior grids for the consoles: the answer to a console's grid
// request (code 42) with the grid and its grid objects, and the grid pass that
// then streams the grid objects' keyed values to that console.

#include "game/net/CorvaneServer.h"

#include "game/net/ObjectBlobMessage.h"
#include "game/net/SignalMessage.h"
#include "game/net/WorldLookup.h"
#include "game/world/HullPathSets.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// The key of "signal" and the code come before a grid message's payload.
constexpr int32_t kSignalKeyAndCode = 8 + 2;
// Consoles keep none of the header's texts; long ones are cut so the grid
// objects keep their room in every message.
constexpr size_t kMaxHeaderTextBytes = 1000;
// The grid pass sends the values of at most this many grid objects to each
// console per frame.
constexpr size_t kGridObjectsPerPass = 100;
// Entries of a watched-grid list before its grid object ids.
constexpr size_t kWatchedHeadSize = 2;

GridSignal GridHeader(const HullPathSet& set, uint64_t shipId)
{
    GridSignal grid;
    grid.shipId = shipId;
    grid.name = set.name.substr(0, kMaxHeaderTextBytes);
    grid.description = set.desc.substr(0, kMaxHeaderTextBytes);
    grid.artFileRoot = set.art_file_root.substr(0, kMaxHeaderTextBytes);
    grid.gridScale = set.grid_scale;
    grid.width = set.w;
    grid.height = set.h;
    grid.symmetricalFlag = set.symmetrical_flag;
    return grid;
}

GridSignal::Object Describe(const GridObject& object)
{
    return {object.unique_ID, object.name, object.tag, object.type, object.layer,
            std::vector<int32_t>(object.path.begin(), object.path.end())};
}

void SendGridMessage(CorvaneServer& server, const GridSignal& grid, uint64_t clientId)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, grid);
    // A grid is described once per request: a lost answer would never come again.
    server.SendLocked(message, ServerMessageSink::kReliable);
}

void ReportUnsendableGridObject(const GridSignal::Object& object)
{
    static bool reported = false;
    if (std::exchange(reported, true))
        return;
    std::fprintf(stderr, "grid answer: grid object %llu (\"%.40s\") with its texts and path is too long for any "
                 "message and is not sent; later ones are skipped quietly\n",
                 static_cast<unsigned long long>(object.id), object.name.c_str());
}

}  // namespace

void CorvaneServer::AnswerGridRequest(uint64_t clientId, uint64_t shipId, int32_t value)
{
    std::vector<uint64_t>& watched = watchedGrids[clientId];
    if (watched.size() > kWatchedHeadSize)
        return;
    watched = {shipId, static_cast<uint64_t>(static_cast<int64_t>(value))};
    const HullPathSet* set = GetHullPathSet(shipId, false);
    if (!set)
        return;
    GridSignal grid = GridHeader(*set, shipId);
    const int32_t room =
        QelNetworkMessage::kMessageBufferSize - kSignalKeyAndCode - grid.HeaderSize() - GridSignal::kEndSize;
    int32_t used = 0;
    for (const auto& object : set->Objects()) {
        GridSignal::Object described = Describe(*object);
        const int32_t size = GridSignal::ObjectSize(described);
        if (size > room) {
            ReportUnsendableGridObject(described);
            continue;
        }
        if (grid.objects.size() == GridSignal::kMaxObjectsPerMessage || used + size > room) {
            SendGridMessage(*this, grid, clientId);
            grid.objects.clear();
            used = 0;
        }
        grid.objects.push_back(std::move(described));
        used += size;
        watched.push_back(object->unique_ID);
    }
    SendGridMessage(*this, grid, clientId);
}

// The keyed values of the grid objects a console was last described, a
// hundred objects per console per frame, while the console's ship is still
// the one it asked about. A drained list goes at the next run.
void CorvaneServer::SendGridObjectsToClients()
{
    std::vector<uint64_t> done;
    for (auto& [clientId, watched] : watchedGrids) {
        const ClientRecord* record = FindClient(clientId);
        if (watched.size() <= kWatchedHeadSize || !record) {
            done.push_back(clientId);
            continue;
        }
        const uint64_t shipId = watched[0];
        const bool force = watched[1] != 0;
        HullPathSet* set = shipId == record->shipId && FindSpaceObjectById(shipId) ? GetHullPathSet(shipId, false)
                                                                                   : nullptr;
        if (!set) {
            done.push_back(clientId);
            continue;
        }
        const std::vector<uint64_t> recipient{clientId};
        const size_t end = std::min(watched.size(), kWatchedHeadSize + kGridObjectsPerPass);
        for (size_t i = kWatchedHeadSize; i < end; ++i) {
            if (GridObject* object = set->GetGridObjectById(watched[i]))
                SendBlob(kBlobOfGridObject, object->data_set, watched[i], shipId, recipient, force);
        }
        watched.erase(watched.begin() + static_cast<std::ptrdiff_t>(kWatchedHeadSize),
                      watched.begin() + static_cast<std::ptrdiff_t>(end));
    }
    for (uint64_t clientId : done)
        watchedGrids.erase(clientId);
}
