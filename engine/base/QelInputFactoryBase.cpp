#include "engine/base/QelInputFactoryBase.h"

QelInputFactoryBase* gInputFactory = nullptr;
