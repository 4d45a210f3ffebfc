#include "game/script/ServerPresentation.h"

#include "engine/base/QelSoundFactoryBase.h"
#include "game/net/PresentationSignals.h"
#include "game/script/ScriptSignals.h"
#include "game/world/ParticleView.h"

namespace {

constexpr glm::vec4 kMissingSoundColour{1.0f, 0.0f, 0.0f, 1.0f};
const glm::quat kNoTurn{1.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

void ShowParticlesAt(const glm::vec3& position, const std::string& descriptor)
{
    ParticleView* view = theMissionScript.Screen().Particles();
    if (!view)
        return;
    view->AddParticleEvent(position, kNoTurn, descriptor, nullptr);
    zmx::SendSignalToAll(ParticleEventSignal{0, position.x, position.y, position.z, descriptor},
                         ServerMessageSink::kUnreliable);
}

void PlayAudioFileFor(uint64_t clientId, const std::string& fileName, float volume, float pitch)
{
    if (clientId != 0) {
        zmx::SendSignalToClient(clientId, SoundFileSignal{fileName, volume, pitch}, ServerMessageSink::kUnreliable);
        return;
    }
    if (!gSoundFactory)
        return;
    if (!gSoundFactory->SoundFileExists(fileName)) {
        theMissionScript.Print("SFX file not found: " + fileName, kMissingSoundColour);
        return;
    }
    if (QelSound* sound = gSoundFactory->GetSound(fileName))
        sound->Play(volume, pitch, false);
}

void ServerLocalPresentation::PlayJumpSound(int32_t secondsLeft)
{
    theMissionScript.Screen().PlayJumpSound(secondsLeft);
}

void ServerLocalPresentation::StartJumpEffect(int32_t seconds)
{
    theMissionScript.Screen().StartJumpEffect(seconds);
}
