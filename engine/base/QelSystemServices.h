#pragma once
// The seam between the two halves of the platform: the system service makes
// the window and its context and drives the graphics service through
// QelWindowGraphics; the graphics service asks the window's system what only
// it knows through QelSystemServices. The program hands the one to the other,
// so that neither half knows the other.

#include "engine/base/QelGraphicsFactoryBase.h"

#include <cstdint>
#include <string>

struct SDL_Window;  // the platform's window, passed through unopened

// The client size the program asks for at start-up, pixels.
struct QelWindowSize {
    int32_t width = 1024;
    int32_t height = 768;
};

class QelSystemServices {
public:
    virtual ~QelSystemServices() = default;
    // Takes the oldest file dropped on the window; false when none waits.
    virtual bool PopDroppedFile(std::string& path) = 0;
};

// The graphics service as the system drives it, frame by frame.
class QelWindowGraphics : public QelGraphicsFactoryBase {
public:
    // Buffers of the drawable size and the engine's shaders, drawing into the
    // window's current context; false (after its box) when it cannot draw.
    virtual bool Initialize(int width, int height, SDL_Window* window) = 0;
    // The drawable's new size, after the window was resized.
    virtual void ResizeSwapChain(int width, int height) = 0;
    // Whether the window's place and size were saved for a return from full screen.
    virtual bool PlacementSaved() const = 0;
    virtual void ResetSavedPlacement() = 0;
    // Whether a frame waits for the display's refresh.
    virtual bool VerticalSync() const = 0;
};
