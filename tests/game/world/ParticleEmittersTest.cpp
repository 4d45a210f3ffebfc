// The particle emitters of a 3D view: the ids the server hands out, the
// bursts each fires tick by tick, and when each is dropped.

#include "SimulationTestSupport.h"

#include "game/world/ParticleEmitters.h"

#include <gmock/gmock.h>

namespace simtest {
namespace {

using ::testing::ElementsAre;

class ParticleEmittersTest : public WorldTest {
protected:
    // One tick of the table; the descriptors it fired, in id order.
    std::vector<std::string> Tick()
    {
        std::vector<std::string> fired;
        emitters.Tick(&world, [&](const SpaceObject& object, const std::string& descriptor) {
            EXPECT_EQ(object.uniqueID, shipId);
            fired.push_back(descriptor);
        });
        return fired;
    }

    void SetUp() override
    {
        WorldTest::SetUp();
        shipId = Make(0.0f, 0.0f)->uniqueID;
    }

    ParticleEmitters emitters;
    uint64_t shipId = 0;
};

TEST_F(ParticleEmittersTest, new_emitters_take_ids_from_three_and_a_given_id_replaces_its_emitter)
{
    EXPECT_EQ(emitters.Add(0, shipId, "a", 1), 3u);
    EXPECT_EQ(emitters.Add(0, shipId, "b", 1), 4u);
    EXPECT_EQ(emitters.Add(4, shipId, "c", 1), 4u) << "a console keeps the server's id";
    EXPECT_EQ(emitters.All().at(4).descriptor, "c");
    EXPECT_EQ(emitters.Add(0, shipId, "d", 1), 5u);
    emitters.Delete(3);
    emitters.Delete(99);
    EXPECT_FALSE(emitters.Exists(3));
    EXPECT_TRUE(emitters.Exists(5));
}

TEST_F(ParticleEmittersTest, an_emitter_fires_its_firings_on_as_many_ticks_and_goes_on_the_next)
{
    emitters.Add(0, shipId, "twice", 2);
    emitters.Add(0, shipId, "always", -1);
    EXPECT_THAT(Tick(), ElementsAre("twice", "always"));
    EXPECT_THAT(Tick(), ElementsAre("twice", "always"));
    EXPECT_THAT(Tick(), ElementsAre()) << "the spent emitter is dropped and the pass ends there";
    EXPECT_FALSE(emitters.Exists(3));
    EXPECT_THAT(Tick(), ElementsAre("always"));
}

TEST_F(ParticleEmittersTest, an_emitter_whose_object_stays_missing_is_dropped_after_three_hundred_ticks)
{
    const uint64_t lost = shipId + 1000;  // an object id the world does not hold
    emitters.Add(0, lost, "lost", -1);
    emitters.Add(0, 0, "open space", -1);
    for (int tick = 0; tick < ParticleEmitters::kMaxTicksWithoutObject; ++tick)
        EXPECT_THAT(Tick(), ElementsAre());
    EXPECT_EQ(emitters.All().size(), 2u);
    Tick();
    EXPECT_FALSE(emitters.Exists(3));
    EXPECT_TRUE(emitters.Exists(4)) << "dropped one per tick";
    Tick();
    EXPECT_TRUE(emitters.All().empty());
}

}  // namespace
}  // namespace simtest
