#include "game/world/MusicControl.h"

MusicControl* gMusicControl = nullptr;
