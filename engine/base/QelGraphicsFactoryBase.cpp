#include "engine/base/QelGraphicsFactoryBase.h"

QelGraphicsFactoryBase* gGraphicsFactory = nullptr;
