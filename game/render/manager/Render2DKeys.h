#pragma once
// The keyed values of an object's data set that the 2D radar and the object
// colours read. Those the ship behaviours declare are taken from their
// declarations; the rest, which missions set and nothing in the program
// writes, are declared here.

#include "game/behaviours/NPCShipKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"

namespace radarkeys {

using npcship::kRadarColorOverride;
using npcship::kSurrenderFlag;
using playership::kBeamArcWidth;
using playership::kBeamBarrelAngle;
using playership::kBeamColorA;
using playership::kBeamColorB;
using playership::kBeamColorG;
using playership::kBeamColorR;
using playership::kBeamCount;
using playership::kBeamHullPointX;
using playership::kBeamHullPointY;
using playership::kBeamHullPointZ;
using playership::kBeamRange;
using playership::kCurScanId;
using playership::kCurScanPercent;
using playership::kEliteLowVis;
using playership::kEliteLowVisDistance;
using playership::kEliteMainScnInvis;
using playership::kExtraScanSource;
using playership::kHighInformationShipFlag;
using playership::kIsFighterFlag;
using playership::kNumExtraScanSources;
using playership::kOvergridOffsetX;
using playership::kOvergridOffsetZ;
using playership::kScan;
using shipkeys::kCommsTargetUid;
using shipkeys::kNameTag;
using shipkeys::kNormalTargetUid;
using shipkeys::kScienceTargetUid;
using shipkeys::kShieldCount;
using shipkeys::kShieldMaxVal;
using shipkeys::kShieldsRaisedFlag;
using shipkeys::kShieldVal;
using shipkeys::kWeaponTargetUid;

inline constexpr DataKey kShuttleFlag{"is_shuttle_flag", kPlayDoc};
// Size of a nebula or an asteroid field's art, world units; 0 counts as 1000.
inline constexpr DataKey kDisplaySize{"display_size", kPlayDoc};
// Extra scale of a ship's radar silhouette; 0 counts as 1.
inline constexpr DataKey kLocalScale{"local_scale_coeff", kPlayDoc};
// Cell of the icon sheet a mission's selection marker shows.
inline constexpr DataKey kIconIndex{"icon_index", kPlayDoc};
// Not 0: the radar never picks the object.
inline constexpr DataKey kUnselectable{"unselectable", kPlayDoc};
// Not 0: a ship that offered to surrender shows the surrendered colour.
inline constexpr DataKey kAnnounceSurrenderFlag{"announce_surrender_flag", kPlayDoc};

}  // namespace radarkeys
