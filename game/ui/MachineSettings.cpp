#include "game/ui/MachineSettings.h"

#include "engine/base/QelInputFactoryBase.h"
#include "helper/GeneralUtils.h"

#include <cstdio>

std::string StoredSetting(const char* name)
{
    std::string stored;
    if (gInputFactory)
        gInputFactory->GetRegistryValue(name, stored);
    return stored;
}

void StoreSetting(const char* name, const std::string& value)
{
    if (gInputFactory && !gInputFactory->SetRegistryValue(name, value))
        std::fprintf(stderr, "settings: could not store %s=\"%s\"; it holds for this run only\n", name,
                     value.c_str());
}

std::string FractionText(float value)
{
    return FloatToString(value);
}
