// A console forgets the objects the server stopped telling it about: one
// that left its ship's sight is dropped once its last update is older than
// the decay delay, while those still in sight, and static ones, stay.

#include "tests/game/net/loopback/ReplicationHarness.h"

namespace {

using nettest::ReplicationFixture;

class ContactDecayTest : public ReplicationFixture {
protected:
    static constexpr int32_t kDecayDelay = 100;
    ContactDecayTest() { contactDecayDelay = kDecayDelay; }

    bool ConsoleHolds(const SpaceObject* object) const { return ClientObject(object->uniqueID) != nullptr; }
};

TEST_F(ContactDecayTest, an_object_that_left_sight_is_forgotten_and_those_in_sight_or_static_are_kept)
{
    SpaceObject* ship = AddServerObject({0.0f, 0.0f, 0.0f});
    SpaceObject* companion = AddServerObject({500.0f, 0.0f, 0.0f});
    SpaceObject* leaving = AddServerObject({-500.0f, 0.0f, 0.0f});
    SpaceObject* beacon = AddServerObject({0.0f, 0.0f, 800.0f}, SpaceObject::kStaticBit);
    AssignShip(ship->uniqueID);
    ASSERT_TRUE(TickUntil([&] {
        return ConsoleHolds(ship) && ConsoleHolds(companion) && ConsoleHolds(leaving) && ConsoleHolds(beacon);
    }));

    // Far beyond the ship's sight, the server sends nothing more of them.
    UseWorld(serverWorld);
    leaving->pos = {10.0f * kVision, 0.0f, 0.0f};
    beacon->pos = {0.0f, 0.0f, 10.0f * kVision};
    const int64_t leftAt = clientWorld.TickCount();
    ASSERT_TRUE(TickUntil([&] { return !ConsoleHolds(leaving); }));
    EXPECT_GT(clientWorld.TickCount() - leftAt, kDecayDelay);
    EXPECT_TRUE(ConsoleHolds(ship));
    EXPECT_TRUE(ConsoleHolds(companion));
    EXPECT_TRUE(ConsoleHolds(beacon));
}

}  // namespace
