#include "engine/base/QelSoundFactoryBase.h"

QelSoundFactoryBase* gSoundFactory = nullptr;
