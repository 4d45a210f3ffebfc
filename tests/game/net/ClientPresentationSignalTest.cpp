// The console's handling of the server's presentation signals and of the
// ship definitions it asked for, without a network: every code reaches its
// service (screen, music, lights, speakers) with the values it carried, a
// refused value applies nothing, and no cut of a payload applies anything.

#include "game/net/ConsoleScreen.h"
#include "game/net/PresentationSignals.h"
#include "game/net/RejectedMessages.h"
#include "game/world/DmxLighting.h"
#include "game/world/ObjectId.h"
#include "game/world/ParticleView.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/net/SignalHookSupport.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/ScreenClient.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScopedGlobal.h"

#include <gmock/gmock.h>

#include <functional>
#include <limits>
#include <sstream>

namespace {

using ::testing::ElementsAre;

constexpr uint64_t kShip = kSpaceObjectIdBit | 9;
constexpr uint64_t kGridObject = kGridObjectIdBit | 9;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Every call the console's screen takes, written down as one line each.
struct RecordingScreen : ConsoleScreen, ParticleView {
    template <typename... Parts>
    void Log(const Parts&... parts)
    {
        std::ostringstream line;
        ((line << parts << ' '), ...);
        std::string text = line.str();
        text.pop_back();
        calls.push_back(text);
    }

    void ClearForNewWorld() override { Log("ClearForNewWorld"); }
    bool HyperWarpShown() const override { return warpShown; }
    void ShowHyperWarp(const std::string& key) override
    {
        warpShown = true;
        Log("ShowHyperWarp", key);
    }
    void HideHyperWarp() override
    {
        warpShown = false;
        Log("HideHyperWarp");
    }
    void ShowHoldMenu(uint64_t subject, uint64_t object, uint64_t extra,
                      const std::vector<std::string>& options) override
    {
        Log("ShowHoldMenu", subject, object, extra, options.size(), options.empty() ? "" : options.back());
    }
    void SetCinematic(const CinematicValues& v) override
    {
        Log("SetCinematic", v.scriptControlsCamera, v.dollyId, v.dollyPos.z, v.targetId, v.targetPos.x);
    }
    void SetAutoCinematicObject(uint64_t id) override { Log("SetAutoCinematicObject", id); }
    void SetOptionsTransparency(bool transparent) override { Log("SetOptionsTransparency", transparent); }
    void AddTextMessage(const std::string& text, const glm::vec4& c) override
    {
        Log("AddTextMessage", text, c.r, c.g, c.b, c.a);
    }
    void AddConsoleLog(const std::string& text, const glm::vec4& c) override { Log("AddConsoleLog", text, c.r, c.g); }
    void SelectInfo(InfoList list, const ConsoleInfoEntry& e) override
    {
        Log("SelectInfo", static_cast<int>(list), e.first, e.second, e.third);
    }
    void AddInfo(InfoList list, const ConsoleInfoEntry& e) override
    {
        Log("AddInfo", static_cast<int>(list), e.first, e.second, e.third);
    }
    void ClearInfoLists() override { Log("ClearInfoLists"); }
    void PlayGuiSound(const std::string& name) override { Log("PlayGuiSound", name); }
    void SetMainViewModes(const std::string& view, const std::string& angle, const std::string& mode) override
    {
        Log("SetMainViewModes", view, angle, mode);
    }
    void SetRadarZoom(float scale) override { Log("SetRadarZoom", scale); }
    void SetSkyBox(const std::string& art) override { Log("SetSkyBox", art); }
    void StartJumpEffect(int32_t seconds) override { Log("StartJumpEffect", seconds); }
    void SetJumpTime(int32_t seconds) override { Log("SetJumpTime", seconds); }
    void SetDamageIndicator(float level) override { Log("SetDamageIndicator", level); }
    ParticleView* Particles() override { return viewSetUp ? this : nullptr; }
    void AddParticleEvent(const glm::vec3& at, const glm::quat& turn, const std::string& descriptor,
                          const SpaceObject* object) override
    {
        Log("AddParticleEvent", at.x, at.y, at.z, turn.w, descriptor, object ? object->uniqueID : 0);
    }
    ParticleEmitters& Emitters() override { return emitters; }

