#include "game/shell/scenes/SceneGlobals.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/shell/scenes/Scenes.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"

namespace {

// Under every panel (1000) and area fill (999).
constexpr int kBackdropLayer = 995;
// What an address may hold: a host name or a dotted IPv4 address with room
// to spare.
constexpr int32_t kAddressCapacity = 64;
constexpr int32_t kAddressFieldId = 101;
// A name the server's client list can show in full.
constexpr int32_t kMachineNameCapacity = 32;
constexpr int32_t kMachineNameFieldId = 102;

}  // namespace

Qel2dBitmap* scmBackImage = nullptr;
glm::vec4 deepBackgroundColour{0.0f, 0.0f, 0.0f, 1.0f};
bool optionsOpenedFromServer = false;
SceneFunction optionsReturnScene;
Edline machineNameField{kMachineNameFieldId, "gui-2", kMachineNameCapacity};
Edline connectAddressField{kAddressFieldId, "gui-2", kAddressCapacity};
std::string connectNotice;
std::string serverAddressText;

SceneFunction OpenOptionsFromServer(SceneFunction returnScene)
{
    PlayGUISound("gui_button");
    optionsOpenedFromServer = true;
    optionsReturnScene = returnScene;
    return SceneClientOptionsMode;
}

void ReadDeepBackgroundColour(const char* preference)
{
    uiParseColorValid(AppData::GetString(preference), deepBackgroundColour);
}

void DrawMenuBackdrop()
{
    if (gGraphicsFactory == nullptr)
        return;
    const float width = static_cast<float>(gGraphicsFactory->GetWidth());
    const float height = static_cast<float>(gGraphicsFactory->GetHeight());
    Qel2dBitmap* image = scmBackImage != nullptr ? scmBackImage : theUIContext.White();
    if (image != nullptr) {
        image->SetDestRect(0.0f, 0.0f, width, height);
        if (image == scmBackImage)
            image->SetSourceRect(0.0f, 0.0f, width, height);
        image->DrawQuad(&deepBackgroundColour[0], kBackdropLayer, false);
    }
    gGraphicsFactory->Flush2D();
}
