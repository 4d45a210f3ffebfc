#include "game/render/RedwoodPointLight.h"

#include "engine/base/QelDrawProcess.h"
#include "helper/QelAssert.h"

void RedwoodPointLight::Apply(QelDrawProcess* process, int lightIndex) const
{
    QEL_ASSERT(process != nullptr, "process != NULL");
    QEL_ASSERT(lightIndex >= 0, "lightIndex >= 0");
    QEL_ASSERT(lightIndex < kSlots, "lightIndex < 16");
    const float slot = static_cast<float>(lightIndex);
    process->SetParameter("spotPos", slot, position.x, position.y, position.z);
    process->SetParameter("spotRadius", slot, radius, 0.0f, 0.0f);
    process->SetParameter("spotColor", slot, colour.x, colour.y, colour.z);
}
