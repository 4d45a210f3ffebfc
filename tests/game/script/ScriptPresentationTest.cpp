// The module functions of zmx that put text before the crew and drive what it
// hears and sees, driven from a running mission: what each sends, to whom and
// how, what it does on the server's own screen, speakers and lights, and the
// arguments it refuses.

#include "ScriptTestSupport.h"

#include "engine/base/QelFontFace.h"
#include "game/net/PresentationSignals.h"
#include "game/world/AppData.h"
#include "game/world/DmxLighting.h"
#include "game/world/ParticleView.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScopedGlobal.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint64_t kConsole = (1ull << 63) | 5;
constexpr uint32_t kReliable = ServerMessageSink::kReliable;
constexpr uint32_t kUnreliable = ServerMessageSink::kUnreliable;

// What the server's own screen was asked to show, and its 3D view's particles
// once the test sets the view up.
struct PresentationScreen : ServerScreen, ParticleView {
    struct Burst {
        glm::vec3 at;
        glm::quat turn;
        std::string descriptor;
        uint64_t objectId;
    };

    void AddTextMessage(const std::string& text, const glm::vec4& colour) override
    {
        textLines.push_back({text, colour});
    }
    void SelectInfo(InfoList list, const ConsoleInfoEntry& entry) override { Info(list) = {entry}; }
    void AddInfo(InfoList list, const ConsoleInfoEntry& entry) override { Info(list).push_back(entry); }
    void SetMainViewModes(const std::string& view, const std::string& angle, const std::string& mode) override
    {
        viewModes = view + "|" + angle + "|" + mode;
    }
    void SetRadarZoom(float scale) override { zoom = scale; }
    void SetSkyBox(const std::string& name) override { sky = name; }
    ParticleView* Particles() override { return viewSetUp ? this : nullptr; }
    void AddParticleEvent(const glm::vec3& at, const glm::quat& turn, const std::string& descriptor,
                          const SpaceObject* object) override
    {
        bursts.push_back({at, turn, descriptor, object ? object->uniqueID : 0});
    }
    ParticleEmitters& Emitters() override { return emitters; }

    std::vector<ConsoleInfoEntry>& Info(InfoList list) { return list == InfoList::Comms ? comms : engineering; }

    std::vector<LoggedLine> textLines;
    std::vector<ConsoleInfoEntry> comms, engineering;
    std::string viewModes;
    float zoom = 1.0f;
    std::string sky;
    bool viewSetUp = true;
    std::vector<Burst> bursts;
    ParticleEmitters emitters;
};

struct RecordingLights : DmxLighting {
    const char* SetChannel(const DmxChannelRequest& request) override
    {
        requests.push_back(request);
        return DmxChannelFault(request);
    }
    std::vector<DmxChannelRequest> requests;
};

// A running mission whose world holds one ship ("obj"), with the server's
// own screen, music, speakers and lights recorded.
class ScriptPresentationTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        WorldMissionTest::SetUp();
        host().SetServerScreen(&screen);
        sound.soundFiles.insert("gui/beep");
        sink.messages.clear();
    }
    void TearDown() override
    {
        host().SetServerScreen(nullptr);
        WorldMissionTest::TearDown();
    }

    std::string Ship() const { return std::to_string(objectId); }
    std::string Console() const { return std::to_string(kConsole); }
    const RecordingMessageSink::Sent& Only()
    {
        EXPECT_EQ(sink.messages.size(), 1u);
        return sink.messages.front();
    }

    PresentationScreen screen;
    qeltest::RecordingMusic music;
    qeltest::ScopedGlobal<MusicControl> publishedMusic{gMusicControl, music};
    RecordingLights lights;
    qeltest::ScopedGlobal<DmxLighting> publishedLights{gDmxLighting, lights};
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> publishedSound{gSoundFactory, sound};
};

// ---- messages and comms ----

