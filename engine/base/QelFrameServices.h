#pragma once
// The engine services' share of one frame: what the platform does around the
// game's steps. The system class implements it; tests record it.

class QelFrameServices {
public:
    virtual ~QelFrameServices() = default;

    // Graphics profile roll and the update of every streamed song.
    virtual void BeginFrame() = 0;
    // Input update after the ticks: key edges, queue ageing, joystick polls.
    virtual void UpdateInput() = 0;
    // Clears colour to (0, 0, 0, 0) and depth to 1.
    virtual void ClearBackBuffer() = 0;
    // Flushes the 2D buffers and presents the back buffer.
    virtual void Present() = 0;
    // Copies the key states to the end-of-frame array, then updates the mouse.
    virtual void EndFrame() = 0;
};
