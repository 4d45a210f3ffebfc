// Full-object replication: "fullobject" (an object's record and identity),
// the answers to the consoles' requests for it and for ship definitions, and
// the passes that send it unasked: the mission's forced updates, each ship's
// own full state with its finished scans, and the objects each ship targets.

#include "game/net/CorvaneServer.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/ShipAssetService.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/net/TickTimers.h"
#include "game/net/WorldLookup.h"
#include "game/world/ShipData.h"

#include <algorithm>
#include <cstdio>

namespace {

// The mission's forced updates go out within a quarter of a second.
constexpr int64_t kQueuedFullObjectTicks = 7;
// Step spacing constants of the two per-ship passes: a step every
// (K / N) / 33 ticks for N ships with consoles.
constexpr int32_t kOwnShipFullPeriod = 497;
constexpr int32_t kTargetFullPeriod = 403;
// Each frame a console gets at most this many requested objects, each a
// "fullobject" and a whole data set: a console that joins a busy game has
// its few hundred objects within seconds, and a console asking for more
// cannot stall the frame.
constexpr size_t kFullObjectAnswersPerFrame = 10;
// A console waits for at most this many objects at once (more than any game
// world holds within sight); ids beyond it are asked for again later.
constexpr size_t kMaxPendingFullObjects = 1024;
// Ship definitions are a few hundred bytes each; a console lacks a handful
// at most, so a few a frame answer it at once. The queue's bound is far more
// ship types than any mission defines.
constexpr size_t kShipRecordAnswersPerFrame = 4;
constexpr size_t kMaxPendingShipRecords = 256;

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

void CorvaneServer::QueueFullObjectAnswers(uint64_t clientId, const std::vector<uint64_t>& objectIds)
{
    ClientRecord* record = FindClient(clientId);
    if (!record)
        return;
    std::vector<uint64_t>& pending = record->pendingFullObjects;
    for (uint64_t id : objectIds) {
        if (pending.size() >= kMaxPendingFullObjects)
            return;
        if (std::find(pending.begin(), pending.end(), id) == pending.end())
            pending.push_back(id);
    }
}

// A few of each console's requested objects, oldest first, reliably (the
// console asks only once); ids of objects that died meanwhile are passed over.
void CorvaneServer::AnswerFullObjectRequests()
{
    for (auto& [clientId, record] : clients) {
        std::vector<uint64_t>& pending = record->pendingFullObjects;
        const std::vector<uint64_t> recipient{clientId};
        const auto end = pending.begin() + static_cast<std::ptrdiff_t>(std::min(pending.size(), kFullObjectAnswersPerFrame));
        for (auto it = pending.begin(); it != end; ++it) {
            if (SpaceObject* object = FindSpaceObjectById(*it)) {
                SendFullObject(*object, recipient, kReliable);
                SendBlob(kBlobOfSpaceObject, object->data_set, *it, 0, recipient, true);
            }
        }
        pending.erase(pending.begin(), end);
    }
}

void CorvaneServer::QueueShipRecordAnswer(uint64_t clientId, const std::string& shipKey)
{
    ClientRecord* record = FindClient(clientId);
    if (!record)
        return;
    std::vector<std::string>& pending = record->pendingShipRecords;
    if (pending.size() < kMaxPendingShipRecords && std::find(pending.begin(), pending.end(), shipKey) == pending.end())
        pending.push_back(shipKey);
}

// Code 65 and the record's wire form, to the console alone, then the outline
// of the type's mesh (code 66), which the console fetches when it lacks it.
void CorvaneServer::AnswerShipRecordRequests()
{
    for (auto& [clientId, record] : clients) {
        std::vector<std::string>& pending = record->pendingShipRecords;
        const auto end = pending.begin() + static_cast<std::ptrdiff_t>(std::min(pending.size(), kShipRecordAnswersPerFrame));
        for (auto it = pending.begin(); it != end; ++it) {
            const ShipDataRecord* ship = ShipData::Instance().FindDefined(*it);
            if (!ship)
                continue;
            QelNetworkMessage& message = ServerOutgoingMessage();
            StartServerMessage(message, "signal", clientId);
            WriteSignalCode(message, SIGNAL_MESS_SHIP_RECORD);
            ShipData::PackRecordToMessage(*ship, message);
            SendLocked(message, kReliable);
            SendDrawDataOutline(clientId, *it);
        }
        pending.erase(pending.begin(), end);
    }
}

void CorvaneServer::SendDrawDataOutline(uint64_t clientId, const std::string& shipKey)
{
    DrawDataOutlineSignal outline;
    if (!shipAssets || !shipAssets->DescribeDrawData(shipKey, outline))
        return;
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, outline);
    if (message.IsOverflowed()) {
        std::fprintf(stderr, "Ship type %s: its mesh outline does not fit one message; consoles keep their own.\n",
                     shipKey.c_str());
        return;
    }
    SendLocked(message, kReliable);
}

// The items are the source's; the header echoes the request, so the console
// places them. A chunk is at most 2400 bytes, far inside one message.
void CorvaneServer::AnswerAssetDataRequest(uint64_t clientId, const AssetDataRequestSignal& request)
{
    AssetDataSignal answer;
    answer.transferId = request.transferId;
    answer.first = request.first;
    if (!shipAssets || !shipAssets->ReadAssetItems(request, answer))
        return;
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, answer);
    SendLocked(message, kReliable);
}

// The objects the mission asked to send again, to one console or to all.
void CorvaneServer::SendQueuedFullObjects()
{
    if (!world || !queuedFullTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(queuedFullTimer, kQueuedFullObjectTicks);
    for (const ForcedUpdate& update : world->forcedUpdates) {
        std::vector<uint64_t> recipients;
        for (const auto& entry : clients)
            if (update.clientId == 0 || entry.first == update.clientId)
                recipients.push_back(entry.first);
        if (const SpaceObject* object = FindSpaceObjectById(update.spaceObjectId))
            SendFullObject(*object, recipients, kReliable);
    }
    world->forcedUpdates.clear();
}

// The served ship's full state and every value of its data set, then the
// objects whose scans finished since the last serve.
void CorvaneServer::SendOwnShipFullObjects()
{
    ServeDueShips(ownShipFullCursor, grouping, kOwnShipFullPeriod, [this](uint64_t shipId, const auto& recipients) {
        if (SpaceObject* ship = FindSpaceObjectById(shipId)) {
            SendFullObject(*ship, recipients, kRecordStream);
            SendBlob(kBlobOfSpaceObject, ship->data_set, shipId, 0, recipients, true);
        }
        SendCompletedScans();
    });
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
    ServeDueShips(targetFullCursor, grouping, kTargetFullPeriod, [this](uint64_t shipId, const auto& recipients) {
        const auto targets = grouping.shipToTargets.find(shipId);
        if (!FindSpaceObjectById(shipId) || targets == grouping.shipToTargets.end())
            return;
        for (uint64_t targetId : targets->second) {
            if (SpaceObject* target = FindSpaceObjectById(targetId)) {
                SendFullObject(*target, recipients, kRecordStream);
                SendBlob(kBlobOfSpaceObject, target->data_set, targetId, 0, recipients, false);
            }
        }
    });
}
