#pragma once
// The keyed values of the space monster, each declared once with the
// sentence its set-up records beside it. Missions drive it through
// "target_pos_x", "target_pos_y", "target_pos_z" and "target_id"; the scene
// renderer reads the body keys.

#include "game/behaviours/BehaviourSupport.h"
#include "game/world/DataKey.h"

namespace monster {

using behaviours::kShownNameTag;

inline constexpr const char* kGeomDoc1 =
    "file name of (1) mesh used for the spinning bits of the monster.  This is a .OBJ file, though you don't have "
    "the .OBJ on the end of this string.";
inline constexpr const char* kGeomDoc2 =
    "file name of (2) mesh used for the spinning bits of the monster.  This is a .OBJ file, though you don't have "
    "the .OBJ on the end of this string.";
inline constexpr const char* kSizeDoc = "a multiplier of the draw size of this geometry.  defaults to 1.";
inline constexpr const char* kParticleColorDoc = "one of the three particle colors of this monster.  defaults to white.";

// The two spinning bodies.
inline constexpr DataKey kBody1Geom{"body_1_geom_filename", kGeomDoc1};
inline constexpr DataKey kBody1Bitmap{"body_1_diffuse_bitmap_file",
    "filename of (1) alternate texture for this monster.  defaults to white."};
inline constexpr DataKey kBody1Color{"body_1_color", "color of the (1) spinning bits of this monster.  defaults to white."};
inline constexpr DataKey kBody1Size{"body_1_size_coeff", kSizeDoc};
inline constexpr DataKey kBody2Geom{"body_2_geom_filename", kGeomDoc2};
inline constexpr DataKey kBody2Bitmap{"body_2_diffuse_bitmap_file",
    "filename of (2) alternate texture for this monster.  defaults to white."};
inline constexpr DataKey kBody2Color{"body_2_color", "color of the (2) spinning bits of this monster.  defaults to white."};
inline constexpr DataKey kBody2Size{"body_2_size_coeff", kSizeDoc};
inline constexpr DataKey kParticleColor1{"particle_color_1", kParticleColorDoc};
inline constexpr DataKey kParticleColor2{"particle_color_2", kParticleColorDoc};
inline constexpr DataKey kParticleColor3{"particle_color_3", kParticleColorDoc};

// Lightning: the deadline of the next strike, its reach, damage, colour (any
// colour text) and the seconds between strikes.
inline constexpr DataKey kLightningTimer{"beamTimer", kPlayDoc};
inline constexpr DataKey kLightningRange{"beamRange", kPlayDoc};
inline constexpr DataKey kLightningDamage{"beamDamage", kPlayDoc};
inline constexpr DataKey kLightningColor{"beamColor", kPlayDoc};
inline constexpr DataKey kLightningCycleTime{"beamCycleTime", kPlayDoc};

// Life and motion.
inline constexpr DataKey kMonsterHealth{"monster_health", "health points left on this monster; zero = dead"};
inline constexpr DataKey kMonsterHealthMax{"monster_health_max", "health points initially on this monster"};
inline constexpr DataKey kMonsterHealRate{"monster_heal_rate", "rate health is fixed on this monster"};
inline constexpr DataKey kMonsterSpeed{"monster_speed", "this monster moves this fast when it moves"};

}  // namespace monster
