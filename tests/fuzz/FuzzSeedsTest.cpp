// The fuzz targets' seeds (tests/fuzz/<target>/seed-*): valid messages and
// files, each made by the game's own writer, so the fuzzer starts from what
// the game really sends and stores. The test fails when a committed seed no
// longer matches what the writers make (a format changed); run it with
// QEL_WRITE_FUZZ_SEEDS=1 to write them anew.

#include "engine/base/QelPixelImage.h"
#include "engine/base/QelSettingsFile.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "fuzz/support/FuzzFrames.h"
#include "game/net/AssetTransferSignals.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/BeamMessage.h"
#include "game/net/ClientStringFile.h"
#include "game/net/CorvaneServer.h"
#include "game/net/LanServerDiscovery.h"
#include "game/net/SignalMessageCrew.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/PresentationSignals.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/SignalMessage.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/ui/ControllerInputRecord.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/EngPresets.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/Hjson.h"
#include "tests/support/CapturingServer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct FuzzSeed {
    std::string target;
    std::string name;
    std::vector<uint8_t> bytes;
};

using Bytes = std::vector<uint8_t>;

// The ids the fuzz fixtures give their objects: the first ship, a second
// ship, a station and a computer ship, made in this order in a fresh run.
constexpr uint64_t kFirstShip = kSpaceObjectIdBit | 4;
constexpr uint64_t kSecondShip = kSpaceObjectIdBit | 5;
constexpr uint64_t kStation = kSpaceObjectIdBit | 6;
constexpr uint64_t kConsole = kClientIdBit | 501;
// The first grid-object ids of a process.
constexpr uint64_t kGridObject = kGridObjectIdBit | 41;
constexpr size_t kSignalPrefixSize = 8 + 2;  // key and code
constexpr size_t kKeySize = 8;

Bytes BytesOf(const QelNetworkMessage& message, size_t skip = 0)
{
    return Bytes(message.Data() + skip, message.Data() + message.writeIndex);
}

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// One frame from the first sender, with one tick after it.
Bytes Framed(const Bytes& bytes)
{
    Bytes input;
    AppendFuzzFrame(input, 0, 1, bytes);
    return input;
}

template <typename Signal>
QelNetworkMessage& SignalMessage(QelNetworkMessage& message, const Signal& signal)
{
    message.Reset();
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, signal);
    return message;
}

// A signal seeds two targets: whole, the target of every message of its
// side; its payload, the target of its code.
template <typename Signal>
void AddSignal(std::vector<FuzzSeed>& seeds, const std::string& side, const std::string& name, const Signal& signal)
{
    QelNetworkMessage message;
    SignalMessage(message, signal);
    seeds.push_back({side + "_messages", "signal-" + name, Framed(BytesOf(message))});
    seeds.push_back({side + "_signal_" + std::to_string(Signal::kCode), name,
                     Framed(BytesOf(message, kSignalPrefixSize))});
}

