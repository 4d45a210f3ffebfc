// Where a console finds its server: an address typed or pasted, or one of the
// servers found on the local network. Once the connection stands the console
// introduces itself (its change "client_connected" and its window size),
// starts an empty world of its own and goes to the console scene.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/LanServerDiscovery.h"
#include "game/net/SignalMessage.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kLayer = 1000;
constexpr int32_t kConnectId = 10;
constexpr int32_t kCancelId = 11;
constexpr int32_t kPasteId = 12;
constexpr int32_t kFirstServerId = 20;
constexpr glm::vec4 kPanelColour{0.2f, 0.2f, 0.2f, 1.0f};
constexpr glm::vec4 kNoticeColour{1.0f, 0.45f, 0.35f, 1.0f};
constexpr const char* kDefaultAddress = "127.0.0.1";
constexpr const char* kAddressSetting = "lastIPAddressTyped";

void Enter(Edline& addressField)
{
    std::string address;
    if (!gInputFactory || !gInputFactory->GetRegistryValue(kAddressSetting, address) || address.empty())
        address = kDefaultAddress;
    addressField.SetText(address);
    addressField.password = AppData::GetFloat("obscure_ip_typein_box_flag") != 0.0f;
}

void PasteAddress(Edline& addressField)
{
    PlayGUISound("gui_button");
    std::string clipboard;
    if (gInputFactory && gInputFactory->GetClipboardText(clipboard))
        addressField.SetText(clipboard);
}

// A text that names no host is said at once; an unreachable host simply never
// answers, and the scene waits.
void ConnectTo(CorvaneClient* client, std::string& notice, const std::string& address)
{
    PlayGUISound("gui_button");
    if (gInputFactory)
        gInputFactory->SetRegistryValue(kAddressSetting, address);
    notice.clear();
    if (!client || !client->Connect(address))
        notice = "No server can be reached at \"" + address + "\": it is no address or host name.";
}

// The console introduces itself once, on the step that sees the connection.
SceneFunction FrameStep(ShellState& shell, CorvaneClient* client)
{
    if (client && client->IsConnected()) {
        SendSignal(ClientChangeSignal{"client_connected"});
        if (gGraphicsFactory)
            SendSignal(ScreenSizeSignal{gGraphicsFactory->GetWidth(), gGraphicsFactory->GetHeight()});
        theSimulation->Reset(false, "");
        shell.connectNotice.clear();
        return SceneClientRunningMode;
    }
    // Control+V pastes, also while the address box takes the typing (a bare
    // V would paste over every address with a 'v' in it).
    KeyVal::AnswerNextWhileTyping();
    if (KeyVal::QueryPressed("OPT", "ip-address-paste", qel::vk::kLetterA + ('V' - 'A'), qel::vk::kControl,
                             "pastes the copied text into the ip address string"))
        PasteAddress(shell.connectAddressField);
    return SceneClientConnectMode;
}

void DrawAddressRow(UIContext& ui, ShellState& shell, const IntRect& inner, CorvaneClient* client)
{
    const int32_t top = inner.top + 80;
    const int32_t bottom = inner.top + 120;
    ui.SetCurrentRectEdges(inner.left, inner.top + 86, inner.left + 90, bottom);
    if (uiButton(ui, kPasteId, "Paste", "gui-1", true, kLayer))
        PasteAddress(shell.connectAddressField);
    const int32_t boxLeft = inner.left + 100;
    ui.SetCurrentRectEdges(boxLeft, top, boxLeft + static_cast<int32_t>(0.48f * (inner.right - boxLeft)), bottom);
    uiTextBox(ui, "Network Address", shell.connectAddressField, kLayer);
    ui.PushRect();
    ui.ShiftRectX(1, 10);
    if (uiButton(ui, kConnectId, "Connect To Server", "gui-2", true, kLayer))
        ConnectTo(client, shell.connectNotice, shell.connectAddressField.text);
    ui.PopRect();
}

void DrawAddressPanel(UIContext& ui, ShellState& shell, int32_t width, int32_t height, CorvaneClient* client)
{
    const IntRect frame{width / 2 - 350, height - 250, width / 2 + 350, height - 110};
    uiFrame(ui, 2, static_cast<float>(frame.left), static_cast<float>(frame.top), static_cast<float>(frame.right),
            static_cast<float>(frame.bottom), kPanelColour, kLayer);
    const IntRect inner{frame.left + 10, frame.top + 10, frame.right - 10, frame.bottom - 10};
    ui.DrawText(ui.GetFont("gui-2"), inner, "Type in IP Address", ui.mainColour, kLayer, 0);
    const IntRect notice{inner.left, inner.top + 30, inner.right, inner.top + 78};
    ui.DrawText(ui.GetFont("gui-1"), notice, shell.connectNotice, kNoticeColour, kLayer, 0);
    DrawAddressRow(ui, shell, inner, client);
}

// One button per server found on the local network, 43 pixels apart.
void DrawFoundServers(UIContext& ui, std::string& notice, CorvaneClient* client)
{
    const std::vector<DiscoveredServer>& servers = LanServerDiscovery::Instance().FoundServers();
    if (servers.empty())
        return;
    ui.DrawText(ui.GetFont("gui-2"), IntRect{20, 20, 3000, 300}, "Detected game server list:", ui.mainColour, kLayer,
                0);
    ui.SetCurrentRectEdges(20, 40, 700, 80);
    for (size_t i = 0; i < servers.size(); ++i) {
        ui.ShiftRectY(1, 3);
        if (uiButton(ui, kFirstServerId + static_cast<int32_t>(i), "Connect to " + servers[i].name, "gui-2", true,
                     kLayer))
            ConnectTo(client, notice, servers[i].address);
    }
}

SceneFunction Draw(ShellState& shell, CorvaneClient* client)
{
    UIContext& ui = shell.UI();
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    shell.backdrop.Draw(ui);
    DrawAddressPanel(ui, shell, width, height, client);
    DrawFoundServers(ui, shell.connectNotice, client);
    ui.SetCurrentRectEdges(10, height - 50, 300, height - 10);
    if (uiButton(ui, kCancelId, "Cancel", "gui-2", true, kLayer)) {
        PlayGUISound("gui_button");
        return SceneFirstMode;
    }
    return SceneClientConnectMode;
}

}  // namespace

SceneFunction SceneClientConnectMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: Enter(shell.connectAddressField); break;
    case SCENE_FRAME: return FrameStep(shell, SceneClient(view));
    case SCENE_DRAW: return Draw(shell, SceneClient(view));
    default: break;
    }
    return SceneClientConnectMode;
}
