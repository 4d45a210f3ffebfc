// The console's "signal" family for what the mission has this machine show,
// play and light: text and comms messages, the info lists, the main screen's
// view and sky, music, sound files, DMX channels, particles, the warp, jump
// and damage effects, the cinematic camera, the options button and the
// radar's hold menu. Each code's values are checked by its reader and handed
// to the service that owns them (the console screen, music control, DMX
// lighting, the sound service); a program without the service ignores it.

#include "engine/base/QelSoundFactoryBase.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/PresentationSignals.h"
#include "game/net/SignalHandling.h"
#include "game/world/DmxLighting.h"
#include "game/world/MusicControl.h"
#include "game/world/ParticleView.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>

namespace {

constexpr glm::vec4 kMissingSoundColour{1.0f, 0.0f, 0.0f, 1.0f};
const glm::quat kNoTurn{1.0f, 0.0f, 0.0f, 0.0f};
// The comms console chimes with this interface sound when a message arrives.
constexpr const char* kCommsArrivalSound = "gui_tab";
// The damage flash: ten points of it per point of damage, up to full.
constexpr float kDamageFlashPerDamage = 10.0f;
constexpr float kFullDamageFlash = 100.0f;

template <typename Signal>
bool Read(QelNetworkMessage& message, Signal& signal)
{
    return ReadSignalOrReport(message, signal, kClientSignalHandler);
}

// 25.
void HandleTextMessage(QelNetworkMessage& message, ConsoleScreen* screen)
{
    TextMessageSignal text;
    if (Read(message, text) && screen) {
        const float* c = text.colour;
        screen->AddTextMessage(text.text, glm::vec4(c[0], c[1], c[2], c[3]));
    }
}

// 26: kept with the mirror's messages, stamped with the tick it came at.
void HandleCommsMessage(QelNetworkMessage& message, ConsoleScreen* screen)
{
    CommsMessageSignal comms;
    if (!Read(message, comms))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (!world)
        return;
    world->commsMessages.push_back(CommsRecordOf(comms, world->TickCount()));
    if (screen)
        screen->PlayGuiSound(kCommsArrivalSound);
}

// 27 to 30: a selection replaces its list, a button adds to it.
template <typename Signal>
void HandleConsoleInfo(QelNetworkMessage& message, ConsoleScreen* screen)
{
    Signal info;
    if (!Read(message, info) || !screen)
        return;
    constexpr auto kList = Signal::kEngineering ? ConsoleScreen::InfoList::Engineering : ConsoleScreen::InfoList::Comms;
    if constexpr (Signal::kSelection)
        screen->SelectInfo(kList, info.Entry());
    else
        screen->AddInfo(kList, info.Entry());
}

// 40: the radar's zoom follows the views that bring one.
void HandleMainScreenView(QelNetworkMessage& message, ConsoleScreen* screen)
{
    MainScreenViewSignal view;
    if (!Read(message, view) || !screen)
        return;
    screen->SetMainViewModes(view.view, view.cameraAngle, view.cameraMode);
    if (const std::optional<float> zoom = RadarZoomOfMainView(view.view))
        screen->SetRadarZoom(*zoom);
}

// 49, 50, 51.
void HandleMusicFolder(QelNetworkMessage& message)
{
    MusicFolderSignal folder;
    if (Read(message, folder) && gMusicControl)
        gMusicControl->LoadMusicSet(folder.name);
}

void HandleMusicTension(QelNetworkMessage& message)
{
    MusicTensionSignal tension;
    if (Read(message, tension) && gMusicControl)
        gMusicControl->RaiseMusicTension(tension.tension);
}

void HandlePlaySong(QelNetworkMessage& message)
{
    PlaySongSignal song;
    if (Read(message, song) && gMusicControl)
        gMusicControl->PlayNamedSong(song.name);
}

// 53: a file this machine lacks is named in its console log.
void HandleSoundFile(QelNetworkMessage& message, ConsoleScreen* screen)
{
    SoundFileSignal sound;
    if (!Read(message, sound) || !gSoundFactory)
        return;
    if (!gSoundFactory->SoundFileExists(sound.fileName)) {
        if (screen)
            screen->AddConsoleLog("SFX file not found: " + sound.fileName, kMissingSoundColour);
        return;
    }
    if (QelSound* played = gSoundFactory->GetSound(sound.fileName))
        played->Play(sound.volume, sound.pitch, false);
}

// 57: the reader has already held the channel to the lighting's tables.
void HandleDmxChannel(QelNetworkMessage& message)
{
    DmxChannelSignal channel;
    if (Read(message, channel) && gDmxLighting)
        gDmxLighting->SetChannel(channel.request);
}

// 63: a burst on an object this console does not know yet is not shown.
void HandleParticleEvent(QelNetworkMessage& message, ConsoleScreen* screen)
{
    ParticleEventSignal burst;
    if (!Read(message, burst) || !screen)
        return;
    ParticleView* view = screen->Particles();
    if (!view)
        return;
    if (burst.objectId == 0) {
        view->AddParticleEvent(glm::vec3(burst.x, burst.y, burst.z), kNoTurn, burst.descriptor, nullptr);
        return;
    }
    Simulation* world = ConsoleMirrorWorld();
    if (const SpaceObject* object = world ? world->GetSpaceObject(burst.objectId) : nullptr)
        view->AddParticleEvent(object->pos, object->rot_quat, burst.descriptor, object);
}

// 64: the console keeps the emitter under the server's id.
void HandleAttachedEmitter(QelNetworkMessage& message, ConsoleScreen* screen)
{
    AttachedEmitterSignal emitter;
    if (!Read(message, emitter) || !screen)
        return;
    ParticleView* view = screen->Particles();
    if (!view)
        return;
    if (emitter.Deletes())
        view->Emitters().Delete(emitter.emitterId);
    else
        view->Emitters().Add(emitter.emitterId, emitter.objectId, emitter.descriptor, emitter.lifeSpan);
}

// 70.
void HandleSkyBox(QelNetworkMessage& message, ConsoleScreen* screen)
{
    SkyBoxSignal sky;
    if (Read(message, sky) && screen)
        screen->SetSkyBox(sky.artFileName);
}

// 79.
void HandleDamageAmount(QelNetworkMessage& message, ConsoleScreen* screen)
{
    DamageAmountSignal damage;
    if (Read(message, damage) && screen)
        screen->SetDamageIndicator(std::min(damage.damage * kDamageFlashPerDamage, kFullDamageFlash));
}

// 80: "on" while the warp shows and "off" while it does not change nothing.
void HandleSuperHyperWarp(QelNetworkMessage& message, ConsoleScreen* screen)
{
    SuperHyperWarpSignal warp;
    if (!Read(message, warp) || !screen)
        return;
    const bool on = warp.onOffFlag != 0;
    if (screen->HyperWarpShown() && !on)
        screen->HideHyperWarp();
    else if (!screen->HyperWarpShown() && on)
        screen->ShowHyperWarp(warp.shipHullKey);
}

// 81.
void HandleCinematicControl(QelNetworkMessage& message, ConsoleScreen* screen)
{
    CinematicControlSignal cinematic;
    if (!Read(message, cinematic) || !screen)
        return;
    const float* dolly = cinematic.dollyPos;
    const float* target = cinematic.targetPos;
    screen->SetCinematic({cinematic.scriptControlsCamera, cinematic.dollyId,
                          glm::vec3(dolly[0], dolly[1], dolly[2]), cinematic.targetId,
                          glm::vec3(target[0], target[1], target[2])});
}

// 82.
void HandleAutoCinematicStars(QelNetworkMessage& message, ConsoleScreen* screen)
{
    AutoCinematicStarsSignal stars;
    if (Read(message, stars) && screen)
        screen->SetAutoCinematicObject(stars.objectId);
}

// 84: transparent only at 1.
void HandleOptionsTransparency(QelNetworkMessage& message, ConsoleScreen* screen)
{
    OptionsTransparencySignal transparency;
    if (Read(message, transparency) && screen)
        screen->SetOptionsTransparency(transparency.onOffFlag == 1);
}

// 85: the server's tick travels along but the effect needs only its length.
void HandleJumpEffect(QelNetworkMessage& message, ConsoleScreen* screen)
{
    JumpEffectSignal jump;
    if (Read(message, jump) && screen)
        screen->StartJumpEffect(static_cast<int32_t>(jump.effectSeconds));
}

// 86.
void HandleJumpTime(QelNetworkMessage& message, ConsoleScreen* screen)
{
    JumpTimeSignal time;
    if (Read(message, time) && screen)
        screen->SetJumpTime(time.seconds);
}

// 99: the options are joined by ';'.
void HandleHoldMenu(QelNetworkMessage& message, ConsoleScreen* screen)
{
    HoldMenuSignal menu;
    if (!Read(message, menu) || !screen)
        return;
    std::vector<std::string> options;
    Tokenize(menu.options, options, ";");
    screen->ShowHoldMenu(menu.subject, menu.object, menu.extra, options);
}

}  // namespace

