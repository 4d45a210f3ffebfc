// The server's "signal" family for the science console: the check that
// scans, at once, a ship in sensor range that the ship's side has not yet
// scanned (91), and the queue of deliberate scans (92), which the player-ship
// behaviour works through.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/net/WorldLookup.h"
#include "game/world/Simulation.h"

#include <algorithm>

namespace {

using namespace playership;

// A ship queues at most this many scans: more than a science officer could
// start in a long fight, and a console cannot grow the queue without end.
constexpr size_t kMaxQueuedScans = 64;
// A scan type becomes a key name on the target when the scan completes: a
// science tab's name, never empty and never longer than a key name needs.
constexpr size_t kMaxScanTypeLength = 64;

bool IsScanType(const std::string& scanType)
{
    return !scanType.empty() && scanType.size() <= kMaxScanTypeLength;
}

bool WithinSensorRange(const glm::vec3& a, const glm::vec3& b)
{
    const glm::vec3 d = a - b;
    return glm::dot(d, d) < kSensorRange * kSensorRange;
}

// The ship's own side is known to it; otherwise the target must lie near the
// ship or near one of its extra scan sources.
bool InScanRange(const SpaceObject& ship, const SpaceObject& target)
{
    if (ship.side == target.side || WithinSensorRange(ship.pos, target.pos))
        return true;
    bool seen = false;
    ForEachExtraScanSource(ship, [&](const SpaceObject& source) { seen = seen || WithinSensorRange(source.pos, target.pos); });
    return seen;
}

// 91: a scan completes once per side; a second check finds the entry set.
void HandleScanCheck(QelNetworkMessage& message, const SignalSender& sender)
{
    ScanCheckSignal check;
    if (!ReadSignalOrReport(message, check, kServerSignalHandler) || !sender.ship)
        return;
    SpaceObject& ship = *sender.ship;
    SpaceObject* target = sender.world->GetSpaceObject(check.targetId);
    const std::string scanType(kScan.name);
    if (target && !ScannedBySide(*target, ship, scanType) && InScanRange(ship, *target))
        ScienceScanComplete(*target, ship, scanType, *sender.world, sender.clientId);
}

// 92: "start" queues a scan (once: the same scan queued twice is one scan),
// "stop" ends the one under way and forgets the rest.
void HandleScanCommand(QelNetworkMessage& message, const SignalSender& sender)
{
    ScanCommandSignal command;
    if (!ReadSignalOrReport(message, command, kServerSignalHandler) || !sender.ship ||
        !sender.world->SpaceObjectExists(command.targetId))
        return;
    std::vector<ScanQueueEntry>& queue = gServer->scanQueues[sender.ship->uniqueID];
    if (command.command == "start") {
        const bool queued = std::any_of(queue.begin(), queue.end(), [&](const ScanQueueEntry& entry) {
            return entry.objectId == command.targetId && entry.scanType == command.scanType;
        });
        if (!queued && queue.size() < kMaxQueuedScans && IsScanType(command.scanType))
            queue.push_back({command.targetId, command.scanType});
    } else if (command.command == "stop") {
        WriteFloat(sender.ship->data_set, kCurScanPercent, 0.0f);
        WriteUInt64(sender.ship->data_set, kCurScanId, 0);
        queue.clear();
    }
}

}  // namespace

bool HandleServerScienceSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_SCAN_CHECK: HandleScanCheck(message, sender); return true;
    case SIGNAL_MESS_SCAN: HandleScanCommand(message, sender); return true;
    default: return false;
    }
}
