#include "game/shell/HalvexGameLoop.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelSoundFactoryBase.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/render/DrawDataHullSilhouettes.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptConsoleLog.h"
#include "game/script/ServerPresentation.h"
#include "game/shell/FtdiDmxTransport.h"
#include "game/shell/GameMusic.h"
#include "game/shell/HalvexDMX.h"
#include "game/shell/ScriptHotKeys.h"
#include "game/ui/KeyVal.h"
#include "game/ui/SceneHost.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <cstdio>

namespace {

// The mission's hot keys join the game's hot-key table through it.
ScriptHotKeys scriptHotKeys;
// The world's particle bursts show on the server's screen and every console's.
ServerParticleSink serverParticles;
// The world's jumps sound and show on the server's own screen.
ServerLocalPresentation serverPresentation;

// The mission hears that this machine's music finished a track: the server
// raises "song_ended" for its own screen at once; a console tells its server,
// naming its own ship.
void ReportSongEnded(const Simulation* world)
{
    if (world != nullptr && world->serverFlag) {
        if (gServer != nullptr)
            gServer->SongEnded(0);
        return;
    }
    if (!IsClientConnected())
        return;
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, SongEndedSignal{world != nullptr ? world->subjectID : 0});
    SendClientMessage();
}

}  // namespace

HalvexGameLoop::HalvexGameLoop() = default;

HalvexGameLoop::HalvexGameLoop(const Options& chosen) : options(chosen) {}

HalvexGameLoop::~HalvexGameLoop()
{
    DeleteSingletons();
}

// The engine has made its services, the network factory among them, before
// this runs. The box layout joins here with its subsystem.
void HalvexGameLoop::Startup()
{
    GeneralUtilsSelfTest();
    KeyVal::Load();
    KeyValueParser::Load();
    AppData::Load();
    RegisterBehaviourHooks();
    CreateSingletons();
    ConnectScriptHost();
    // The scene host has opened this machine's screen, whose retained GUI
    // lists the mission's hot keys in the game's table.
    if (ConsoleScreen* screen = client->Screen())
        screen->RetainedGUI().SetHotKeyService(&scriptHotKeys);
    ConnectHullSilhouettes();
    if (scenes)
        scenes->SetupFirstScreen();
    StartMusicAndLighting();
}

// With graphics, ship interiors are laid over the silhouettes the render
// side makes from the hulls' meshes; a host without graphics brings its own.
void HalvexGameLoop::ConnectHullSilhouettes()
{
    if (gGraphicsFactory == nullptr)
        return;
    hullSilhouettes = std::make_unique<DrawDataHullSilhouettes>(GraphicsService());
    SetHullSilhouetteSource(hullSilhouettes.get());
}

void HalvexGameLoop::DisconnectHullSilhouettes()
{
    if (hullSilhouettes)
        SetHullSilhouetteSource(nullptr);
    hullSilhouettes.reset();
}

// Client, server, render manager (with the scenes), world: in this order, once.
void HalvexGameLoop::CreateSingletons()
{
    CorvaneClient::Settings clientSettings = CorvaneClient::Settings::FromPreferences();
    clientSettings.lanDiscovery = options.lanDiscovery;
    client = std::make_unique<CorvaneClient>(clientSettings);
    RouteConsoleCommands(client.get());

    CorvaneServer::Settings serverSettings = CorvaneServer::Settings::FromPreferences();
    if (options.serverPort)
        serverSettings.port = *options.serverPort;
    serverSettings.lanDiscovery = options.lanDiscovery;
    server = std::make_unique<CorvaneServer>(serverSettings);
    gServer = server.get();
    if (gGraphicsFactory != nullptr)
        server->SetWindowSize(static_cast<float>(gGraphicsFactory->GetWidth()),
                              static_cast<float>(gGraphicsFactory->GetHeight()));

    if (options.makeSceneHost)
        scenes = options.makeSceneHost(GameNetwork{client.get(), server.get()});

    world = std::make_unique<Simulation>();
    client->SetWorld(world.get());
    server->SetWorld(world.get());
}

// The mission reaches the consoles through the server, the server and the
// world reach the mission through the script host, the world's particle
// bursts go where the mission's go, and what the mission prints goes to
// standard output until the server screen's log exists.
void HalvexGameLoop::ConnectScriptHost()
{
    consoleLog = std::make_unique<StdoutScriptConsoleLog>();
    server->SetScriptHost(&theMissionScript);
    theMissionScript.SetMessageSink(server.get());
    theMissionScript.SetWorld(world.get());
    theMissionScript.SetNetwork(GameNetwork{client.get(), server.get()});
    world->SetScriptEventSink(&theMissionScript);
    world->SetPendingDestroySink(server.get());
    world->SetParticleSink(&serverParticles);
    world->SetEffectBroadcast(server.get());
    world->SetScienceScanSink(server.get());
    world->SetShipConsoleNotices(server.get());
    world->SetLocalPresentation(&serverPresentation);
    theMissionScript.SetConsoleLog(consoleLog.get());
}

