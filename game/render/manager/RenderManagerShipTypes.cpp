// The render manager's record of each ship type's draw data, and the
// lighting of the lit ship shader.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"

ObjectTypeDrawData* RenderManager::GetObjectTypeDrawData(const std::string& shipKey)
{
    std::unique_ptr<ObjectTypeDrawData>& drawData = drawDataMap[shipKey];
    if (!drawData)
        drawData = std::make_unique<ObjectTypeDrawData>(shipKey);
    return drawData.get();
}

void RenderManager::SetRedwoodConstants(const glm::vec3& cameraPos, const glm::vec3& cameraDir,
                                        const char* shaderName)
{
    QelDrawProcess* redwood = gGraphicsFactory ? gGraphicsFactory->GetShader(shaderName) : nullptr;
    if (!redwood)
        return;
    redwood->SetParameter("lightDir", 1.0f, 0.0f, 0.0f, 0.0f);
    redwood->SetParameter("cameraPos", cameraPos.x, cameraPos.y, cameraPos.z, 1.0f);
    redwood->SetParameter("cameraDir", cameraDir.x, cameraDir.y, cameraDir.z, 1.0f);
    redwood->SetParameter("lightColorIntensity", 1.0f, 1.0f, 1.0f, 1.0f);
    redwood->SetParameter("ambientColor", 0.3f, 0.3f, 0.3f, 0.3f);
}
