#include "game/shell/InterfacePictures.h"

InterfacePictures* gInterfacePictures = nullptr;
