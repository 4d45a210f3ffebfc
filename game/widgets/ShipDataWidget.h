#pragma once
// "ship_data": the status panel of the console's own ship, for every console:
// side and name, energy, docking state, front and rear shields, the health of
// four systems, the torpedo stores and the ship's silhouette with its shield
// faces, all read from the ship as the server replicates it. Without a ship
// it shows one of the standby texts. It only reads.

#include "game/ui/IntRect.h"

#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;

// What the panel keeps between frames: the ship name it logged last and the
// standby text it chose.
struct ShipDataState {
    std::string lastShipName;
    int32_t standbyIndex = -1;

    bool operator==(const ShipDataState&) const = default;
};

void ViewShipDataDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// One system box: the label centred, yellow below 80 % and red below 40 %,
// over a bar of the fraction (0..1); both pulse below 20 %.
void ShipDataPanel(UIContext& ui, const IntRect& rect, const std::string& label, float fraction);

