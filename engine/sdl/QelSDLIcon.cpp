#include "engine/sdl/QelSDLIcon.h"

#include <SDL2/SDL_surface.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr int kIconSize = 32;

// A deep-blue disc with a pale chevron pointing up: a ship's bow on a scope.
uint32_t IconPixel(const SDL_PixelFormat* format, int x, int y)
{
    const float cx = static_cast<float>(x) - 15.5f;
    const float cy = static_cast<float>(y) - 15.5f;
    const float radius = std::sqrt(cx * cx + cy * cy);
    if (radius > 15.5f)
        return SDL_MapRGBA(format, 0, 0, 0, 0);
    if (radius > 14.0f)
        return SDL_MapRGBA(format, 120, 200, 255, 255);
    const bool onChevron = y >= 8 && y <= 24 && std::fabs(std::fabs(cx) - (static_cast<float>(y) - 8.0f) * 0.6f) < 1.6f;
    if (onChevron)
        return SDL_MapRGBA(format, 230, 240, 255, 255);
    return SDL_MapRGBA(format, 10, 30, 70, 255);
}

}  // namespace

SDL_Surface* CreateProgramIcon()
{
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kIconSize, kIconSize, 32, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr)
        return nullptr;
    SDL_LockSurface(icon);
    for (int y = 0; y < kIconSize; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < kIconSize; ++x)
            row[x] = IconPixel(icon->format, x, y);
    }
    SDL_UnlockSurface(icon);
    return icon;
}
