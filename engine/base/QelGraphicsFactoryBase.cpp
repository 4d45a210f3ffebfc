#include "engine/base/QelGraphicsFactoryBase.h"

#include <cstdio>

#include "helper/QelAssert.h"

QelGraphicsFactoryBase* gGraphicsFactory = nullptr;

namespace {

// Loaded by every graphics service when it starts: the stand-in texture.
const char* const kFallbackTexture = "smallWhite";

}  // namespace

QelGraphicsFactoryBase& GraphicsService()
{
    QEL_ASSERT(gGraphicsFactory != nullptr, "gGraphicsFactory != NULL");
    return *gGraphicsFactory;
}

void QelGraphicsFactoryBase::SubmitDrawing() {}

bool QelGraphicsFactoryBase::CopyToScreen(Qel2dBitmap&, const QelRect&, const QelRect&)
{
    return false;
}

bool QelGraphicsFactoryBase::KnowsShader(const std::string&)
{
    return true;
}

// A bitmap made under the name later (a transfer, a render target) is found
// by the look-up that comes first.
Qel2dBitmap* QelGraphicsFactoryBase::LoadTexture(const std::string& name)
{
    if (Qel2dBitmap* stored = Find2DBitmap(name))
        return stored;
    if (missingTextures_.count(name) == 0) {
        if (Qel2dBitmap* bitmap = Load2DBitmap(name))
            return bitmap;
        std::fprintf(stderr, "Texture %s: no image of that name loads; drawing it white.\n", name.c_str());
        missingTextures_.insert(name);
    }
    return Find2DBitmap(kFallbackTexture);
}
