#pragma once
// The OpenGL 3.3 core context of the main window, with its functions loaded.
// Until the graphics service draws into it, a frame only clears and presents.

#include <SDL2/SDL_video.h>

#include <cstdint>

class QelSDLGLContext {
public:
    // Asked of the window before it is created.
    static void RequestAttributes();

    ~QelSDLGLContext();

    // False when the context cannot be made or its functions not loaded.
    bool Create(SDL_Window* window);
    void Destroy();

    // Colour (0, 0, 0, 0), depth 1.
    void Clear();
    void Present(bool verticalSync);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    int32_t width_ = 0;   // back buffer pixels
    int32_t height_ = 0;
    int syncInterval_ = -1;  // last interval set, -1 before the first present
};
