#pragma once
// The two statistics overlays over every screen: the counter panel (F8), a
// graph of every per-second counter of the program over its last 200 seconds
// with a legend of their last complete second, and the network statistics
// (F9) of the server, one panel per console with its name (the server's
// operator may rename it), its ship, its response time and its traffic, over
// a graph of everything the server sends.
//
// Main thread only; the counters are read under their lock.

#include "game/render/manager/CounterOverlays.h"

#include <glm/vec4.hpp>

#include <cstdint>
#include <vector>

class ClientRecord;
class RenderManager;

class CounterPanelOverlay : public CounterOverlays {
public:
    // Client panels, pixels, and the gaps between them.
    static constexpr int32_t kClientPanelWidth = 400;
    static constexpr int32_t kClientPanelHeight = 80;
    static constexpr int32_t kClientPanelStepX = 405;
    static constexpr int32_t kClientPanelStepY = 85;
    static constexpr int32_t kClientPanelInset = 3;
    // A legend row of the counter panel.
    static constexpr int32_t kLegendRowHeight = 20;

    explicit CounterPanelOverlay(RenderManager& owner) : owner(owner) {}

    // While the pointer is over the panel it grows down to show every row
    // of its legend.
    void DrawPanelOverlay(const IntRect& rect) override;
    // Nothing but the background on a computer that is not the server.
    void DrawServerStats(const IntRect& rect) override;
    // One console's panel; typing in its name field renames the console and
    // tells it its new name at every key.
    void DrawNetworkStats(const IntRect& panel, ClientRecord& client);

    // The bottom of the legend's last row at the last draw, window pixels.
    int32_t PanelContentHeight() const { return panelContentHeight; }

private:
    void DrawServerTraffic(const IntRect& rect);

    RenderManager& owner;
    std::vector<glm::vec4> colours;  // one per counter, in name order
    int32_t panelContentHeight = 0;
};