TEST_F(ScriptPresentationTest, text_lines_reach_their_consoles_and_the_servers_box)
{
    struct Case {
        std::string call;
        uint64_t to;             // 0: every console; nothing sent when sent is false
        bool sent;
        bool shownOnServer;
    };
    const Case cases[] = {
        {"zmx.send_message_to_player_ship(0, 'red', 'all')", 0, true, true},
        {"zmx.send_message_to_player_ship(" + Ship() + ", 'red', 'ship')", objectId, true, false},
        {"zmx.send_message_to_client(" + Console() + ", 'red', 'console')", kConsole, true, false},
        {"zmx.send_message_to_client(0, 'red', 'server')", 0, false, true},
    };
    for (const Case& c : cases) {
        sink.messages.clear();
        screen.textLines.clear();
        RunScript(c.call);
        ASSERT_EQ(sink.messages.size(), c.sent ? 1u : 0u) << c.call;
        if (c.sent) {
            const TextMessageSignal line = Decode<TextMessageSignal>(sink.messages[0]);
            EXPECT_THAT(line.colour, ElementsAre(1.0f, 0.0f, 0.0f, 1.0f)) << c.call;
            EXPECT_EQ(sink.messages[0].to, c.to) << c.call;
            EXPECT_EQ(sink.messages[0].packetFlags, kReliable) << c.call;
        }
        ASSERT_EQ(screen.textLines.size(), c.shownOnServer ? 1u : 0u) << c.call;
        if (c.shownOnServer) {
            EXPECT_EQ(screen.textLines[0].colour, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
        }
    }
    screen.textLines.clear();
    RunScript("zmx.assign_client_to_ship(0, " + Ship() + ")\nzmx.send_message_to_player_ship(" + Ship() +
              ", 'blue', 'followed')");
    ASSERT_EQ(screen.textLines.size(), 1u) << "the server follows the ship now";
    EXPECT_EQ(screen.textLines[0].text, "followed");
}

TEST_F(ScriptPresentationTest, comms_messages_are_kept_where_the_server_follows_the_ship)
{
    world.Tick();
    RunScript("zmx.send_comms_message_to_player_ship(0, " + Ship() +
              ", 'head #e6b594 0 0', 'Depot', 'yellow', 'Dock now.', '#00ff00')");
    ASSERT_EQ(world.commsMessages.size(), 1u) << "ship 0 and a server following none";
    const CommsMessageRecord& kept = world.commsMessages[0];
    EXPECT_EQ(kept.sourceId, objectId);
    EXPECT_EQ(kept.title + "|" + kept.body + "|" + kept.face, "Depot|Dock now.|head #e6b594 0 0");
    EXPECT_EQ(kept.titleColour, glm::vec4(1.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(kept.bodyColour, glm::vec4(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(kept.arrivalTick, world.TickCount());
    const CommsMessageSignal sent = Decode<CommsMessageSignal>(Only());
    EXPECT_EQ(sent.titleColour + "|" + sent.bodyColour, "yellow|#00ff00") << "colours travel as written";
    EXPECT_EQ(sink.messages[0].to, 0u);

    sink.messages.clear();
    RunScript("zmx.send_comms_message_to_player_ship(" + Ship() + ", 0, '', 'Ship', 'red', 'Only you.', 'red')");
    EXPECT_EQ(world.commsMessages.size(), 1u) << "the server follows no ship";
    EXPECT_EQ(Only().to, objectId);
    EXPECT_EQ(Only().packetFlags, kReliable);
}

TEST_F(ScriptPresentationTest, info_selections_replace_the_list_and_buttons_add_to_it)
{
    RunScript("zmx.assign_client_to_ship(0, " + Ship() + ")\n"
              "zmx.send_comms_selection_info(" + Ship() + ", 'one', 'two', 'three')\n"
              "zmx.send_comms_button_info(" + Ship() + ", 'one', 'two', 'three')\n"
              "zmx.send_comms_button_info(" + Ship() + ", 'four', 'five', 'six')\n"
              "zmx.send_grid_selection_info(" + Ship() + ", 'one', 'two', 'three')\n"
              "zmx.send_grid_button_info(" + Ship() + ", 'one', 'two', 'three')");
    EXPECT_THAT(screen.comms, ElementsAre(ConsoleInfoEntry{"three", "two", "one"}, ConsoleInfoEntry{"two", "one", "three"},
                                          ConsoleInfoEntry{"five", "four", "six"}));
    RunScript("zmx.send_comms_selection_info(" + Ship() + ", 'a', 'b', 'c')");
    EXPECT_THAT(screen.comms, ElementsAre(ConsoleInfoEntry{"c", "b", "a"})) << "a selection replaces the list";
    EXPECT_THAT(screen.engineering,
                ElementsAre(ConsoleInfoEntry{"three", "two", "one"}, ConsoleInfoEntry{"two", "one", "three"}));

    ASSERT_EQ(sink.messages.size(), 6u);
    const auto& m = sink.messages;
    auto wire = [](const auto& s) { return s.a + "," + s.b + "," + s.c; };
    EXPECT_EQ(wire(Decode<CommsSelectionInfoSignal>(m[0])), "two,one,three");
    EXPECT_EQ(wire(Decode<CommsButtonInfoSignal>(m[1])), "three,one,two");
    EXPECT_EQ(wire(Decode<GridSelectionInfoSignal>(m[3])), "two,one,three");
    EXPECT_EQ(wire(Decode<GridButtonInfoSignal>(m[4])), "three,one,two");
    for (const auto& sent : m) {
        EXPECT_EQ(sent.to, objectId);
        EXPECT_EQ(sent.packetFlags, kReliable);
    }
}

// ---- music, sound files and lights ----

TEST_F(ScriptPresentationTest, music_goes_to_a_console_a_ships_consoles_or_the_servers_own_speakers)
{
    RunScript("zmx.set_music_tension(" + Console() + ", 50)\n"
              "zmx.set_music_folder(" + Ship() + ", 'calm')\n"
              "zmx.play_music_file(" + Console() + ", 'music/calm/low/drift')");
    ASSERT_EQ(sink.messages.size(), 3u);
    EXPECT_EQ(Decode<MusicTensionSignal>(sink.messages[0]).tension, 50.0f);
    EXPECT_EQ(Decode<MusicFolderSignal>(sink.messages[1]).name, "calm");
    EXPECT_EQ(Decode<PlaySongSignal>(sink.messages[2]).name, "music/calm/low/drift");
    EXPECT_EQ(sink.messages[1].to, objectId);
    for (const auto& sent : sink.messages)
        EXPECT_EQ(sent.packetFlags, kUnreliable);
    EXPECT_TRUE(music.calls.empty()) << "the server's speakers were not addressed";

    sink.messages.clear();
    RunScript("zmx.set_music_tension(0, 10)\nzmx.set_music_folder(0, 'tense')\nzmx.play_music_file(0, 'cue')");
    EXPECT_THAT(music.calls, ElementsAre("RaiseMusicTension " + std::to_string(10.0f), "LoadMusicSet tense",
                                         "PlayNextMusicTrack", "PlayNamedSong cue"));
    EXPECT_TRUE(sink.messages.empty());

    music.calls.clear();
    music.available = false;
    RunScript("zmx.set_music_tension(0, 90)\nzmx.set_music_folder(0, 'calm')");
    EXPECT_THAT(music.calls, ElementsAre("LoadMusicSet calm")) << "without music the set is only taken";
}

TEST_F(ScriptPresentationTest, sound_files_play_on_the_server_or_one_console)
{
    RunScript("zmx.play_audio_file(0, 'gui/beep', 1, 1)\nzmx.play_audio_file(0, 'missing', 0.5, 2)");
    EXPECT_THAT(sound.TakeLog(), ElementsAre("GetSound gui/beep")) << "a missing file is not asked for";
    const qeltest::RecordingEffect* beep = sound.Effect("gui/beep");
    ASSERT_NE(beep, nullptr);
    ASSERT_EQ(beep->plays.size(), 1u);
    EXPECT_EQ(beep->plays[0].volume, 1.0f);
    EXPECT_EQ(beep->plays[0].frequencyRatio, 1.0f);
    EXPECT_FALSE(beep->plays[0].loop);
    EXPECT_EQ(log.lines.back().text, "SFX file not found: missing");
    EXPECT_EQ(log.lines.back().colour, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(sink.messages.empty());

    RunScript("zmx.play_audio_file(" + Console() + ", 'gui/beep', -0.5, 2.5)");
    const SoundFileSignal sent = Decode<SoundFileSignal>(Only());
    EXPECT_EQ(sent.fileName + " " + std::to_string(sent.volume) + " " + std::to_string(sent.pitch),
              "gui/beep -0.500000 2.500000");
    EXPECT_EQ(Only().to, kConsole);
    EXPECT_EQ(Only().packetFlags, kUnreliable);
}

TEST_F(ScriptPresentationTest, dmx_channels_light_the_server_or_one_console)
{
    RunScript("zmx.set_dmx_channel(0, 3, 2, 10, 0, 255)\nzmx.set_dmx_channel(" + Console() + ", 255, 6, 0, 1, 2)");
    ASSERT_EQ(lights.requests.size(), 1u);
    EXPECT_EQ(lights.requests[0].channel + lights.requests[0].behaviour + lights.requests[0].high, 260);
    const DmxChannelSignal sent = Decode<DmxChannelSignal>(Only());
    EXPECT_EQ(sent.request.channel, 255);
    EXPECT_EQ(sent.request.behaviour, 6);
    EXPECT_EQ(Only().to, kConsole);
    EXPECT_EQ(Only().packetFlags, kUnreliable);
}

// ---- particles ----

TEST_F(ScriptPresentationTest, particles_show_on_the_servers_view_and_every_console)
{
    object().pos = glm::vec3(5.0f, 6.0f, 7.0f);
    object().rot_quat = glm::quat(0.0f, 1.0f, 0.0f, 0.0f);
    RunScript("zmx.particle_at(zmx.vec3(1, 2, 3), 'count:5')\n"
              "zmx.particle_on(obj, 'count:6')\n"
              "zmx.particle_on(None, 'count:7')\n"
              "made = zmx.add_particle_emittor(obj, 30, 'count:8')\n"
              "known = (zmx.particle_emittor_exists(made), zmx.particle_emittor_exists(made + 1))\n"
              "zmx.delete_particle_emittor(made)\n"
              "zmx.delete_particle_emittor(77)");
    ASSERT_EQ(screen.bursts.size(), 2u);
    EXPECT_EQ(screen.bursts[0].at, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(screen.bursts[0].turn, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(screen.bursts[1].at, object().pos);
    EXPECT_EQ(screen.bursts[1].turn, object().rot_quat);
    EXPECT_EQ(screen.bursts[1].objectId, objectId);
    EXPECT_EQ(Eval("(made, known)"), "(3, (True, False))");
    EXPECT_FALSE(screen.emitters.Exists(3));

    ASSERT_EQ(sink.messages.size(), 5u);
    const auto& m = sink.messages;
    const ParticleEventSignal at = Decode<ParticleEventSignal>(m[0]);
    EXPECT_EQ(std::to_string(at.objectId) + " " + std::to_string(at.z) + " " + at.descriptor, "0 3.000000 count:5");
    const ParticleEventSignal on = Decode<ParticleEventSignal>(m[1]);
    EXPECT_EQ(on.objectId, objectId);
    EXPECT_EQ(on.x + on.y + on.z, 0.0f) << "the console takes the object's own place";
    const AttachedEmitterSignal added = Decode<AttachedEmitterSignal>(m[2]);
    EXPECT_EQ(std::tie(added.emitterId, added.objectId, added.lifeSpan, added.descriptor),
              std::make_tuple(uint64_t{3}, objectId, 30, std::string("count:8")));
    EXPECT_TRUE(Decode<AttachedEmitterSignal>(m[3]).Deletes());
    EXPECT_EQ(Decode<AttachedEmitterSignal>(m[4]).emitterId, 77u) << "an emitter the server never had";
    for (size_t i = 0; i < m.size(); ++i) {
        EXPECT_EQ(m[i].to, 0u);
        // A burst lost on the way is gone anyway; a lost emitter would stay
        // or never come, so emitters always arrive.
        EXPECT_EQ(m[i].packetFlags, i < 2 ? kUnreliable : kReliable) << i;
    }
}

TEST_F(ScriptPresentationTest, without_the_servers_3d_view_particles_do_nothing_at_all)
{
    screen.viewSetUp = false;
    RunScript("zmx.particle_at(zmx.vec3(1, 2, 3), 'count:5')\n"
              "zmx.particle_on(obj, 'count:6')\n"
              "made = zmx.add_particle_emittor(obj, 30, 'count:8')\n"
              "zmx.delete_particle_emittor(3)");
    EXPECT_EQ(Eval("(made, zmx.particle_emittor_exists(3))"), "(0, False)");
    EXPECT_TRUE(sink.messages.empty());
}

// ---- sky, beams and the main screen ----

TEST_F(ScriptPresentationTest, sky_beam_damages_and_main_view_for_the_server_or_a_console)
{
    RunScript("zmx.set_sky_box(0, 'sky2')");
    EXPECT_EQ(screen.sky, "sky2");
    EXPECT_TRUE(sink.messages.empty());
    RunScript("zmx.set_sky_box_all('sky3')");
    EXPECT_EQ(screen.sky, "sky3");
    EXPECT_EQ(Decode<SkyBoxSignal>(Only()).artFileName, "sky3");
    EXPECT_EQ(Only().to, 0u);

    sink.messages.clear();
    RunScript("zmx.set_beam_damages(0, 2, 3)");
    EXPECT_EQ(world.playerShipBeamDamageCoeff + 10 * world.npcShipBeamDamageCoeff +
                  100 * world.stationShipBeamDamageCoeff,
              132.0f) << "the station's damage defaults to 1";
    EXPECT_EQ(Only().to, 0u);
    sink.messages.clear();
    RunScript("zmx.set_beam_damages(" + Console() + ", 0.5, 0.5, stationBeamDamage=0.5)");
    EXPECT_EQ(Decode<BeamDamageSignal>(Only()).station, 0.5f);
    EXPECT_EQ(Only().to, kConsole);
    EXPECT_EQ(world.playerShipBeamDamageCoeff, 2.0f) << "a console alone leaves the server's damages";

    sink.messages.clear();
    RunScript("zmx.set_main_view_modes(0, 'lrs', 'front', 'chase')");
    EXPECT_EQ(screen.viewModes, "lrs|front|chase");
    EXPECT_EQ(screen.zoom, 0.01f);
    RunScript("zmx.set_main_view_modes(0, 'info', '', '')");
    EXPECT_EQ(screen.zoom, 0.01f) << "other views leave the zoom";
    RunScript("zmx.set_main_view_modes(" + Console() + ", 'tactical', 'back', 'tracking')");
    const MainScreenViewSignal view = Decode<MainScreenViewSignal>(Only());
    EXPECT_EQ(view.view + "|" + view.cameraAngle + "|" + view.cameraMode, "tactical|back|tracking");
    EXPECT_EQ(Only().packetFlags, kUnreliable);
}

// Every argument is checked before anything changes or is sent; the error
// names the function and the argument.
TEST_F(ScriptPresentationTest, bad_arguments_raise_value_error_naming_the_argument)
{
    const std::string c = Console();
    const std::string ship = Ship();
    struct Case {
        std::string call;
        std::string names;
    };
    const Case cases[] = {
        {"zmx.send_message_to_player_ship(" + c + ", 'red', 'x')", "send_message_to_player_ship: playerID"},
        {"zmx.send_message_to_client(" + ship + ", 'red', 'x')", "send_message_to_client: clientID"},
        {"zmx.send_message_to_client(0, 'red', 'x' * 9000)", "send_message_to_client"},
        {"zmx.send_comms_message_to_player_ship(0, " + c + ", '', '', '', '', '')", "otherID"},
        {"zmx.send_comms_selection_info(0, 'a', 'b', 'c')", "send_comms_selection_info: playerID"},
        {"zmx.send_grid_button_info(" + c + ", 'a', 'b', 'c')", "send_grid_button_info: playerID"},
        {"zmx.set_music_tension(5, 10)", "set_music_tension: ID"},
        {"zmx.set_music_tension(0, 101)", "tensionValue 101 is outside 0..100"},
        {"zmx.set_music_tension(0, float('nan'))", "tensionValue"},
        {"zmx.set_music_folder(0, '')", "set_music_folder: filename is empty"},
        {"zmx.play_music_file(0, '../outside')", "filename \"../outside\" is not a file name inside the data folder"},
        {"zmx.play_audio_file(0, 'gui/beep', 10, 1)", "play_audio_file: volume"},
        {"zmx.play_audio_file(0, 'gui/beep', 1, -100)", "play_audio_file: pitch"},
        {"zmx.play_audio_file(" + ship + ", 'gui/beep', 1, 1)", "play_audio_file: clientID"},
        {"zmx.set_dmx_channel(0, 256, 0, 0, 0, 0)", "set_dmx_channel: channel 256 is outside 0..255"},
        {"zmx.set_dmx_channel(0, 0, 7, 0, 0, 0)", "behavior 7 is outside 0..6"},
        {"zmx.set_dmx_channel(0, 0, 0, -1, 0, 0)", "speed"},
        {"zmx.set_dmx_channel(0, 0, 0, 0, 0, 300)", "high"},
        {"zmx.particle_at(zmx.vec3(float('inf'), 0, 0), 'count:5')", "particle_at: position"},
        {"zmx.particle_at(zmx.vec3(), '')", "particle_at: descriptorString is empty"},
        {"zmx.add_particle_emittor(obj, 3, '')", "add_particle_emittor: descriptorString"},
        {"zmx.set_sky_box(" + ship + ", 'sky')", "set_sky_box: clientID"},
        {"zmx.set_sky_box_all('/etc/sky')", "set_sky_box_all: artFileName"},
        {"zmx.set_beam_damages(0, -1, 1)", "set_beam_damages: playerBeamDamage"},
        {"zmx.set_beam_damages(0, 1, float('inf'))", "npcBeamDamage"},
        {"zmx.set_main_view_modes(" + c + ", 'lrs', '', 'chase')", "set_main_view_modes: cam_angle is empty"},
        {"zmx.set_main_view_modes(7, 'lrs', 'front', 'chase')", "set_main_view_modes: clientID"},
    };
    for (const Case& bad : cases) {
        const std::string error = RunError(bad.call);
        EXPECT_THAT(error, HasSubstr("ValueError")) << bad.call;
        EXPECT_THAT(error, HasSubstr(bad.names)) << bad.call;
    }
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(screen.textLines.empty() && screen.sky.empty() && screen.bursts.empty());
    EXPECT_TRUE(music.calls.empty() && lights.requests.empty());
    EXPECT_EQ(world.playerShipBeamDamageCoeff, 1.0f);

    EXPECT_THAT(RunError("zmx.add_particle_emittor(None, 3, 'count:1')"), HasSubstr("TypeError"));
    EXPECT_THAT(RunError("zmx.set_dmx_channel(0, 1.5, 0, 0, 0, 0)"), HasSubstr("TypeError"));
    EXPECT_THAT(RunError("zmx.send_comms_selection_info(playerID=0, a='a', b='b', c='c')"), HasSubstr("TypeError"))
        << "its parameters have no names";
}

// ---- text measures and preferences ----

// The preferences a mission reads, with the fonts the screens draw with.
class PreferencesTest : public MissionTest {
protected:
    void SetUp() override
    {
        AppData::Unload();
        std::filesystem::create_directories(data.Path() / "graphics/fonts");
        for (const char* font : {"DejaVuSans", "DejaVuSans-Bold"})
            std::filesystem::create_symlink(qeltest::GameDataFolder() / "graphics/fonts" / (std::string(font) + ".ttf"),
                                            std::filesystem::path(data / "graphics/fonts") / (std::string(font) + ".ttf"));
    }
    void TearDown() override { AppData::Unload(); }

    void LoadPreferences(const std::string& more)
    {
        data.Write("preferences.yaml", "serverNetworkPort: 3151\n"
                                       "client-network-mess-per-frame: 200\n"
                                       "server-network-mess-per-frame: 100\n"
                                       "clientContactDecayDelay: 600\n"
                                       "scriptTickDelay: 30\n"
                                       "fonts: [{tag: 'gui-1', filename: 'DejaVuSans', size: 16},\n"
                                       "        {tag: 'gui-2', filename: 'DejaVuSans-Bold', size: 20}]\n"
                                       "large_fonts: [{tag: 'gui-2', filename: 'DejaVuSans-Bold', size: 28}]\n" +
                                           more);
        AppData::Load();
        host().Start("echo");
    }

    const qeltest::TempFolder& data = missions.folder;
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
};

TEST_F(PreferencesTest, text_is_measured_with_the_fonts_of_the_preferences)
{
    LoadPreferences("use_large_fonts: 0\n");
    QelFontFace bold;
    std::string error;
    ASSERT_TRUE(bold.Load(data / "graphics/fonts/DejaVuSans-Bold.ttf", 20, error)) << error;

    EXPECT_EQ(Eval("zmx.get_text_line_width('gui-2', 'Kestrel')"), std::to_string(bold.TextWidth("Kestrel")));
    EXPECT_EQ(Eval("zmx.get_text_line_height('gui-2', 'anything')"), std::to_string(bold.LineHeight()));
    EXPECT_EQ(Eval("zmx.get_text_block_height('gui-2', 'one line', 1000)"), "20");
    EXPECT_EQ(Eval("zmx.get_text_block_height('gui-2', 'two^lines', 1000)"), "40");
    const std::string narrow = std::to_string(bold.TextWidth("alpha beta") - 1);
    EXPECT_EQ(Eval("zmx.get_text_block_height(fontTag='gui-2', textToMeasure='alpha beta', width=" + narrow + ")"),
              "40") << "wrapped at the space";
    EXPECT_EQ(Eval("(zmx.get_text_line_width('gui-9', 'x'), zmx.get_text_line_height('gui-9', 'x'),"
                   " zmx.get_text_block_height('gui-9', 'x', 100))"),
              "(-1, -1, -1)") << "a tag the preferences do not list";
}

TEST_F(PreferencesTest, large_fonts_are_measured_when_the_screens_use_them)
{
    LoadPreferences("use_large_fonts: 1\n");
    EXPECT_EQ(Eval("zmx.get_text_block_height('gui-2', 'one line', 1000)"), "28");
    EXPECT_EQ(Eval("zmx.get_text_line_width('gui-1', 'x')"), "-1");
}

TEST_F(PreferencesTest, preferences_are_read_by_type)
{
    LoadPreferences("tau: 2.9\nname: Kestrel\nlist: [1, 2]\nnothing: null\n");
    EXPECT_EQ(Eval("(zmx.get_preference_int('tau'), zmx.get_preference_float('tau'),"
                   " zmx.get_preference_string('name'), zmx.get_preference_int('scriptTickDelay'))"),
              "(2, 2.9000000953674316, 'Kestrel', 30)");
    EXPECT_THAT(RunError("zmx.get_preference_int('name')"), HasSubstr("RuntimeError"));
    EXPECT_THAT(RunError("zmx.get_preference_string('list')"), HasSubstr("RuntimeError"));
    EXPECT_THAT(RunError("zmx.get_preference_float('absent')"), HasSubstr("KeyError"));
    EXPECT_THAT(RunError("zmx.get_preference_string('nothing')"), HasSubstr("the preferences hold no value"));
    EXPECT_EQ(Eval("(zmx.clear_client_tags(), zmx.add_client_tag(), zmx.query_client_tags())"), "(None, None, None)");
    EXPECT_THAT(RunError("zmx.add_client_tag('x')"), HasSubstr("TypeError"));
}

}  // namespace
}  // namespace scripttest