void AddServerSeeds(std::vector<FuzzSeed>& seeds)
{
    AddSignal(seeds, "server", "full-object-request", FullObjectRequestSignal{{kStation, kSecondShip}});
    AddSignal(seeds, "server", "heartbeat", HeartbeatSignal{});
    AddSignal(seeds, "server", "throttle", ThrottleSignal{0.75f});
    AddSignal(seeds, "server", "reverse", ReverseSignal{1});
    AddSignal(seeds, "server", "steer", SteerSignal{0.1f, -0.5f, 0.25f});
    AddSignal(seeds, "server", "steer-2d", Steer2DSignal{0.5f, -0.25f});
    AddSignal(seeds, "server", "steer-free", SteerFreeSignal{-0.2f, 0.3f, 1.0f});
    AddSignal(seeds, "server", "select-helm",
              SelectObjectSignal{kStation, "helm", "", "helm_target", "", 100.0f, 0.0f, 250.0f});
    AddSignal(seeds, "server", "select-science",
              SelectObjectSignal{kSecondShip, "science", "scan", "science_target", "", 0.0f, 0.0f, 0.0f});
    AddSignal(seeds, "server", "console-name", ConsoleNameSignal{"helm weapons science"});
    AddSignal(seeds, "server", "jump", JumpSignal{2000.0f, 1.5f});
    AddSignal(seeds, "server", "quick-jump", QuickJumpSignal{-1.0f});
    AddSignal(seeds, "server", "ping", PingSignal{17});
    AddSignal(seeds, "server", "machine-name", MachineNameSignal{"bridge-left"});
    AddSignal(seeds, "server", "gui-action", RetainedActionSignal{"warp_slider", "slider", 0.5f, "", 0});
    AddSignal(seeds, "server", "gui-tree", DebugTreeTextSignal{"tree\n- ok_button, OK, \n"});
    AddSignal(seeds, "server", "song-ended", SongEndedSignal{0});
    AddSignal(seeds, "server", "grid-request", GridRequestSignal{1});
    AddSignal(seeds, "server", "grid-object-pick", GridObjectSelectionSignal{kFirstShip, kGridObject, "grid", "list"});
    AddSignal(seeds, "server", "grid-point-pick", GridPointSelectionSignal{kFirstShip, 3, 4, "grid", "interior"});
    AddSignal(seeds, "server", "grid-button", GridButtonSignal{"repair", kFirstShip, kGridObject});
    AddSignal(seeds, "server", "tube-type", TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Homing", 0});
    AddSignal(seeds, "server", "tube-load", TorpedoTubeSignal{TorpedoTubeSignal::kLoad, "", 1});
    AddSignal(seeds, "server", "shields", ShieldsSignal{1});
    AddSignal(seeds, "server", "beam-frequency", BeamFrequencySignal{2});
    AddSignal(seeds, "server", "beam-speed", BeamSpeedSignal{1});
    AddSignal(seeds, "server", "torpedo-to-energy", TorpedoConversionSignal{1});
    AddSignal(seeds, "server", "shield-piercing", ShieldPiercingSignal{kSecondShip, 0.5f, 2.0f, 0.25f});
    AddSignal(seeds, "server", "fighter-boost", FighterBoostSignal{1});
    AddSignal(seeds, "server", "fighter-thrust", FighterThrustSignal{1});
    AddSignal(seeds, "server", "fighter-shoot", FighterShootSignal{1});
    AddSignal(seeds, "server", "fighter-torpedo", FighterTorpedoSignal{1});
    AddSignal(seeds, "server", "fighter-dock", FighterDockRequestSignal{1});
    AddSignal(seeds, "server", "power", FloatValueFromClientSignal{"eng_control_value", 1.5f, 2});
    AddSignal(seeds, "server", "coolant", UInt64ValueFromClientSignal{"system_coolant_used", 2, 1});
    AddSignal(seeds, "server", "ship-record-request", ShipRecordRequestSignal{"tern_frigate"});
    AddSignal(seeds, "server", "asset-data-request", AssetDataRequestSignal{3, "tern_frigate", 1, 0, 0, 20, 10});
    AddSignal(seeds, "server", "dock", DockSignal{kFirstShip});
    AddSignal(seeds, "server", "undock", UndockSignal{kStation});
    AddSignal(seeds, "server", "scan-check", ScanCheckSignal{kSecondShip});
    AddSignal(seeds, "server", "scan-start", ScanCommandSignal{kSecondShip, "start", "bio"});
    AddSignal(seeds, "server", "comms-button", CommsButtonSignal{"Hail", kFirstShip, kStation});
    AddSignal(seeds, "server", "main-screen-view", MainScreenViewRequestSignal{"3d", "front", "chase"});
    AddSignal(seeds, "server", "red-alert", RedAlertSignal{1});
    AddSignal(seeds, "server", "client-string", ClientStringSignal{"callsign", "Kestrel"});
    AddSignal(seeds, "server", "hold-click", HoldClickSignal{kFirstShip, kStation, "Escort", 1.0f, 2.0f, 3.0f, 0});
    AddSignal(seeds, "server", "hold-button", HoldButtonSignal{"normal", "orders", {kFirstShip, kStation, 0, 0}});
    AddSignal(seeds, "server", "script-event", ConsoleScriptEventSignal{kFirstShip, "fighter_launch", "bay 2"});
    AddSignal(seeds, "server", "screen-size", ScreenSizeSignal{1280, 720});
    AddSignal(seeds, "server", "client-change", ClientChangeSignal{"client_connected"});
    AddSignal(seeds, "server", "widget-box-state", WidgetBoxStateSignal{"throttle", "helm", 1, 5, 10, 45, 90});
    // The transport's connection events: a console whose record went comes
    // back, and the first console leaves.
    Bytes events;
    AppendFuzzFrame(events, 3, 0, Bytes(kKeySize, 0));
    AppendFuzzFrame(events, 0, 1, Bytes{2, 0, 0, 0, 0, 0, 0, 0});
    seeds.push_back({"server_messages", "connection-events", events});
}

// Nav signs, a scan queue and the side tables, as the server writes them.
void AddNavigationSignalSeeds(std::vector<FuzzSeed>& seeds)
{
    Navpoint area;
    area.text = "Skarn Anchorage";
    area.visibleToSide = "meridian";
    area.isArea = true;
    area.corners = {{{7500, 10500}, {10500, 10500}, {10500, 13500}, {7500, 13500}}};
    area.color = {1.0f, 0.33f, 0.2f, 1.0f};
    AddSignal(seeds, "client", "nav-point", NavPointSignal{3, area});
    AddSignal(seeds, "client", "all-nav-points-deleted", AllNavPointsDeletedSignal{});
    AddSignal(seeds, "client", "nav-point-deleted", NavPointDeletedSignal{3});
    NavProxy depot{kStation, "Skarn Depot (last sighting)", "skarn_depot", {9000, 0, 12000}, {1, 0, 0, 1}, 1};
    AddSignal(seeds, "client", "nav-proxy", NavProxySignal{4, depot});
    AddSignal(seeds, "client", "all-nav-proxies-deleted", AllNavProxiesDeletedSignal{});
    AddSignal(seeds, "client", "nav-proxy-deleted", NavProxyDeletedSignal{4});
    AddSignal(seeds, "client", "scan-queue", ScanQueueSignal{{{kStation, "bio"}, {kSecondShip, "intel"}}});
    IndexedTablesSignal tables;
    tables.tables.iconColours[SideTables::SideKey("skarn")] = {1.0f, 0.33f, 0.2f, 1.0f};
    tables.tables.iconIndexes[SideTables::SideKey("skarn")] = 1;
    tables.tables.relationships[SideTables::SideKey("meridian")][SideTables::SideKey("skarn")] = DIPLOMACY_HOSTILE;
    AddSignal(seeds, "client", "side-tables", tables);
}

// What the mission has a console show, play and light.
void AddPresentationSignalSeeds(std::vector<FuzzSeed>& seeds)
{
    AddSignal(seeds, "client", "text", TextMessageSignal{{1.0f, 0.5f, 0.0f, 1.0f}, "Red alert"});
    AddSignal(seeds, "client", "comms", CommsMessageSignal{kStation, "head #e6b594 0 0", "Depot", "yellow", "Dock.", "white"});
    AddSignal(seeds, "client", "comms-selection", CommsSelectionInfoSignal{"Hail", "1", "Depot"});
    AddSignal(seeds, "client", "comms-button", CommsButtonInfoSignal{"Hail", "1", "Depot"});
    AddSignal(seeds, "client", "grid-selection", GridSelectionInfoSignal{"Repair", "2", "DamCon"});
    AddSignal(seeds, "client", "grid-button", GridButtonInfoSignal{"Repair", "2", "DamCon"});
    AddSignal(seeds, "client", "main-view", MainScreenViewSignal{"tactical", "front", "first"});
    AddSignal(seeds, "client", "music-set", MusicFolderSignal{"calm"});
    AddSignal(seeds, "client", "music-tension", MusicTensionSignal{40.0f});
    AddSignal(seeds, "client", "song", PlaySongSignal{"music/fanfare"});
    AddSignal(seeds, "client", "sound-file", SoundFileSignal{"gui/beep", 0.5f, 2.0f});
    AddSignal(seeds, "client", "dmx", DmxChannelSignal{{12, DMX_BEHAV_SINE, 4, 10, 250}});
    AddSignal(seeds, "client", "particles", ParticleEventSignal{kFirstShip, 1.0f, 2.0f, 3.0f, "color:red"});
    AddSignal(seeds, "client", "emitter", AttachedEmitterSignal{41, kFirstShip, 5, "color:blue"});
    AddSignal(seeds, "client", "sky", SkyBoxSignal{"sky_nebula"});
    AddSignal(seeds, "client", "damage", DamageAmountSignal{2.5f});
    AddSignal(seeds, "client", "hyper-warp", SuperHyperWarpSignal{"tern_frigate", 1});
    CinematicControlSignal cinematic;
    cinematic.scriptControlsCamera = 1;
    cinematic.dollyId = kFirstShip;
    cinematic.targetPos[0] = 100.0f;
    AddSignal(seeds, "client", "cinematic", cinematic);
    AddSignal(seeds, "client", "auto-cinematic", AutoCinematicStarsSignal{kStation});
    AddSignal(seeds, "client", "options-transparency", OptionsTransparencySignal{1});
    AddSignal(seeds, "client", "jump-effect", JumpEffectSignal{1234, 6});
    AddSignal(seeds, "client", "jump-time", JumpTimeSignal{9});
    AddSignal(seeds, "client", "hold-menu", HoldMenuSignal{kStation, kFirstShip, 0, "Hail;Scan;Dock"});
}

// A mesh outline and a chunk of each kind; the chunks also seed the chunk
// reader, whose first byte names the kind.
void AddAssetTransferSeeds(std::vector<FuzzSeed>& seeds)
{
    DrawDataOutlineSignal outline{"tern_frigate", "TernFrigate", {}};
    outline.units.push_back({"Redwood", 24, 36, {{4, 2}, {0, 0}}});
    outline.units.push_back({"Redwood", 3, 3, {}});
    AddSignal(seeds, "client", "draw-data-outline", outline);

    AssetDataSignal vertices{3, 10, {}, {}, {}};
    QelVertexRecord vertex{};
    vertex.position[0] = 1.5f, vertex.normal[1] = 1.0f, vertex.texCoord[0][0] = 0.25f, vertex.colour[3] = 1.0f;
    vertices.vertices.assign(2, vertex);
    const AssetDataSignal indices{4, 0, {}, {0, 1, 2, 2, 1, 3}, {}};
    const AssetDataSignal pixels{5, 0, {}, {}, {{1.0f, 0.5f, 0.25f, 0.0f}, {0.0f, 1.0f, 1.0f, 1.0f}}};
    AddSignal(seeds, "client", "asset-data", indices);
    const std::pair<AssetKind, const AssetDataSignal*> chunks[] = {
        {AssetKind::Vertices, &vertices}, {AssetKind::Indices, &indices}, {AssetKind::Texture, &pixels}};
    for (const auto& [kind, chunk] : chunks) {
        QelNetworkMessage message;
        WriteSignal(message, *chunk);
        Bytes bytes{static_cast<uint8_t>(kind)};
        const Bytes payload = BytesOf(message, 2);
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        seeds.push_back({"asset_chunk", "kind-" + std::to_string(static_cast<uint32_t>(kind)), bytes});
    }
}

void AddClientSignalSeeds(std::vector<FuzzSeed>& seeds)
{
    AddAssetTransferSeeds(seeds);
    AddSignal(seeds, "client", "my-ship", MyShipIdSignal{kSecondShip});
    AddSignal(seeds, "client", "my-alt-ship", MyAltShipIdSignal{kStation});
    AddSignal(seeds, "client", "throttle", ThrottleSignal{2.5f});
    AddSignal(seeds, "client", "reverse", ReverseSignal{1});
    AddSignal(seeds, "client", "steer", SteerSignal{0.5f, -0.5f, 0.0f});
    AddSignal(seeds, "client", "object-removed", ObjectRemovedSignal{kStation});
    AddSignal(seeds, "client", "new-simulation", NewSimulationSignal{});
    AddSignal(seeds, "client", "simulation-stopped", SimulationStoppedSignal{});
    AddSignal(seeds, "client", "float-value", FloatValueToClientSignal{kFirstShip, "energy", 0, 812.5f});
    AddSignal(seeds, "client", "pause-state", PauseStateSignal{1});
    AddSignal(seeds, "client", "red-alert", RedAlertSignal{1});
    AddSignal(seeds, "client", "beam-damage", BeamDamageSignal{1.5f, 1.0f, 2.0f});
    AddSignal(seeds, "client", "simulation-tick", SimulationTickSignal{4242});
    AddSignal(seeds, "client", "string-map", StringMapSignal{"mission_title", "First Watch"});
    AddSignal(seeds, "client", "string-map-clear", StringMapSignal{"clear", "stringmap"});
    AddSignal(seeds, "client", "client-string-request", ClientStringRequestSignal{"callsign"});
    AddSignal(seeds, "client", "set-client-string", SetClientStringSignal{"callsign", "Tern One"});
    AddSignal(seeds, "client", "connect-reset", ConnectResetSignal{});
    AddSignal(seeds, "client", "ping", PingSignal{17});
    AddSignal(seeds, "client", "machine-name", MachineNameSignal{"bridge-left"});
    AddSignal(seeds, "client", "machine-name-query", MachineNameQuerySignal{});
    RetainedGUIWidget button;
    button.tag = "ok_button";
    button.kind = "button";
    button.text = "OK";
    button.style = "tag:ok_button;text:OK";
    button.left = 10.0f, button.top = 80.0f, button.right = 30.0f, button.bottom = 90.0f;
    AddSignal(seeds, "client", "gui-widget", RetainedWidgetSignal{button});
    AddSignal(seeds, "client", "gui-clear", RetainedClearSignal{""});
    AddSignal(seeds, "client", "gui-complete", RetainedCompleteSignal{""});
    AddSignal(seeds, "client", "gui-hide", RetainedVisibilitySignal{"ok_button", false});
    AddSignal(seeds, "client", "gui-tree-request", DebugTreeRequestSignal{"tree", 1});
    AddSignal(seeds, "client", "gui-hotkey", RetainedHotKeySignal{"mission", "ok_button", "KEY_F5", "accept"});
    GridSignal grid{kFirstShip, "tern frigate", "the crew's main ship", "tern_frigate", 1.0f, 12, 8, 1, {}};
    grid.objects.push_back({kGridObject, "Ensign Reyes", "crew_1", "crew", 0, {2, 3, 3, 3, 4, 3}});
    grid.objects.push_back({kGridObject + 1, "damage control", "dcp_1", "dcp", 1, {6, 2}});
    AddSignal(seeds, "client", "grid", grid);
    AddSignal(seeds, "client", "grid-deleted", DeleteGridSignal{"tern_frigate", kFirstShip});
    AddSignal(seeds, "client", "grid-object-deleted", GridObjectDeletedSignal{kGridObject, kFirstShip});
    AddSignal(seeds, "client", "speech-bubble", SpeechBubbleSignal{kStation, 5, "#ff0", "Requesting docking"});
    AddSignal(seeds, "client", "screen-size-query", ScreenSizeQuerySignal{});
    AddSignal(seeds, "client", "widget-list", WidgetListSignal{"helm", "helm_simple^throttle^ship_data"});
    GuiBoxSetRectSignal box;
    box.widgetName = "throttle";
    const float rects[8] = {10, 10, 50, 90, 5, 10, 45, 90};
    std::copy(std::begin(rects), std::end(rects), box.rects);
    AddSignal(seeds, "client", "box-rects", box);
    AddSignal(seeds, "client", "world-sound", SoundEventSignal{"SD", 100.0f, 0.0f, -250.0f});
    AddSignal(seeds, "client", "widget-box-query", WidgetBoxStateQuerySignal{"throttle", 1});
    AddNavigationSignalSeeds(seeds);
    AddPresentationSignalSeeds(seeds);
}

// A seed whole for the target of every message, and its body for the
// target of its name.
void AddMessage(std::vector<FuzzSeed>& seeds, const std::string& name, const std::string& target,
                const Bytes& message)
{
    ASSERT_GE(message.size(), kKeySize) << name << " was not sent";
    seeds.push_back({"client_messages", name, Framed(message)});
    seeds.push_back({target, name, Framed(Bytes(message.begin() + kKeySize, message.end()))});
}

// What a server sends about a ship: its full object, its data set and its
// motion, as the server's own passes write them.
void AddReplicationSeeds(std::vector<FuzzSeed>& seeds)
{
    RegisterBehaviourHooks();
    qeltest::CapturingServer network;
    QelNetworkFactoryBase* const savedFactory = gNetworkFactory;
    gNetworkFactory = &network;
    {
        Simulation world;
        world.Reset(true, "");
        world.paused = false;
        CorvaneServer server{CorvaneServer::Settings{}};
        gServer = &server;
        server.SetWorld(&world);
        network.down = true;
        server.StartHosting();
        network.down = false;
        server.HandleClientConnect(kConsole);
        const uint64_t ship = world.CreateSpaceObject("behav_playership", "tern_frigate", 0);
        server.FindClient(kConsole)->shipId = ship;
        SpaceObject& object = *world.GetSpaceObject(ship);
        world.RepositionSpaceObject(&object, 120.0f, 0.0f, -80.0f);
        object.cur_speed = 2.5f;
        server.SendFullObject(object, {kConsole}, ServerMessageSink::kReliable);
        ObjectDataBlob few;
        few.SetFloat("energy", 812.5f, 0, "a");
        few.SetInt("playerInReverse", 1, 0, "a");
        few.SetString("steeringType", "Free", 0, "a");
        few.SetUInt64("science_target", kStation, 0, "a");
        server.SendBlob(kBlobOfSpaceObject, few, ship, 0, {kConsole}, true);
        for (int frame = 0; frame < 40; ++frame) {
            world.FrameUpdate();
            server.FrameUpdate();
            world.Tick();
            server.Tick();
        }
        server.SendBeam("beam", "tern frigate", "meridian", ship, kStation, object.pos, glm::vec3(-2000, 0, 3000), 3);
        gServer = nullptr;
    }
    gNetworkFactory = savedFactory;
    AddMessage(seeds, "fullobject", "client_fullobject", network.First("fullobject"));
    AddMessage(seeds, "objectblob", "client_objectblob", network.First("objectBlob"));
    // One with a record in it: some passes send only the end marker.
    AddMessage(seeds, "spaceobjectupdate", "client_spaceobjectupdate",
               network.First("spaceobjectupdate", kKeySize + SpaceObjectRecord::kSize));
    AddMessage(seeds, "beam", "client_beam", network.First("beam"));
    AddMessage(seeds, "welcome", "client_signal_97", network.First("signal"));
    seeds.pop_back();  // the welcome's body belongs to no target of its own

    // Nothing sends "transient"; its fields, as the console reads them.
    QelNetworkMessage transient;
    transient.WriteInt64(HashMessageName("transient"));
    transient.WriteInt32(1).WriteInt32(2).WriteInt64(kFirstShip).WriteInt64(kStation);
    transient.WriteInt32(3).WriteInt32(4).WriteInt32(5).WriteString("flash").WriteInt64(0);
    AddMessage(seeds, "transient", "client_transient", BytesOf(transient));
}

// A RIFF/WAVE file at 8000 frames a second of the format and the samples.
Bytes Wave(uint16_t formatTag, uint16_t channels, uint16_t bits, const Bytes& samples)
{
    QelNetworkMessage file;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    file.WriteBytes("RIFF", 4).WriteInt32(static_cast<int32_t>(4 + 8 + 16 + 8 + samples.size()));
    file.WriteBytes("WAVEfmt ", 8).WriteInt32(16).WriteInt16(formatTag).WriteInt16(channels);
    file.WriteInt32(8000).WriteInt32(8000 * blockAlign).WriteInt16(blockAlign).WriteInt16(bits);
    file.WriteBytes("data", 4).WriteInt32(static_cast<int32_t>(samples.size()));
    file.WriteBytes(samples.data(), static_cast<int32_t>(samples.size()));
    return BytesOf(file);
}

// A document of the main ship list with its first hulls only, written back.
Hjson::Value ShortShipList(size_t hulls)
{
    const std::filesystem::path file = QEL_SOURCE_DIR "/data/shipData.yaml";
    std::ifstream stream(file, std::ios::binary);
    const Hjson::Value full = Hjson::Unmarshal(std::string(std::istreambuf_iterator<char>(stream), {}));
    Hjson::Value list(Hjson::Type::Vector);
    for (size_t i = 0; i < hulls && i < full["#ship-list"].size(); ++i)
        list.push_back(full["#ship-list"][static_cast<int>(i)]);
    Hjson::Value root(Hjson::Type::Map);
    root["#ship-list"] = list;
    return root;
}

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void AddDataSeeds(std::vector<FuzzSeed>& seeds)
{
    const Hjson::Value ships = ShortShipList(5);
    seeds.push_back({"ship_list", "main-list-head", BytesOf(Hjson::Marshal(ships))});
    seeds.push_back({"ship_data_rewrite", "main-list-head", BytesOf(Hjson::Marshal(ships))});
    seeds.push_back({"hjson", "ship-list", BytesOf(Hjson::MarshalJson(ShortShipList(2)))});
    Hjson::Value sample(Hjson::Type::Map);
    sample["name"] = "First Watch";
    sample["count"] = 3;
    sample["scale"] = 0.25;
    sample["flags"] = Hjson::Value(Hjson::Type::Vector);
    sample["flags"].push_back(true);
    sample["flags"].push_back(nullptr);
    sample["text"] = "two\nlines";
    seeds.push_back({"hjson", "sample", BytesOf(Hjson::Marshal(sample))});

    const std::filesystem::path preferences = QEL_SOURCE_DIR "/data/preferences.yaml";
    const Bytes text = FileBytes(preferences);
    seeds.push_back({"preferences", "shipped",
                     BytesOf(Hjson::Marshal(Hjson::Unmarshal(std::string(text.begin(), text.end()))))});

    seeds.push_back({"tiny_yaml", "description", FileBytes(QEL_SOURCE_DIR "/tests/fixtures/yaml/description.yaml")});

    ShipData shipData;
    ShipData::LoadDocument(shipData.mainRecords, shipData.mainKeys, ships, "shipData");
    QelNetworkMessage record;
    ShipData::PackRecordToMessage(*shipData.mainKeys.at("tern_frigate"), record);
    seeds.push_back({"ship_record", "tern-frigate", BytesOf(record)});
    // The same record as the answer to a console's request (code 65).
    QelNetworkMessage answer;
    answer.WriteInt64(HashMessageName("signal"));
    WriteSignalCode(answer, SIGNAL_MESS_SHIP_RECORD);
    ShipData::PackRecordToMessage(*shipData.mainKeys.at("tern_frigate"), answer);
    seeds.push_back({"client_messages", "signal-ship-record", Framed(BytesOf(answer))});
    seeds.push_back({"client_signal_65", "ship-record", Framed(BytesOf(answer, kSignalPrefixSize))});

    qeltest::TempFolder folder;
    QelSettingsFile settings(folder.Path());
    settings.Set("ambientVolume", "0.6");
    settings.Set("clientMachineName", "bridge\\left\nconsole");
    seeds.push_back({"settings_file", "volume-and-name", FileBytes(folder.Path() / "qelEngine.cfg")});

    WriteClientStringFile(folder.Path() / "strings.txt", {{"callsign", "Tern One"}, {"last_sector", "4 b"}});
    seeds.push_back({"client_string_file", "two-entries", FileBytes(folder.Path() / "strings.txt")});

    QelPixelImage image;
    image.Resize(3, 2);
    image.SetPixel(0, 0, 1.0f, 1.0f, 0.5f, 0.0f);
    image.SetPixel(2, 1, 0.5f, 0.0f, 0.25f, 1.0f);
    image.SavePNG(folder / "image.png");
    seeds.push_back({"image_file", "three-by-two", FileBytes(folder.Path() / "image.png")});
    Bytes raw = {3, 0, 0, 0, 2, 0, 0, 0};
    raw.insert(raw.end(), image.Data(), image.Data() + image.ByteCount());
    seeds.push_back({"raw_image", "three-by-two", raw});

    const char* const styles[] = {"tag:ok_button;kind:button;text:OK;left:10;top:80;right:30;bottom:90",
                                  "$label:a,b;c;range:5,1;color:rgb(1,2,3);font:gui-2", "text:`a;b`,c(d,e)"};
    for (size_t i = 0; i < std::size(styles); ++i)
        seeds.push_back({"style_string", "style-" + std::to_string(i), BytesOf(styles[i])});
    const char* const bursts[] = {
        "count:20,30;speed:0.5,2;color:#ff8020,#ffe080;lifespan:20,40;size:4,9;image_cell:8",
        "count:12;smoke:True;shape:ring_y;align:True;offset:0,0,-40;speed:1;color:grey;lifespan:60;size:12;delay:0,5",
        "count:40;shape:hull;speed:0.2;color:rgb(80,160,255);lifespan:15;size:3;image_cell:4,7"};
    for (size_t i = 0; i < std::size(bursts); ++i)
        seeds.push_back({"particle_burst", "burst-" + std::to_string(i), BytesOf(bursts[i])});
    seeds.push_back({"face_description", "four-parts",
                     BytesOf("head #e6b594 0 0;eyes white 1 0;iris #3a78b8 1 0 0 -3;hair #4a2e1c 0 1")});

    {
        // The game writes the file from its table; the table comes from a
        // user's two lines.
        const qeltest::ScopedEnv dataFolder("QEL_DATA_DIR", folder.Path().string());
        folder.Write("hot_key_settings.txt", "OPT_toggle_log | KEY_F7 | show or hide the console log\n"
                                             "GUI_WIDGET_fire | KEY_SPACE NOT KEY_SHIFT | fire\n");
        KeyVal::Unload();
        KeyVal::Load();
        KeyVal::Save();
        KeyVal::Unload();
        seeds.push_back({"hot_key_file", "two-keys", FileBytes(folder.Path() / "hot_key_settings.txt")});
    }

    {
        // The file the game writes with two presets changed from the defaults.
        EngineeringValueSet presets;
        presets.presets[1].power[2] = 3.0f;
        presets.presets[1].power[6] = 0.5f;
        presets.presets[4].coolant = {2, 3, 0, 1};
        seeds.push_back({"engineering_presets", "two-changed", BytesOf(presets.FileText())});
    }

    ControllerInputRecord stick("Bridge Stick", 4);
    stick.axisLabelList = {"Yaw", "Pitch", "Roll", "Throttle"};
    stick.buttonLabelList = {"fire", "dock"};
    stick.axisAssignments[0] = "Yaw";
    stick.axisAssignments[3] = "Throttle";
    stick.axisSigns[3] = -1;
    stick.axisDeadZones[0] = 0.1f;
    stick.buttonActions[0] = "fire";
    stick.hatActions[2] = "dock";
    seeds.push_back({"controller_mapping", "bridge-stick", BytesOf(stick.ToBytes())});

    for (const auto& [name, wave] : {std::pair{"pcm16-mono", Wave(1, 1, 16, {0, 0, 0x40, 0x1F, 0xC0, 0xE0})},
                                     std::pair{"pcm8-stereo", Wave(1, 2, 8, {0x80, 0x90, 0x70, 0xFF})},
                                     std::pair{"float-mono", Wave(3, 1, 32, {0, 0, 0, 0x3F, 0, 0, 0, 0xBF})}})
        seeds.push_back({"wav_file", name, wave});

    Bytes answers;
    AppendFuzzFrame(answers, 0, 0, LanServerDiscovery::BuildAnswer("192.168.1.20", "Bridge One"));
    AppendFuzzFrame(answers, 0, 0, LanServerDiscovery::BuildAnswer("192.168.1.21", ""));
    AppendFuzzFrame(answers, 0, 0, LanServerDiscovery::BuildAnswer("192.168.1.22", "Bridge One"));
    seeds.push_back({"discovery_answer", "three-answers", answers});

    const char* const colours[] = {"aliceblue", "#f01", "#ff000080", "rgb(255, 128, 0)", "hsl(120, 100%, 50%)",
                                   "0.5 0.25 1.0 0.5"};
    for (size_t i = 0; i < std::size(colours); ++i)
        seeds.push_back({"colour_text", "form-" + std::to_string(i), BytesOf(colours[i])});
    const char* const names[] = {"missions/first_watch/script.py", "graphics\\fonts\\sans.ttf", "./audio//beep"};
    for (size_t i = 0; i < std::size(names); ++i)
        seeds.push_back({"data_name", "name-" + std::to_string(i), BytesOf(names[i])});
}

std::vector<FuzzSeed> MakeFuzzSeeds()
{
    std::vector<FuzzSeed> seeds;
    AddServerSeeds(seeds);
    AddClientSignalSeeds(seeds);
    AddReplicationSeeds(seeds);
    AddDataSeeds(seeds);
    return seeds;
}

const std::filesystem::path kSeedFolder = QEL_SOURCE_DIR "/tests/fuzz";

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Writing()
{
    const char* write = std::getenv("QEL_WRITE_FUZZ_SEEDS");
    return write != nullptr && std::string(write) == "1";
}

TEST(FuzzSeeds, every_seed_is_what_the_game_writes_today)
{
    const std::vector<FuzzSeed> seeds = MakeFuzzSeeds();
    ASSERT_FALSE(seeds.empty());
    for (const FuzzSeed& seed : seeds) {
        const std::filesystem::path path = kSeedFolder / seed.target / ("seed-" + seed.name);
        if (Writing()) {
            std::filesystem::create_directories(path.parent_path());
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(seed.bytes.data()),
                       static_cast<std::streamsize>(seed.bytes.size()));
        }
        EXPECT_TRUE(ReadFile(path) == seed.bytes)
            << path << " is not what the game writes today; run this test with QEL_WRITE_FUZZ_SEEDS=1";
    }
}

// A seed left over from a message or file the game no longer writes would
// send the fuzzer after something that does not exist.
TEST(FuzzSeeds, no_stale_seed_is_kept)
{
    std::set<std::filesystem::path> made;
    for (const FuzzSeed& seed : MakeFuzzSeeds())
        made.insert(kSeedFolder / seed.target / ("seed-" + seed.name));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSeedFolder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.rfind("seed-", 0) == 0) {
            EXPECT_TRUE(made.count(entry.path())) << entry.path() << " is made by no writer any more";
        }
    }
}

}  // namespace
