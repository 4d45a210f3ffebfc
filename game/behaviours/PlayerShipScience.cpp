#include "game/behaviours/PlayerShipScience.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/EventMessage.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldServices.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

using namespace playership;

namespace {

// What a completed scan leaves in the target's entry for the side.
const char* const kScannedNoData = "no data";
// A scan just started; 0 or 1 means none is under way.
constexpr float kScanStarted = 0.01f;
// The scanning ring's range is held to this span; a target inside the
// innermost 100 units scans at the closest delay.
constexpr float kMinScanRange = 101.0f;
constexpr float kMaxScanRange = 100000.0f;
constexpr float kScanRingInner = 100.0f;
// Delays are in seconds and the pass runs twice a second.
constexpr float kPassesPerSecond = 2.0f;

bool ScanUnderWay(float percent)
{
    return percent > 0.0f && percent < 1.0f;
}

// Starts the ship's oldest queued scan, or rests the scan when none is queued.
void StartNextScan(SpaceObject& ship, Simulation& world)
{
    ObjectDataBlob& data = ship.data_set;
    uint64_t targetId = 0;
    std::string scanType;
    ScienceScanSink* scans = world.ScienceScans();
    if (scans && scans->FirstQueuedScan(ship.uniqueID, targetId, scanType)) {
        WriteUInt64(data, kCurScanId, targetId);
        WriteString(data, kCurScanType, scanType);
        WriteFloat(data, kCurScanPercent, kScanStarted);
    } else {
        WriteUInt64(data, kCurScanId, 0);
        WriteString(data, kCurScanType, std::string(kScan.name));
        WriteFloat(data, kCurScanPercent, 0.0f);
    }
}

// Seconds the scan of a target at this distance takes: the closest delay
// next to the ship, the farthest at the edge of the scanning ring.
float ScanDelay(const ObjectDataBlob& data, float distance)
{
    const float range = std::clamp(ReadFiniteFloat(data, kShipScienceScanRange), kMinScanRange, kMaxScanRange);
    const float ratio = std::clamp(distance / (range - kScanRingInner), 0.0f, 1.0f);
    return (1.0f - ratio) * ReadFiniteFloat(data, kClosestScanDelay) + ratio * ReadFiniteFloat(data, kFarthestScanDelay);
}

void AdvanceScan(SpaceObject& ship, Simulation& world, float percent)
{
    ObjectDataBlob& data = ship.data_set;
    // A script may have written any id there; one of no object ends the scan.
    SpaceObject* target = behaviours::FindLive(world, ReadUInt64(data, kCurScanId));
    if (!target) {
        WriteUInt64(data, kCurScanId, 0);
        WriteFloat(data, kCurScanPercent, 0.0f);
        return;
    }
    // A delay of 0 or less (a script's setting) scans at once.
    const float delay = ScanDelay(data, glm::length(target->pos - ship.pos));
    percent = delay > 0.0f ? percent + 1.0f / (delay * kPassesPerSecond) : 1.0f;
    if (percent < 1.0f) {
        WriteFloat(data, kCurScanPercent, percent);
        return;
    }
    const std::string scanType = ReadString(data, kCurScanType);
    const uint64_t shipId = ship.uniqueID;
    const uint64_t targetId = target->uniqueID;
    WriteFloat(data, kCurScanPercent, 1.0f);
    ScienceScanComplete(*target, ship, scanType, world);
    if (ScienceScanSink* scans = world.ScienceScans())
        scans->DropQueuedScans(shipId, targetId, scanType);
}

}  // namespace

void ScienceScanComplete(SpaceObject& target, const SpaceObject& ship, const std::string& scanType, Simulation& world)
{
    target.data_set.SetStringByIndexString(scanType, kScannedNoData, ship.side, std::string(kPlayDoc));
    target.AddString(scanType);
    EventMessage event;
    event.tag = "science_scan_complete";
    event.origin_id = ship.uniqueID;
    event.selected_id = target.uniqueID;
    event.sub_tag = ReadString(target.data_set, kNameTag);
    event.value_tag = ship.side;
    event.extra_tag = scanType;
    event.event_time = world.TickCount();
    event.source_point = target.pos;
    const uint64_t targetId = target.uniqueID;
    const uint64_t shipId = ship.uniqueID;
    if (ScriptEventSink* mission = world.ScriptEvents())
        mission->HandleEvent(event);
    if (ScienceScanSink* scans = world.ScienceScans())
        scans->ScanCompleted(targetId, shipId);
}

void PlayerShipScanPass(SpaceObject& ship, Simulation& world)
{
    if (!ScanUnderWay(ReadFiniteFloat(ship.data_set, kCurScanPercent)))
        StartNextScan(ship, world);
    const float percent = ReadFiniteFloat(ship.data_set, kCurScanPercent);
    if (percent < 1.0f)
        AdvanceScan(ship, world, percent);
}
