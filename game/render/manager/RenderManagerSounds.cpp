// What the screens sound: the ship's engines under a main screen, the world's
// sounds heard by their distance from the ship (and passed on by the server
// to the consoles that hear the world), the rising hum of a jump, and the
// interface's clicks with a slight variation each time.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelSound.h"
#include "engine/base/QelSoundFactoryBase.h"
#include "game/world/DataKey.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/world/AppData.h"
#include "game/world/RandomInt.h"
#include "game/world/Simulation.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A world sound fades out linearly to silence at this distance from the ship.
constexpr float kSoundFadeDistance = 2000.0f;
// Shield hits and beam shots pick one of several recordings and vary a little.
constexpr int kShieldHitVariants = 6;
constexpr int kBeamShotVariants = 4;
// The jump hum starts almost inaudible and far below its pitch; each tick it
// moves this much nearer to its volume and its pitch.
constexpr float kJumpStartRatio = 0.01f;
constexpr float kJumpRestRatio = 0.001f;
constexpr float kJumpPitchPerSecondsLeft = 10.0f;
constexpr float kJumpVolumeStep = 0.01f;
constexpr float kJumpRatioStep = 0.05f;

QelSoundFactoryBase* WorkingSound()
{
    return gSoundFactory && gSoundFactory->IsWorking() ? gSoundFactory : nullptr;
}

float MoveToward(float value, float target, float step)
{
    return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

// One of the numbered recordings of a preference family ("shield_damage_1"
// to "_6"), by a draw of 0..1.
std::string Variant(const char* family, int count, float draw)
{
    const float top = static_cast<float>(count) - 0.00001f;
    const int k = std::clamp(static_cast<int>(std::trunc(std::clamp(draw * top, 0.0f, top))), 0, count - 1);
    return std::string(family) + std::to_string(k + 1);
}

}  // namespace

void RenderManager::UpdateEngineSound()
{
    QelSoundFactoryBase* sound = WorkingSound();
    if (!sound)
        return;
    SpaceObject* ship = GetMainScreenShip(console.consoleName);
    if (!ship) {
        if (!engineBaseSound)
            return;
        engineBaseSound->Stop();
        if (engineToneSound)
            engineToneSound->Stop();
        engineBaseSound = nullptr;
        if (jumpSound)
            jumpSound->Stop();
        return;
    }
    if (!engineBaseSound) {
        engineBaseSound = sound->GetSound("player_engine_1", AppData::GetString("player_engine_loop_base"));
        engineToneSound = sound->GetSound("player_engine_2", AppData::GetString("player_engine_loop_tone"));
        for (QelSound* loop : {engineBaseSound, engineToneSound})
            if (loop)
                loop->Play(AppData::SfxVolume(), 1.0f, true);
    }
    if (engineToneSound)
        engineToneSound->SetFrequencyRatio(ReadFloat(ship->data_set, playership::kPlayerThrottle) / 5.0f + 1.0f);
}

// Every event is handled once, newest first, and leaves the list: heard here
// when this screen shows a ship, and passed on by the server whether or not
// its own screen shows one (what the consoles hear is no matter of the
// server's screen).
void RenderManager::HandleSoundEvents()
{
    if (!theSimulation)
        return;
    std::vector<SoundEvent> events;
    events.swap(theSimulation->soundEvents);
    const bool forward = theSimulation->serverFlag && gServer;
    for (auto event = events.rbegin(); event != events.rend(); ++event) {
        if (const SpaceObject* ship = GetMainScreenShip(console.consoleName))
            PlayWorldSound(*event, glm::distance(ship->pos, event->position));
        if (forward)
            ForwardSoundEvent(*event);
    }
}

void RenderManager::PlayWorldSound(const SoundEvent& event, float distance)
{
    QelSoundFactoryBase* sound = WorkingSound();
    if (!sound)
        return;
    const float gain = std::clamp(1.0f - distance / kSoundFadeDistance, 0.0f, 1.0f);
    std::string key = event.name;
    float volume = gain * AppData::SfxVolume();
    float ratio = 1.0f;
    if (event.name == "SD" || event.name == "PB") {
        const bool shield = event.name == "SD";
        const float r1 = RandomFloat(random_seed, 0.0f, 1.0f);
        const float r2 = RandomFloat(random_seed, 0.0f, 1.0f);
        const float r3 = RandomFloat(random_seed, 0.0f, 1.0f);
        key = shield ? Variant("shield_damage_", kShieldHitVariants, r1)
                     : Variant("player_beam_weapon_shot_", kBeamShotVariants, r1);
        volume = std::clamp(std::clamp(0.95f + r2 * 0.1f, 0.95f, 1.05f) * AppData::SfxVolume() * gain, 0.0f, 1.0f);
        ratio = shield ? std::clamp(0.98f + r3 * 0.04f, 0.98f, 1.02f) : std::clamp(0.99f + r3 * 0.02f, 0.99f, 1.01f);
    }
    // A name no preference gives a file for is no sound of this game.
    const std::string file = AppData::GetString(key);
    if (file.empty())
        return;
    if (QelSound* effect = sound->GetSound(key, file))
        effect->Play(volume, ratio, false);
}

void RenderManager::ForwardSoundEvent(const SoundEvent& event)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", 0);
    WriteSignal(message, SoundEventSignal{event.name, event.position.x, event.position.y, event.position.z});
    for (const auto& [id, record] : gServer->Clients())
        if (record->worldSoundFlag)
            message.recipients.push_back(id);
    if (!message.recipients.empty())
        gServer->SendLocked(message, ServerMessageSink::kUnreliable);
}

QelSound* RenderManager::PlayJumpSound(int32_t count)
{
    QelSoundFactoryBase* sound = WorkingSound();
    if (!sound)
        return nullptr;
    if (!jumpSound)
        jumpSound = sound->GetSound(AppData::GetString("jump_sfx_start"));
    if (!jumpSound)
        return nullptr;
    if (count > 0) {
        if (!jumpSound->IsPlaying()) {
            jumpSoundFrequency = jumpSoundTargetFrequency = kJumpRestRatio;
            jumpSoundVolume = 0.0f;
            jumpSound->Play(0.0f, kJumpStartRatio, true);
        }
        jumpSoundTargetFrequency = kJumpPitchPerSecondsLeft / static_cast<float>(count);
    } else {
        jumpSoundFrequency = jumpSoundTargetFrequency = kJumpRestRatio;
        jumpSoundVolume = 0.0f;
        jumpSound->Stop();
    }
    return jumpSound;
}

void RenderManager::RampJumpSound()
{
    if (!jumpSound || !jumpSound->IsPlaying())
        return;
    jumpSoundVolume = MoveToward(jumpSoundVolume, AppData::SfxVolume(), kJumpVolumeStep);
    jumpSoundFrequency = MoveToward(jumpSoundFrequency, jumpSoundTargetFrequency, kJumpRatioStep);
    jumpSound->SetVolume(jumpSoundVolume);
    jumpSound->SetFrequencyRatio(jumpSoundFrequency);
}
