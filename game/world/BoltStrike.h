#pragma once
// Beams and lightning striking their target: the shield facing the shooter,
// which the 3D views read to draw the bolt's end and ripple, and the hull's
// sound, which the world raises as a bolt's event begins, so that the server
// passes it on to the consoles whatever its own screen draws.

#include <string>

class Simulation;
class SpaceObject;
struct EffectEventRecord;

// The target's shield facing the shooter.
struct FacingShield {
    bool raised = false;     // up and holding: the bolt ends on the shield shell
    float strength = 0.0f;   // 0..1, share of the facing's full strength
};

// A shield at 0 is down, raised or not; a target without shields has none up.
FacingShield ShieldFacingShooter(const Simulation& world, const SpaceObject& source, const SpaceObject& target);

// "beam" and "lightning": the effect events drawn as a bolt between two objects.
bool IsBoltEffect(const std::string& kind);

// The sound "hull_damage" at the target, at most once in kHullSoundGap ticks,
// when the bolt of the event strikes past the shields; nothing while either
// end is unknown here.
void SoundBoltHit(Simulation& world, const EffectEventRecord& event);
