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

#include <utility>

void QelShaderRegistry::Register(const std::string& name, QelShaderFactory factory)
{
    factories_[name] = std::move(factory);
}

const QelShaderFactory* QelShaderRegistry::Find(const std::string& name) const
{
    const auto found = factories_.find(name);
    return found == factories_.end() ? nullptr : &found->second;
}

void QelShaderRegistry::RegisterEngineShaders()
{
    Register("2DAdditive", [] { return new GLQELShader2DAdditive; });
    Register("2DBlurAdd", [] { return new GLQELShader2DBlurAdditive; });
    Register("2DNormal", [] { return new GLQELShader2DNormal; });
    Register("Flat", [] { return new GLQELShader3DFlat; });
    Register("FlatFacing", [] { return new GLQELShader3DFlatFacing; });
    Register("Nebula", [] { return new GLQELShader3DNebula; });
    Register("PointRing", [] { return new GLQELShader3DPointRing; });
    Register("GasGiant", [] { return new GLQELShaderGasGiant; });
    Register("InstancedPostTransform", [] { return new GLQELShaderInstancedPostTransform; });
    Register("IPTCell", [] { return new GLQELShaderIPTCell; });
    Register("NebulaVolume", [] { return new GLQELShaderNebulaVolume; });
    Register("Phong", [] { return new GLQELShaderPhong; });
    Register("PostTransform", [] { return new GLQELShaderPostTransform; });
    Register("Redwood", [] { return new GLQELShaderRedwood; });
    Register("RedwoodWiggle", [] { return new GLQELShaderRedwoodWiggle; });
    Register("Volume", [] { return new GLQELShaderVolume; });
    Register("VolumePostProcess", [] { return new GLQELShaderVolumePostProcess; });
    Register("SceneVolumeComposite", [] { return new GLQELShaderSceneVolumeComposite; });
    Register("Skybox", [] { return new GLQELSkyBox; });
}