// The render manager's set-up loads the music set and opens the lights; the
// start-up then plays the set's start cue once. Without a working sound
// service the music stays silent; without an interface the lights are not
// driven.
void HalvexGameLoop::StartMusicAndLighting()
{
    music = std::make_unique<GameMusic>(gSoundFactory, [this] { ReportSongEnded(world.get()); });
    gMusicControl = music.get();
    dmx = std::make_unique<HalvexDMX>(std::make_unique<FtdiDmxTransport>());
    gDmxLighting = dmx.get();
    music->LoadMusicSet(AppData::GetString("music_base_folder"));
    if (options.dmxOutput)
        dmx->Open();
    music->PlayStartMusicCue();
}

// The output thread stops and is joined here, at the latest.
void HalvexGameLoop::StopMusicAndLighting()
{
    gMusicControl = nullptr;
    music.reset();
    gDmxLighting = nullptr;
    dmx.reset();
}

void HalvexGameLoop::LogRefusedMessages() const
{
    if (!server && !client)
        return;  // taken down already
    const std::string lines[] = {
        server ? server->DescribeRefusedMessages() : "",
        client ? client->DescribeRefusedMessages() : "",
        DescribeRejectedMessages(),
    };
    for (const std::string& line : lines) {
        if (!line.empty())
            std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void HalvexGameLoop::DisconnectScriptHost()
{
    theMissionScript.SetMessageSink(nullptr);
    theMissionScript.SetWorld(nullptr);
    theMissionScript.SetNetwork(GameNetwork{});
    theMissionScript.SetConsoleLog(nullptr);
}

void HalvexGameLoop::SceneFrameUpdate()
{
    if (scenes)
        scenes->FrameUpdate();
}

void HalvexGameLoop::SimulationFrameUpdate()
{
    if (world)
        world->FrameUpdate();
}

void HalvexGameLoop::ServerFrameUpdate()
{
    if (server)
        server->FrameUpdate();
}

void HalvexGameLoop::ClientFrameUpdate()
{
    if (client)
        client->FrameUpdate();
}

void HalvexGameLoop::SimulationTick(uint32_t)
{
    if (world)
        world->Tick();
}

// The render manager's tick: the scene's tick step (scene rendering), then
// the music follows the tension and the lights take their next levels.
void HalvexGameLoop::SceneTick()
{
    if (scenes)
        scenes->SimTick();
    if (music)
        music->UpdateGameMusic(1.0f);
    if (dmx)
        dmx->ComputeFrame();
}

void HalvexGameLoop::ServerTick()
{
    if (server)
        server->Tick();
}

void HalvexGameLoop::ClientTick()
{
    if (client)
        client->Tick();
}

// Without scenes, the window shows the product's name through the graphics
// service, which proves the 2D path from game to screen.
void HalvexGameLoop::Draw()
{
    if (scenes) {
        scenes->Draw();
        return;
    }
    if (gGraphicsFactory == nullptr)
        return;
    static const float kFrame[4] = {0.3f, 0.6f, 1.0f, 1.0f};
    const int width = gGraphicsFactory->GetWidth();
    const int height = gGraphicsFactory->GetHeight();
    if (Qel2dBitmap* white = gGraphicsFactory->Find2DBitmap("smallWhite")) {
        white->SetDestRect(width * 0.25f, height * 0.45f, width * 0.75f, height * 0.55f);
        white->DrawQuad(kFrame, 0, false);
    }
    if (QelBitmapFont* font = gGraphicsFactory->FindFont("DefaultSans", 12))
        theUIContext.DrawText(font, {0, 0, width, height}, "Corvane Halvex", glm::vec4(1.0f), 1, 2);
}

// A running mission is stopped first, while the server can still tell the
// consoles and the world still exists for the script's last calls. Then the
// render manager (with the scenes, the music and the lights), the world, the
// server and the client go, in this order, each only if it exists; the
// messages they refused during the run are written to the log before they go.
void HalvexGameLoop::DeleteSingletons()
{
    if (theMissionScript.ScriptsLoaded())
        theMissionScript.Stop();
    DisconnectScriptHost();
    LogRefusedMessages();
    scenes.reset();
    StopMusicAndLighting();
    if (server)
        server->SetWorld(nullptr);
    if (client)
        client->SetWorld(nullptr);
    world.reset();
    DisconnectHullSilhouettes();
    if (server)
        server->SetScriptHost(nullptr);
    server.reset();
    client.reset();
    consoleLog.reset();
}
