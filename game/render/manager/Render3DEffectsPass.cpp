#include "game/render/manager/Render3DEffectsPass.h"

#include "engine/base/PerSecondCounterMap.h"
#include "game/behaviours/MonsterKeys.h"
#include "game/render/Particle3DInstancedManager.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/ProcRing3DManager.h"
#include "game/render/Ribbon3DManager.h"
#include "game/world/DataKey.h"
#include "game/world/SpaceObject.h"

void Render3DEffectsPass::DrawEffectEvents(Render3D& target)
{
    target.DrawEffectEvents();
}

// A monster's particle aura; the view draws its bodies and name tag.
void Render3DEffectsPass::DrawMonster(Render3D& target, const SpaceObject& monster)
{
    target.EmitObjectParticles(monster, ReadString(monster.data_set, monster::kParticleColor1),
                               ReadString(monster.data_set, monster::kParticleColor2),
                               ReadString(monster.data_set, monster::kParticleColor3));
}

// One draw call a manager; the rings are queued anew every frame.
void Render3DEffectsPass::DrawParticles(const glm::mat4& viewMatrix)
{
    if (view.hot_particles) {
        view.hot_particles->Draw(viewMatrix);
        AddPerSecondCounter(static_cast<float>(view.hot_particles->DrawnCount()), "particles/sec");
    }
    if (view.smoke_particles)
        view.smoke_particles->Draw(viewMatrix);
    if (view.dust_particles)
        view.dust_particles->Draw(viewMatrix);
    if (view.ribbons)
        view.ribbons->Draw(viewMatrix);
    if (view.proc_rings) {
        view.proc_rings->Draw(viewMatrix);
        view.proc_rings->ClearQueue();
    }
}

void Render3DEffectsPass::Clear()
{
    view.ClearParticleEffects();
}