    std::vector<std::string> calls;
    bool warpShown = false;
    bool viewSetUp = true;
    ParticleEmitters emitters;
};

struct RecordingLights : DmxLighting {
    const char* SetChannel(const DmxChannelRequest& r) override
    {
        calls.push_back("SetChannel " + std::to_string(r.channel) + " " + std::to_string(r.behaviour));
        return DmxChannelFault(r);
    }
    std::vector<std::string> calls;
};

// One code as the server writes it, and what the console's services hear.
struct Row {
    const char* name;
    std::function<void(QelNetworkMessage&)> write;
    std::vector<std::string> heard;
};

template <typename Signal>
std::function<void(QelNetworkMessage&)> Writes(Signal signal)
{
    return [signal](QelNetworkMessage& message) { nettest::WriteSignalMessage(message, signal); };
}

CinematicControlSignal Cinematic(uint64_t dolly, float dollyZ, float targetX)
{
    CinematicControlSignal c;
    c.scriptControlsCamera = 1;
    c.dollyId = dolly;
    c.dollyPos[2] = dollyZ;
    c.targetId = 0;
    c.targetPos[0] = targetX;
    return c;
}

// Codes 27 to 30 fill their entries' slots in the order their code keeps.
const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = {
        {"text", Writes(TextMessageSignal{{1, 0.5f, 0, 1}, "Red alert"}), {"screen AddTextMessage Red alert 1 0.5 0 1"}},
        {"comms selection", Writes(CommsSelectionInfoSignal{"A", "B", "C"}), {"screen SelectInfo 0 C A B"}},
        {"comms button", Writes(CommsButtonInfoSignal{"A", "B", "C"}), {"screen AddInfo 0 C B A"}},
        {"grid selection", Writes(GridSelectionInfoSignal{"A", "B", "C"}), {"screen SelectInfo 1 C A B"}},
        {"grid button", Writes(GridButtonInfoSignal{"A", "B", "C"}), {"screen AddInfo 1 C B A"}},
        {"tactical view", Writes(MainScreenViewSignal{"tactical", "front", "first"}),
         {"screen SetMainViewModes tactical front first", "screen SetRadarZoom 0.06"}},
        {"forward view", Writes(MainScreenViewSignal{"forward", "left", "chase"}),
         {"screen SetMainViewModes forward left chase"}},
        {"music set", Writes(MusicFolderSignal{"calm"}), {"music LoadMusicSet calm"}},
        {"tension", Writes(MusicTensionSignal{40.0f}), {"music RaiseMusicTension 40.000000"}},
        {"song", Writes(PlaySongSignal{"music/fanfare"}), {"music PlayNamedSong music/fanfare"}},
        {"sound file", Writes(SoundFileSignal{"gui/beep", 0.5f, 2.0f}), {"sound GetSound gui/beep"}},
        {"missing sound file", Writes(SoundFileSignal{"gui/none", 1, 1}),
         {"screen AddConsoleLog SFX file not found: gui/none 1 0"}},
        {"dmx", Writes(DmxChannelSignal{{12, DMX_BEHAV_SINE, 4, 10, 250}}),
         {"lights SetChannel 12 " + std::to_string(DMX_BEHAV_SINE)}},
        {"burst at a point", Writes(ParticleEventSignal{0, 1, 2, 3, "color:red"}),
         {"screen AddParticleEvent 1 2 3 1 color:red 0"}},
        {"burst on an unknown object", Writes(ParticleEventSignal{kShip | 77, 1, 2, 3, "color:red"}), {}},
        {"sky", Writes(SkyBoxSignal{"sky_nebula"}), {"screen SetSkyBox sky_nebula"}},
        {"damage", Writes(DamageAmountSignal{2.5f}), {"screen SetDamageIndicator 25"}},
        {"heavy damage", Writes(DamageAmountSignal{40.0f}), {"screen SetDamageIndicator 100"}},
        {"warp on", Writes(SuperHyperWarpSignal{"tern_frigate", 1}), {"screen ShowHyperWarp tern_frigate"}},
        {"warp off while off", Writes(SuperHyperWarpSignal{"", 0}), {}},
        {"cinematic", Writes(Cinematic(kShip, 5.0f, -3.0f)),
         {"screen SetCinematic 1 " + std::to_string(kShip) + " 5 0 -3"}},
        {"auto cinematic", Writes(AutoCinematicStarsSignal{kShip}),
         {"screen SetAutoCinematicObject " + std::to_string(kShip)}},
        {"options transparent", Writes(OptionsTransparencySignal{1}), {"screen SetOptionsTransparency 1"}},
        {"options other value", Writes(OptionsTransparencySignal{2}), {"screen SetOptionsTransparency 0"}},
        {"jump effect", Writes(JumpEffectSignal{1234, 6}), {"screen StartJumpEffect 6"}},
        {"jump time", Writes(JumpTimeSignal{9}), {"screen SetJumpTime 9"}},
        {"hold menu", Writes(HoldMenuSignal{kShip, 0, 7, "Hail;Scan;;Dock"}),
         {"screen ShowHoldMenu " + std::to_string(kShip) + " 0 7 3 Dock"}},
    };
    return rows;
}

class ClientPresentationSignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.Reset(false, "");
        sound.soundFiles.insert("gui/beep");
    }

    // What every service heard since the last look, each line named by its service.
    std::vector<std::string> Heard()
    {
        std::vector<std::string> heard;
        for (const std::string& call : std::exchange(screen.calls, {}))
            heard.push_back("screen " + call);
        for (const std::string& call : std::exchange(music.calls, {}))
            heard.push_back("music " + call);
        for (const std::string& call : std::exchange(lights.calls, {}))
            heard.push_back("lights " + call);
        for (const std::string& call : sound.TakeLog())
            heard.push_back("sound " + call);
        return heard;
    }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        nettest::SendToClientHook(signal, &client.Client());
    }

    Simulation world;
    RecordingScreen screen;
    qeltest::RecordingMusic music;
    qeltest::RecordingSound sound;
    RecordingLights lights;
    qeltest::ScreenClient client{screen};
    qeltest::ScopedGlobal<MusicControl> musicGlobal{gMusicControl, music};
    qeltest::ScopedGlobal<QelSoundFactoryBase> soundGlobal{gSoundFactory, sound};
    qeltest::ScopedGlobal<DmxLighting> lightsGlobal{gDmxLighting, lights};
};

TEST_F(ClientPresentationSignalTest, every_code_reaches_its_service_with_what_it_carried)
{
    for (const Row& row : Rows()) {
        screen.warpShown = false;
        QelNetworkMessage message;
        row.write(message);
        nettest::DeliverToClient(message, &client.Client());
        EXPECT_EQ(Heard(), row.heard) << row.name;
    }
    const qeltest::RecordingEffect* beep = sound.Effect("gui/beep");
    ASSERT_NE(beep, nullptr);
    ASSERT_EQ(beep->plays.size(), 1u);
    EXPECT_EQ(beep->plays[0].volume, 0.5f);
}

TEST_F(ClientPresentationSignalTest, no_cut_of_any_payload_applies_anything)
{
    for (const Row& row : Rows()) {
        QelNetworkMessage whole;
        row.write(whole);
        for (int32_t length = 8; length < whole.writeIndex; ++length) {
            QelNetworkMessage cut;
            cut.WriteBytes(whole.Data(), length);
            nettest::DeliverToClient(cut, &client.Client());
            EXPECT_THAT(Heard(), ElementsAre()) << row.name << ", cut at " << length;
        }
    }
}

TEST_F(ClientPresentationSignalTest, no_payload_with_bytes_beyond_it_applies_anything)
{
    for (const Row& row : Rows()) {
        QelNetworkMessage longer;
        row.write(longer);
        longer.WriteInt32(0);
        const uint64_t before = RejectedMessageCount();
        nettest::DeliverToClient(longer, &client.Client());
        EXPECT_THAT(Heard(), ElementsAre()) << row.name;
        EXPECT_EQ(RejectedMessageCount(), before + 1) << row.name;
    }
}

TEST_F(ClientPresentationSignalTest, values_beyond_their_codes_limits_are_refused_and_apply_nothing)
{
    const std::vector<Row> refused = {
        {"empty music set", Writes(MusicFolderSignal{""}), {}},
        {"tension above 100", Writes(MusicTensionSignal{100.5f}), {}},
        {"loud sound", Writes(SoundFileSignal{"gui/beep", 10.0f, 1}), {}},
        {"shrill sound", Writes(SoundFileSignal{"gui/beep", 1, -100.0f}), {}},
        {"DMX channel beyond the table", Writes(DmxChannelSignal{{1024, DMX_BEHAV_SINE, 0, 0, 0}}), {}},
        {"burst on a grid object", Writes(ParticleEventSignal{kGridObject, 0, 0, 0, "x"}), {}},
        {"burst not a number", Writes(ParticleEventSignal{0, kNaN, 0, 0, "x"}), {}},
        {"emitter without descriptor", Writes(AttachedEmitterSignal{3, kShip, 5, ""}), {}},
        {"negative damage", Writes(DamageAmountSignal{-1.0f}), {}},
        {"damage not a number", Writes(DamageAmountSignal{kNaN}), {}},
        {"cinematic dolly a grid object", Writes(Cinematic(kGridObject, 0, 0)), {}},
        {"cinematic target not a number", Writes(Cinematic(0, 0, kNaN)), {}},
        {"endless jump effect", Writes(JumpEffectSignal{1, JumpEffectSignal::kMaxEffectSeconds + 1}), {}},
        {"negative jump time", Writes(JumpTimeSignal{-1}), {}},
        {"hold menu on a grid object", Writes(HoldMenuSignal{kGridObject, 0, 0, "Hail"}), {}},
        {"comms from a grid object", Writes(CommsMessageSignal{kGridObject, "", "t", "red", "b", "red"}), {}},
    };
    for (const Row& row : refused) {
        const uint64_t before = RejectedMessageCount();
        QelNetworkMessage message;
        row.write(message);
        nettest::DeliverToClient(message, &client.Client());
        EXPECT_THAT(Heard(), ElementsAre()) << row.name;
        EXPECT_EQ(RejectedMessageCount(), before + 1) << row.name;
    }
    EXPECT_TRUE(world.commsMessages.empty());
}

