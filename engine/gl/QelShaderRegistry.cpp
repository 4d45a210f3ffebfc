#include "engine/gl/QelShaderRegistry.h"

#include "engine/gl/GLQELShader2DAdditive.h"
#include "engine/gl/GLQELShader2DBlurAdditive.h"
#include "engine/gl/GLQELShader2DNormal.h"
#include "engine/gl/GLQELShader3DFlat.h"
#include "engine/gl/GLQELShader3DFlatFacing.h"
#include "engine/gl/GLQELShader3DNebula.h"
#include "engine/gl/GLQELShader3DPointRing.h"
#include "engine/gl/GLQELShaderGasGiant.h"
#include "engine/gl/GLQELShaderIPTCell.h"
#include "engine/gl/GLQELShaderInstancedPostTransform.h"
#include "engine/gl/GLQELShaderNebulaVolume.h"
#include "engine/gl/GLQELShaderPhong.h"
#include "engine/gl/GLQELShaderPostTransform.h"
#include "engine/gl/GLQELShaderRedwood.h"
#include "engine/gl/GLQELShaderRedwoodWiggle.h"
#include "engine/gl/GLQELShaderSceneVolumeComposite.h"
#include "engine/gl/GLQELShaderVolume.h"
#include "engine/gl/GLQELShaderVolumePostProcess.h"
#include "engine/gl/GLQELSkyBox.h"

QelShaderRegistry* gShaderRegistry = nullptr;

void RegisterShader(const std::string& name, QelShaderFactory factory)
{
    if (gShaderRegistry == nullptr)
        gShaderRegistry = new QelShaderRegistry;
    (*gShaderRegistry)[name] = QelShaderRegistryEntry{std::move(factory)};
}

const QelShaderRegistryEntry* FindShaderFactory(const std::string& name)
{
    if (gShaderRegistry == nullptr)
        return nullptr;
    auto found = gShaderRegistry->find(name);
    return found == gShaderRegistry->end() ? nullptr : &found->second;
}

void FreeShaderRegistry()
{
    delete gShaderRegistry;
    gShaderRegistry = nullptr;
}

void RegisterEngineShaders()
{
    RegisterShader("2DAdditive", [] { return new GLQELShader2DAdditive; });
    RegisterShader("2DBlurAdd", [] { return new GLQELShader2DBlurAdditive; });
    RegisterShader("2DNormal", [] { return new GLQELShader2DNormal; });
    RegisterShader("Flat", [] { return new GLQELShader3DFlat; });
    RegisterShader("FlatFacing", [] { return new GLQELShader3DFlatFacing; });
    RegisterShader("Nebula", [] { return new GLQELShader3DNebula; });
    RegisterShader("PointRing", [] { return new GLQELShader3DPointRing; });
    RegisterShader("GasGiant", [] { return new GLQELShaderGasGiant; });
    RegisterShader("InstancedPostTransform", [] { return new GLQELShaderInstancedPostTransform; });
    RegisterShader("IPTCell", [] { return new GLQELShaderIPTCell; });
    RegisterShader("NebulaVolume", [] { return new GLQELShaderNebulaVolume; });
    RegisterShader("Phong", [] { return new GLQELShaderPhong; });
    RegisterShader("PostTransform", [] { return new GLQELShaderPostTransform; });
    RegisterShader("Redwood", [] { return new GLQELShaderRedwood; });
    RegisterShader("RedwoodWiggle", [] { return new GLQELShaderRedwoodWiggle; });
    RegisterShader("Volume", [] { return new GLQELShaderVolume; });
    RegisterShader("VolumePostProcess", [] { return new GLQELShaderVolumePostProcess; });
    RegisterShader("SceneVolumeComposite", [] { return new GLQELShaderSceneVolumeComposite; });
    RegisterShader("Skybox", [] { return new GLQELSkyBox; });
}
