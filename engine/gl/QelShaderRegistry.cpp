#include "engine/gl/QelShaderRegistry.h"

#include "engine/gl/GLQELShader2DAdditive.h"
#include "engine/gl/GLQELShader2DBlurAdditive.h"
#include "engine/gl/GLQELShader2DNormal.h"
#include "engine/gl/GLQELShader3DFlat.h"
#include "engine/gl/GLQELShader3DFlatFacing.h"

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
}
