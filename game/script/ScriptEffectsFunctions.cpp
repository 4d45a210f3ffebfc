// Module functions of zmx that drive what the crew hears and sees: music,
// sound files, DMX lights, particles, the sky box, the base beam damages and
// the main screen's view. Each sends one "signal", or does the same on the
// server's own screen, speakers and lights.

#include "game/net/PresentationSignals.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ServerPresentation.h"
#include "game/world/DmxLighting.h"
#include "game/world/MusicControl.h"
#include "game/world/ObjectId.h"
#include "game/world/ParticleView.h"
#include "game/world/Simulation.h"

#include <limits>
#include <optional>

namespace zmx {
namespace {

using Vec3 = ScriptValue<glm::vec3>;

constexpr uint32_t kUnreliable = ServerMessageSink::kUnreliable;
constexpr uint32_t kReliable = ServerMessageSink::kReliable;

ServerScreen& Screen()
{
    return theMissionScript.Screen();
}

// The server's 3D view, or null while it is not set up (then the particle
// functions do nothing at all).
ParticleView* View()
{
    return Screen().Particles();
}

MusicControl* AvailableMusic()
{
    return gMusicControl && gMusicControl->MusicAvailable() ? gMusicControl : nullptr;
}

// ---- music ----

// Music goes to a console, to the consoles aboard a ship, or (0) to the
// server's own speakers, which the message does not reach. True when it was
// sent; false when the server plays it itself.
template <typename Signal>
bool SendMusic(uint64_t id, const Signal& signal)
{
    if (VALID_CLIENT(id))
        SendSignalToClient(id, signal, kUnreliable);
    else if (id != 0)
        SendSignalToShip(id, signal, kUnreliable);
    return id != 0;
}

// The tension only ever rises here.
void SetMusicTension(uint64_t ID, float tensionValue)
{
    RequireClientShipOrServer(ID, "set_music_tension", "ID");
    RequireWithin(tensionValue, 0.0f, MusicTensionSignal::kMaxTension, "set_music_tension", "tensionValue");
    if (SendMusic(ID, MusicTensionSignal{tensionValue}))
        return;
    if (MusicControl* music = AvailableMusic())
        music->RaiseMusicTension(tensionValue);
}

// The set's tracks then follow the tension.
void SetMusicFolder(uint64_t ID, const std::string& filename)
{
    RequireClientShipOrServer(ID, "set_music_folder", "ID");
    RequireDataFileName(filename, "set_music_folder", "filename");
    if (SendMusic(ID, MusicFolderSignal{filename}) || !gMusicControl)
        return;
    gMusicControl->LoadMusicSet(filename);
    if (MusicControl* music = AvailableMusic())
        music->PlayNextMusicTrack();
}

void PlayMusicFile(uint64_t ID, const std::string& filename)
{
    RequireClientShipOrServer(ID, "play_music_file", "ID");
    RequireDataFileName(filename, "play_music_file", "filename");
    if (!SendMusic(ID, PlaySongSignal{filename}) && gMusicControl)
        gMusicControl->PlayNamedSong(filename);
}

// ---- sound files and lights ----

void PlayAudioFile(uint64_t clientID, const std::string& filename, float volume, float pitch)
{
    constexpr const char* kName = "play_audio_file";
    RequireClientOrServer(clientID, kName, "clientID");
    RequireDataFileName(filename, kName, "filename");
    RequireBelowInSize(volume, SoundFileSignal::kVolumeBound, kName, "volume");
    RequireBelowInSize(pitch, SoundFileSignal::kPitchBound, kName, "pitch");
    PlayAudioFileFor(clientID, filename, volume, pitch);
}

void SetDmxChannel(uint64_t clientID, int32_t channel, int32_t behavior, int32_t speed, int32_t low, int32_t high)
{
    constexpr const char* kName = "set_dmx_channel";
    RequireClientOrServer(clientID, kName, "clientID");
    RequireWithin(channel, 0, kDmxConfigurableChannels - 1, kName, "channel");
    RequireWithin(behavior, 0, DMX_BEHAV_MAX - 1, kName, "behavior");
    RequireWithin(speed, 0, kDmxMaxLevel, kName, "speed");
    RequireWithin(low, 0, kDmxMaxLevel, kName, "low");
    RequireWithin(high, 0, kDmxMaxLevel, kName, "high");
    const DmxChannelRequest request{channel, behavior, speed, low, high};
    if (clientID != 0)
        SendSignalToClient(clientID, DmxChannelSignal{request}, kUnreliable);
    else if (gDmxLighting)
        gDmxLighting->SetChannel(request);
}

// ---- particles ----

void RequireDescriptor(const std::string& descriptor, const char* function)
{
    RequireText(descriptor, function, "descriptorString");
    CheckTextFits(descriptor, function);
}

void ParticleAt(const Vec3* position, const std::string& descriptorString)
{
    const glm::vec3 at = RequireVector(position, "particle_at");
    RequireFinite(at, "particle_at", "position");
    RequireDescriptor(descriptorString, "particle_at");
    ShowParticlesAt(at, descriptorString);
}

// The burst follows the object's place and turn; without an object nothing
// happens.
void ParticleOn(SpaceObjectRef* spaceObject, const std::string& descriptorString)
{
    RequireDescriptor(descriptorString, "particle_on");
    ParticleView* view = View();
    if (!spaceObject || !view)
        return;
    const SpaceObject& object = spaceObject->Get();
    view->AddParticleEvent(object.pos, object.rot_quat, descriptorString, &object);
    SendSignalToAll(ParticleEventSignal{spaceObject->Id(), 0.0f, 0.0f, 0.0f, descriptorString}, kUnreliable);
}

// The server's view hands out the id; the consoles keep their emitter under
// it. 0 while the view is not set up. Unlike a burst, an emitter lasts, so
// its coming and going are sent reliably: a lost word of either would leave
// a console without it or with a stray one.
uint64_t AddParticleEmittor(SpaceObjectRef* spaceObject, int32_t lifeSpan, const std::string& descriptorString)
{
    const uint64_t objectId = RequireObject(spaceObject, "add_particle_emittor").Get().uniqueID;
    RequireDescriptor(descriptorString, "add_particle_emittor");
    ParticleView* view = View();
    if (!view)
        return 0;
    const uint64_t id = view->Emitters().Add(0, objectId, descriptorString, lifeSpan);
    SendSignalToAll(AttachedEmitterSignal{id, objectId, lifeSpan, descriptorString}, kReliable);
    return id;
}

bool ParticleEmittorExists(uint64_t emittorID)
{
    ParticleView* view = View();
    return view && view->Emitters().Exists(emittorID);
}

// The consoles are told even when the server had no such emitter.
void DeleteParticleEmittor(uint64_t emittorID)
{
    ParticleView* view = View();
    if (!view)
        return;
    view->Emitters().Delete(emittorID);
    SendSignalToAll(AttachedEmitterSignal{emittorID, 0, 0, AttachedEmitterSignal::kDeleteDescriptor}, kReliable);
}

// ---- sky, beams and the main screen ----

void SetSkyBox(uint64_t clientID, const std::string& artFileName)
{
    RequireClientOrServer(clientID, "set_sky_box", "clientID");
    RequireDataFileName(artFileName, "set_sky_box", "artFileName");
    if (clientID == 0)
        Screen().SetSkyBox(artFileName);
    else
        SendSignalToClient(clientID, SkyBoxSignal{artFileName}, kUnreliable);
}

void SetSkyBoxAll(const std::string& artFileName)
{
    RequireDataFileName(artFileName, "set_sky_box_all", "artFileName");
    Screen().SetSkyBox(artFileName);
    SendSignalToAll(SkyBoxSignal{artFileName}, kUnreliable);
}

// A negative base damage would heal what a beam hits.
void RequireBeamDamage(float value, const char* argument)
{
    RequireFinite(value, "set_beam_damages", argument);
    RequireWithin(value, 0.0f, std::numeric_limits<float>::max(), "set_beam_damages", argument);
}

// Client 0 sets the server's own base damages, which the world's beams deal,
// and tells every console; a console alone is told only.
void SetBeamDamages(uint64_t clientID, float playerBeamDamage, float npcBeamDamage, float stationBeamDamage)
{
    RequireClientOrServer(clientID, "set_beam_damages", "clientID");
    RequireBeamDamage(playerBeamDamage, "playerBeamDamage");
    RequireBeamDamage(npcBeamDamage, "npcBeamDamage");
    RequireBeamDamage(stationBeamDamage, "stationBeamDamage");
    const BeamDamageSignal signal{playerBeamDamage, npcBeamDamage, stationBeamDamage};
    if (clientID != 0) {
        SendSignalToClient(clientID, signal, kUnreliable);
        return;
    }
    if (Simulation* world = theMissionScript.World()) {
        world->playerShipBeamDamageCoeff = playerBeamDamage;
        world->npcShipBeamDamageCoeff = npcBeamDamage;
        world->stationShipBeamDamageCoeff = stationBeamDamage;
    }
    SendSignalToAll(signal, kUnreliable);
}

// A console needs all three modes; the server's own screen takes what it is
// given, and the tactical and long-range views bring their radar zoom.
void SetMainViewModes(uint64_t clientID, const std::string& main_screen_view, const std::string& cam_angle,
                      const std::string& cam_mode)
{
    constexpr const char* kName = "set_main_view_modes";
    RequireClientOrServer(clientID, kName, "clientID");
    CheckTextsFit({&main_screen_view, &cam_angle, &cam_mode}, kName);
    if (clientID == 0) {
        Screen().SetMainViewModes(main_screen_view, cam_angle, cam_mode);
        if (const std::optional<float> zoom = RadarZoomOfMainView(main_screen_view))
            Screen().SetRadarZoom(*zoom);
        return;
    }
    RequireText(main_screen_view, kName, "main_screen_view");
    RequireText(cam_angle, kName, "cam_angle");
    RequireText(cam_mode, kName, "cam_mode");
    SendSignalToClient(clientID, MainScreenViewSignal{main_screen_view, cam_angle, cam_mode}, kUnreliable);
}

}  // namespace

void AddEffectsFunctions(FunctionTable& table)
{
    table.Add("set_music_tension", &SetMusicTension,
              "Sets the tension value of ambient music (0-100); ID is ship, OR client, OR zero for server.",
              py::arg("ID"), py::arg("tensionValue"));
    table.Add("set_music_folder", &SetMusicFolder,
              "Sets the folder from which music is streamed; ID is ship, OR client, OR zero for server.",
              py::arg("ID"), py::arg("filename"));
    table.Add("play_music_file", &PlayMusicFile, "Plays a music file now; ID is ship, OR client, OR zero for server.",
              py::arg("ID"), py::arg("filename"));
    table.Add("play_audio_file", &PlayAudioFile,
              "Plays a WAV audio file now, for just the specified client, OR zero for server.", py::arg("clientID"),
              py::arg("filename"), py::arg("volume"), py::arg("pitch"));
    table.Add("set_dmx_channel", &SetDmxChannel, "set a color channel of dmx.", py::arg("clientID"),
              py::arg("channel"), py::arg("behavior"), py::arg("speed"), py::arg("low"), py::arg("high"));
    table.Add("particle_at", &ParticleAt, "emit some particles in space.", py::arg("position"),
              py::arg("descriptorString"));
    table.Add("particle_on", &ParticleOn, "emit some particles in space from a space object.",
              py::arg("spaceObject"), py::arg("descriptorString"));
    table.Add("add_particle_emittor", &AddParticleEmittor,
              "creates a complex particle emittor and attaches it to a space object.", py::arg("spaceObject"),
              py::arg("lifeSpan"), py::arg("descriptorString"));
    table.Add("particle_emittor_exists", &ParticleEmittorExists, "checks for the existance of a particle emittor.",
              py::arg("emittorID"));
    table.Add("delete_particle_emittor", &DeleteParticleEmittor, "deletes a particle emittor by ID.",
              py::arg("emittorID"));
    table.Add("set_sky_box", &SetSkyBox, "sets the skybox art for a clientID (0 = server).", py::arg("clientID"),
              py::arg("artFileName"));
    table.Add("set_sky_box_all", &SetSkyBoxAll, "sets the skybox art for all connected computers.",
              py::arg("artFileName"));
    table.Add("set_beam_damages", &SetBeamDamages,
              "sets the values for player base beam damage, and station base beam damage, and npc base beam damage.  "
              "Per client, or all clients + server (if ID = 0).",
              py::arg("clientID"), py::arg("playerBeamDamage"), py::arg("npcBeamDamage"),
              py::arg("stationBeamDamage") = 1);
    table.Add("set_main_view_modes", &SetMainViewModes,
              "sets the three modes of the main screen view for the specified client.  main_screen_view = (3d_view, "
              "info, data);  cam_angle = (front, back, left, right); cam_mode = (first_person, chase, tracking)",
              py::arg("clientID"), py::arg("main_screen_view"), py::arg("cam_angle"), py::arg("cam_mode"));
}

}  // namespace zmx
