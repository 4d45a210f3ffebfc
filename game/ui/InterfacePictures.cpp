#include "game/ui/InterfacePictures.h"

InterfacePictures* gInterfacePictures = nullptr;
