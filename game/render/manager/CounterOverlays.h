#pragma once
// The two statistics overlays the render manager shows over every screen
// when their keys ask for them: the counter panel (F8) and the network
// statistics (F9). The module of the per-second counters draws them; the
// render manager only chooses where (RenderManager::counterOverlays).

#include "game/ui/IntRect.h"

class CounterOverlays {
public:
    virtual ~CounterOverlays() = default;

    // The counter panel in the rectangle, window pixels.
    virtual void DrawPanelOverlay(const IntRect& rect) = 0;
    // The network statistics in the rectangle, window pixels.
    virtual void DrawServerStats(const IntRect& rect) = 0;
};
