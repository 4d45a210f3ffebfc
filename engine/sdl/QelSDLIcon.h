#pragma once
// The program's window icon, drawn in code so no image file is needed.

struct SDL_Surface;

// A new 32 x 32 RGBA surface; the caller frees it.
SDL_Surface* CreateProgramIcon();
