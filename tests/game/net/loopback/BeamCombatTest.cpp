// A fight seen from a console: another player ship's beams strike the
// console's ship over a poor link; the console sees the shots, its struck
// shield drain first, and only then its systems take damage.

#include "tests/game/net/loopback/PoorLinkHarness.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/ShipKeys.h"

#include <algorithm>

namespace {

using nettest::PoorLinkFixture;
using nettest::UseWorld;

// Joining takes a handshake, the ship's assignment and a request for it,
// each a round trip that may have to be resent.
constexpr int kJoinTicks = 300;
// Only a broken test waits this long for the shields to fall and the
// systems to be hit: the shooter's volleys come every 16 ticks.
constexpr int kFightTicks = 900;
// The console's ship is struck from astern: its second facing, of 90 points.
constexpr int32_t kSternFacing = 1;

class BeamCombatTest : public PoorLinkFixture {
protected:
    void SetUp() override
    {
        PoorLinkFixture::SetUp();
        PopulateWorld();
        serverWorld.SetEffectBroadcast(server.get());
        serverWorld.SetShipConsoleNotices(server.get());
    }
    void TearDown() override
    {
        serverWorld.SetEffectBroadcast(nullptr);
        serverWorld.SetShipConsoleNotices(nullptr);
        PoorLinkFixture::TearDown();
    }

    // A player ship astern of the console's, its forward beams quick and
    // heavy, aimed at the console's ship.
    uint64_t AddShooter()
    {
        UseWorld(serverWorld);
        const uint64_t id = serverWorld.CreateSpaceObject("behav_playership", "tern_frigate", 0);
        SpaceObject* shooter = ServerObject(id);
        serverWorld.RepositionSpaceObject(shooter, 0.0f, 0.0f, -1000.0f);
        for (int32_t beam = 0; beam < 2; ++beam) {
            WriteFloat(shooter->data_set, playership::kBeamDamage, 60.0f, beam);
            WriteFloat(shooter->data_set, playership::kBeamCycleTime, 0.5f, beam);
        }
        WriteUInt64(shooter->data_set, shipkeys::kWeaponTargetUid, playerShip);
        return id;
    }

    static float SystemDamage(const SpaceObject& ship)
    {
        float sum = 0.0f;
        for (int32_t system = 0; system < 4; ++system)
            sum += ReadFloat(ship.data_set, playership::kSystemDamage, system);
        return sum;
    }
};

TEST_F(BeamCombatTest, the_consoles_ship_sees_the_shots_and_loses_its_shield_before_its_systems)
{
    ASSERT_TRUE(JoinConsole(kJoinTicks));
    const uint64_t shooter = AddShooter();

    bool sawShot = false;
    float lowestShield = 1e9f;
    bool systemsHitFirst = false;
    afterTick = [&] {
        for (const EffectEventRecord& effect : clientWorld.effectEvents)
            sawShot = sawShot || (effect.kind == "beam" && effect.firstId == shooter && effect.secondId == playerShip);
        const SpaceObject* mirror = ConsoleShip();
        if (!mirror)
            return;
        const float shield = ReadFloat(mirror->data_set, shipkeys::kShieldVal, kSternFacing);
        lowestShield = std::min(lowestShield, shield);
        if (SystemDamage(*mirror) > 0.0f && lowestShield > 0.0f)
            systemsHitFirst = true;
    };
    EXPECT_TRUE(PlayUntil(
        [&] { return ConsoleShip() && SystemDamage(*ConsoleShip()) > 0.0f && sawShot; }, kFightTicks));
    EXPECT_TRUE(sawShot);
    EXPECT_LE(lowestShield, 0.0f);
    EXPECT_FALSE(systemsHitFirst);
    // The bow facing was never struck.
    EXPECT_FLOAT_EQ(ReadFloat(ConsoleShip()->data_set, shipkeys::kShieldVal, 0), 120.0f);
}

}  // namespace
