#pragma once
// The weapons console. "weapon_control" loads, unloads and fires each torpedo
// tube and chooses the type the tubes load; "weap_beam_freq" and
// "weap_beam_speed" set the beams' frequency (A to E) and fire rate (1X to
// 4X); "weap_torp_conversion" trades a torpedo for energy or energy for a
// torpedo. Each reads the console's ship as replicated and sends its commands
// at once, except the torpedo type picked from the list, which a change
// tracker sends after a short pause (see StringChangeTracker).
//
// Default keys: tube n loads and unloads on digit n and fires on numpad n
// (tubes 1 to 9); the n-th torpedo type of the ship is chosen with Fn
// (types 1 to 6: F7 and above belong to the overlays).

#include "game/ui/IntRect.h"

#include <cstdint>
#include <string>

class ConsoleState;
class SpaceObject;

void ViewWeaponControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
// One tube's row: its buttons take the ids base and base + 1.
void ViewWeaponControlDrawBody(ConsoleState& console, int32_t idBase, const SpaceObject* ship, int32_t tube,
                               const IntRect& row, const std::string& widgetName);
void ViewWeapBeamFreqDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewWeapBeamSpeedDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewWeapTorpConversionDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

