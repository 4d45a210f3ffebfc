#include "game/shell/scenes/MenuBackdrop.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"

namespace {

// Under every panel (1000) and area fill (999).
constexpr int kBackdropLayer = 995;

}  // namespace

void MenuBackdrop::ReadColour(const char* preference)
{
    uiParseColorValid(AppData::GetString(preference), colour);
}

void MenuBackdrop::Draw(UIContext& ui) const
{
    if (gGraphicsFactory == nullptr)
        return;
    const float width = static_cast<float>(gGraphicsFactory->GetWidth());
    const float height = static_cast<float>(gGraphicsFactory->GetHeight());
    Qel2dBitmap* picture = image != nullptr ? image : ui.White();
    if (picture != nullptr) {
        picture->SetDestRect(0.0f, 0.0f, width, height);
        if (picture == image)
            picture->SetSourceRect(0.0f, 0.0f, width, height);
        picture->DrawQuad(&colour[0], kBackdropLayer, false);
    }
    gGraphicsFactory->Flush2D();
}
