#include "game/shell/scenes/OptionsScreen.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/shell/scenes/MenuBackdrop.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

namespace {

// The logo fills half the window's width, barely there.
constexpr float kLogoWidthShare = 0.5f;
constexpr float kLogoColour[4] = {1.0f, 1.0f, 1.0f, 0.1f};
constexpr IntRect kFirstButton{1, 10, 300, 45};

}  // namespace

void BeginOptionsScreen(UIContext& ui, const MenuBackdrop& backdrop)
{
    backdrop.Draw(ui);
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    if (Qel2dBitmap* logo = ui.Bitmap("HalvexLogo"); logo && logo->GetWidth() > 0) {
        const float scale = kLogoWidthShare * static_cast<float>(width) / static_cast<float>(logo->GetWidth());
        logo->DrawRotated(width / 2.0f, height / 2.0f, 0.0f, scale, kOptionsLayer, kLogoColour, false);
    }
    ui.SetCurrentRect(kFirstButton);
}

bool OptionsHotKeyPressed(const OptionsHotKey& hotKey)
{
    return isHotKeyPressed("OPT", hotKey.name, hotKey.defaultKey, hotKey.description);
}

bool OptionsButton(UIContext& ui, int32_t id, const std::string& label, const OptionsHotKey& hotKey)
{
    const bool pressed = OptionsHotKeyPressed(hotKey);
    const bool clicked = uiButton(ui, id, label, "gui-2", true, kOptionsLayer);
    return pressed || clicked;
}
