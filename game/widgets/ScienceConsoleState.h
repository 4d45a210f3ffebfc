#pragma once
// What the science widgets and the sorted object lists of one console share:
// the kind of scan the officer chose, the scans under way, the console's
// player ship's targets, the texts that completed scans leave on
// objects, and the one way a widget tells the server what it selected.
//
// The world read here is the console's mirror; ids come from replicated
// values, so an id of the wrong kind selects nothing rather than reaching the
// world's lookup. Main thread only.

#include "game/net/SignalMessage.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/DataKey.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

class ConsoleState;
class SpaceObject;

// The value of a scanned object that only the science console reads: the
// kinds of scan a mission lets the object offer, separated by ','
// ("scan,status,intel,bio" when it names none).
namespace sciencekeys {
inline constexpr DataKey kScanTypeList{"scan_type_list", kPlayDoc};
}  // namespace sciencekeys

// The kind of scan every object offers first, whose text tells that the
// side has identified the object at all.
inline constexpr const char* kInitialScanType = "scan";

// The scans this console knows to be under way, the one running first: the
// queue the server sent last ("signal" 92), with what a start button added
// since; without a client, the console's own list.
std::vector<ScanQueueEntry>& PendingScienceScans(ConsoleState& console);

// The object the ship's value names, or null: 0, an id that is no space
// object's, or one this console does not know.
SpaceObject* ConsoleObjectNamedBy(const SpaceObject& ship, const DataKey& key);

// The text the side's scan of the kind left on the object; "" while that
// scan has not been completed.
std::string ScanTextOf(const SpaceObject& object, const std::string& scanType, const std::string& side);

// Selects the object (0: nothing) for the console's selection named by the
// key ("science_target_UID", ...): the server records it on the ship and the
// mission hears of it ("signal" 13, with this console's name and the box
// drawing). sourceTag names the control that chose it.
void SelectConsoleObject(const SharedConsoleState& console, uint64_t objectId, const glm::vec3& point,
                         const std::string& selectionKey, const std::string& sourceTag);