TEST_F(ClientPresentationSignalTest, comms_messages_are_kept_with_their_colours_and_arrival_tick_and_chime)
{
    world.clock.time_tick_counter = 420;
    Send(CommsMessageSignal{kShip, "head #e6b594 0 0", "Depot", "yellow", "Dock at once.", "#00ff00"});
    ASSERT_EQ(world.commsMessages.size(), 1u);
    const CommsMessageRecord& record = world.commsMessages[0];
    EXPECT_EQ(record.sourceId, kShip);
    EXPECT_EQ(record.title + "|" + record.body + "|" + record.face, "Depot|Dock at once.|head #e6b594 0 0");
    EXPECT_EQ(record.bodyColour, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(record.arrivalTick, 420);
    EXPECT_THAT(Heard(), ElementsAre("screen PlayGuiSound gui_tab"));
}

TEST_F(ClientPresentationSignalTest, the_warp_screen_turns_on_once_and_off_once)
{
    Send(SuperHyperWarpSignal{"tern_frigate", 1});
    Send(SuperHyperWarpSignal{"other_hull", 1});  // already on: ignored
    Send(SuperHyperWarpSignal{"", 0});
    Send(SuperHyperWarpSignal{"", 0});  // already off: nothing
    EXPECT_THAT(Heard(), ElementsAre("screen ShowHyperWarp tern_frigate", "screen HideHyperWarp"));
}

TEST_F(ClientPresentationSignalTest, particles_follow_known_objects_and_emitters_live_under_the_servers_ids)
{
    const uint64_t id = world.CreateSpaceObject("", "", 0);
    SpaceObject* ship = world.GetSpaceObject(id);
    ship->pos = glm::vec3(100, 0, -50);
    ship->rot_quat = glm::quat(0.0f, 0.0f, 1.0f, 0.0f);
    Send(ParticleEventSignal{id, 1, 2, 3, "color:blue"});
    EXPECT_THAT(Heard(), ElementsAre("screen AddParticleEvent 100 0 -50 0 color:blue " + std::to_string(id)));

    Send(AttachedEmitterSignal{41, id, 5, "color:blue"});
    EXPECT_TRUE(screen.emitters.Exists(41));
    Send(AttachedEmitterSignal{41, 0, 0, AttachedEmitterSignal::kDeleteDescriptor});
    EXPECT_FALSE(screen.emitters.Exists(41));

    // Without a 3D view set up, neither reaches anything.
    screen.viewSetUp = false;
    Send(ParticleEventSignal{0, 1, 2, 3, "color:blue"});
    Send(AttachedEmitterSignal{42, id, 5, "color:blue"});
    EXPECT_THAT(Heard(), ElementsAre());
    EXPECT_FALSE(screen.emitters.Exists(42));
}

TEST_F(ClientPresentationSignalTest, a_new_game_or_a_new_connection_clears_what_the_screen_kept)
{
    Send(NewSimulationSignal{});
    EXPECT_THAT(Heard(), ElementsAre("screen ClearForNewWorld"));
    Send(ConnectResetSignal{});
    EXPECT_THAT(Heard(), ElementsAre("screen ClearInfoLists")) << "the earlier server's comms and engineering info";
}

// A definition the console asked for joins its ship definitions; one that
// breaks its wire form is dropped whole and reported.
TEST_F(ClientPresentationSignalTest, a_ship_record_from_the_server_joins_the_definitions)
{
    ShipData& ships = ShipData::Instance();
    ShipDataRecord record;
    record.key = "wire_test_cutter";
    QelNetworkMessage whole;
    whole.WriteInt64(HashMessageName("signal"));
    WriteSignalCode(whole, SIGNAL_MESS_SHIP_RECORD);
    ShipData::PackRecordToMessage(record, whole);

    const uint64_t rejected = RejectedMessageCount();
    for (int32_t length = 10; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        nettest::DeliverToClient(cut, &client.Client());
    }
    EXPECT_EQ(ships.extraKeys.count("wire_test_cutter"), 0u);
    EXPECT_GT(RejectedMessageCount(), rejected);

    nettest::DeliverToClient(whole, &client.Client());
    ASSERT_EQ(ships.extraKeys.count("wire_test_cutter"), 1u);
    EXPECT_EQ(ships.extraKeys.at("wire_test_cutter")->key, "wire_test_cutter");
}

}  // namespace