bool HandleClientPresentationSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    ConsoleScreen* const screen = ClientConsoleScreen(client);
    switch (code) {
    case SIGNAL_MESS_TEXT_MESSAGE: HandleTextMessage(message, screen); return true;
    case SIGNAL_MESS_COMMS_MESSAGE: HandleCommsMessage(message, screen); return true;
    case SIGNAL_MESS_COMMS_SELECTION_INFO: HandleConsoleInfo<CommsSelectionInfoSignal>(message, screen); return true;
    case SIGNAL_MESS_COMMS_BUTTON_INFO: HandleConsoleInfo<CommsButtonInfoSignal>(message, screen); return true;
    case SIGNAL_MESS_GRID_SELECTION_INFO: HandleConsoleInfo<GridSelectionInfoSignal>(message, screen); return true;
    case SIGNAL_MESS_GRID_BUTTON_INFO: HandleConsoleInfo<GridButtonInfoSignal>(message, screen); return true;
    case SIGNAL_MESS_MAIN_SCN_VIEW: HandleMainScreenView(message, screen); return true;
    case SIGNAL_MESS_MUSIC_FOLDER: HandleMusicFolder(message); return true;
    case SIGNAL_MESS_MUSIC_TENSION: HandleMusicTension(message); return true;
    case SIGNAL_MESS_PLAY_SONG: HandlePlaySong(message); return true;
    case SIGNAL_MESS_SFX_FILE: HandleSoundFile(message, screen); return true;
    case SIGNAL_MESS_DMX_CHANNEL: HandleDmxChannel(message); return true;
    case SIGNAL_MESS_PARTICLE_EVENT: HandleParticleEvent(message, screen); return true;
    case SIGNAL_MESS_ATTACHED_EMITTOR: HandleAttachedEmitter(message, screen); return true;
    case SIGNAL_MESS_SKY_BOX: HandleSkyBox(message, screen); return true;
    case SIGNAL_DAMAGE_AMOUNT: HandleDamageAmount(message, screen); return true;
    case SIGNAL_MESS_SUPER_HYPER_WARP: HandleSuperHyperWarp(message, screen); return true;
    case SIGNAL_MESS_CINEMATIC_CONTROL: HandleCinematicControl(message, screen); return true;
    case SIGNAL_MESS_AUTO_CINEMATIC_STARS: HandleAutoCinematicStars(message, screen); return true;
    case SIGNAL_MESS_OPTIONS_TRANSPARENCY: HandleOptionsTransparency(message, screen); return true;
    case SIGNAL_MESS_JUMP: HandleJumpEffect(message, screen); return true;
    case SIGNAL_MESS_JUMP_TIME: HandleJumpTime(message, screen); return true;
    case SIGNAL_MESS_HOLD: HandleHoldMenu(message, screen); return true;
    default: return false;
    }
}
