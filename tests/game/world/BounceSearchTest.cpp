// The bounce step searches only as far around an object as a partner can be.
// On random worlds built to stress that reach (the largest objects, the
// fastest movers, centres far outside their tree leaves, several ticks to a
// frame, behaviours and a mission moving objects in the middle of a tick,
// whether told of damage or by a behaviour, and struck objects whose own
// behaviours move them with no mission to tell),
// every tick must come out bit for bit as with the widest search of the rule:
// the same pairs pushed apart in the same order, the same contacts noted, the
// same draws from the random generator.

#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "helper/CRand.h"

#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using simtest::RecordingScriptSink;
using simtest::ScriptedHook;
using simtest::WorldTest;

struct BounceWorld {
    const char* name;
    uint32_t seed;
    int objects = 400;
    float halfSize = 3000.0f;   // the objects start in this square around the origin
    float largeRadius = 300.0f; // one object in largeEvery is this large; the others 5 to 150
    int largeEvery = 10;
    float fastSpeed = 5.0f;     // every eighth object moves this fast; the others up to 30 a tick
    int ticksPerFrame = 1;      // leaves are rebuilt only at the frame step
    int stackedPairs = 0;       // pairs placed on one centre
    bool thinLeaves = false;    // fat radius 1, where the game gives 2r + 1: leaves no wider than a point
    bool jumps = false;         // behaviours now and then jump their own object thousands of units
    int movesEvery = 0;         // objects set down elsewhere before every so many ticks (0: never)
    bool missionMoves = false;  // damage events whose handler does the same during the tick
    bool behaviourEvents = false; // behaviours raise mission events themselves, as docking and scans do
    bool strikesUnseen = false; // no mission; behaviours strike others, whose damage hooks jump and grow them
};

// What a tick leaves behind, object by object in list order.
struct ObjectState {
    uint64_t id;
    uint32_t x, y, z;  // the position's bits
    std::vector<uint64_t> contacts;
    bool operator==(const ObjectState&) const = default;
};

uint32_t Bits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct Outcome {
    std::vector<std::vector<ObjectState>> ticks;
    size_t contacts = 0;
    int32_t nextRandom = 0;
};

class BounceWorldRun {
public:
    BounceWorldRun(const BounceWorld& shape, bool widest) : shape(shape), random(shape.seed)
    {
        ScriptedHook::EnsureRegistered();
        ScriptedHook::Instance().Reset();
        csrand(shape.seed);
        world.Reset(true, "");
        world.paused = false;
        world.widestBounceSearch = widest;
        if (!shape.strikesUnseen)
            world.SetScriptEventSink(&mission);
        Populate();
        world.FrameUpdate();
        ScriptedHook::Instance().body = [this](SpaceObject* object, int32_t message, void*) {
            if (message == kBehaviourTick)
                Behave(*object);
            else if (message == kBehaviourDamage)
                TakeBlow(*object);
        };
        if (shape.missionMoves || shape.behaviourEvents)
            mission.then = [this](const EventMessage&) { MoveBehindTheWorldsBack(); };
    }
    ~BounceWorldRun() { ScriptedHook::Instance().Reset(); }

    Outcome Play(int tickCount)
    {
        Outcome run;
        for (int tick = 0; tick < tickCount; ++tick) {
            if (tick % shape.ticksPerFrame == 0)
                world.FrameUpdate();
            if (shape.movesEvery > 0 && (tick + 1) % shape.movesEvery == 0)
                MoveBehindTheWorldsBack();
            world.Tick();
            run.ticks.push_back(State());
        }
        for (const SuperContainerObject* object : world.Container()->Objects())
            run.contacts += static_cast<const SpaceObject*>(object)->contactList.size();
        run.nextRandom = crand();
        return run;
    }

private:
    float Uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }
    bool OneIn(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random) == 0; }

    SpaceObject& Any() { return Among(0.0f, 1.0f); }

    // One of the objects between the given shares of the list.
    SpaceObject& Among(float fromShare, float toShare)
    {
        const auto& objects = world.Container()->Objects();
        const auto first = static_cast<size_t>(fromShare * static_cast<float>(objects.size() - 1));
        const auto last = static_cast<size_t>(toShare * static_cast<float>(objects.size() - 1));
        return *static_cast<SpaceObject*>(objects[std::uniform_int_distribution<size_t>(first, last)(random)]);
    }

    SpaceObject& Make(float x, float z, float radius, uint16_t abits)
    {
        SpaceObject& object = *world.GetSpaceObject(world.CreateSpaceObject(simtest::kScriptedBehaviour, "", abits));
        object.exclusion_radius = radius;
        object.fat_radius = shape.thinLeaves ? 1.0f : 2.0f * radius + 1.0f;
        world.RepositionSpaceObject(&object, x, Uniform(-50.0f, 50.0f), z);
        return object;
    }

    void Populate()
    {
        const float h = shape.halfSize;
        for (int i = 0; i < shape.objects; ++i) {
            const float radius = i % shape.largeEvery == 0 ? shape.largeRadius : Uniform(5.0f, 150.0f);
            const uint16_t abits = i % 5 == 0 ? SpaceObject::kStaticBit : 0;
            SpaceObject& object = Make(Uniform(-h, h), Uniform(-h, h), radius, abits);
            object.cur_speed = i % 8 == 0 ? shape.fastSpeed : Uniform(0.0f, 30.0f);
            object.steer_yaw = Uniform(-0.05f, 0.05f);
            object.rot_quat = glm::angleAxis(Uniform(0.0f, 6.28f), glm::vec3(0.0f, 1.0f, 0.0f));
        }
        for (int i = 0; i < shape.stackedPairs; ++i) {
            const SpaceObject& first = Any();
            Make(first.pos.x, first.pos.z, Uniform(5.0f, 150.0f), 0).pos = first.pos;
        }
    }

    // A behaviour now and then jumps its own ship, grows it, or strikes another.
    void Behave(SpaceObject& object)
    {
        if (shape.jumps && OneIn(40))
            object.pos += glm::vec3(Uniform(-4000.0f, 4000.0f), 0.0f, Uniform(-4000.0f, 4000.0f));
        if (OneIn(200))
            object.exclusion_radius = Uniform(100.0f, shape.largeRadius);
        if (shape.missionMoves && OneIn(25))
            world.ApplyDamage(&Any(), 1.0f, &object, 0, object.pos, "", "beam");
        if (shape.behaviourEvents && OneIn(25)) {
            EventMessage docked;
            docked.tag = "docked";
            docked.origin_id = object.uniqueID;
            world.ScriptEvents()->HandleEvent(docked);
        }
        if (shape.strikesUnseen && OneIn(10))
            world.ApplyDamage(&Among(0.5f, 1.0f), 1.0f, &object, 0, object.pos, "", "beam");
    }

    // A struck object is set down elsewhere by its own behaviour: the world
    // hears of it only through the damage it was dealt.
    void TakeBlow(SpaceObject& object)
    {
        if (shape.strikesUnseen)
            SetDownElsewhere(object);
    }

    // Positions written straight into objects, as a mission's script may:
    // their leaves stay where they were until the objects next move. Half
    // are set down on an object that the tick walks before them, which must
    // find them by their old leaves.
    void MoveBehindTheWorldsBack()
    {
        for (int i = 0; i < shape.objects / 20; ++i)
            SetDownElsewhere(Among(0.5f, 1.0f));
    }

    void SetDownElsewhere(SpaceObject& object)
    {
        const glm::vec3 offset{Uniform(-2500.0f, 2500.0f), 0.0f, Uniform(-2500.0f, 2500.0f)};
        object.pos = OneIn(2) ? object.pos + offset : Among(0.0f, 0.5f).pos + offset * 0.05f;
        if (OneIn(4))
            object.exclusion_radius = Uniform(5.0f, shape.largeRadius);
    }

    std::vector<ObjectState> State() const
    {
        std::vector<ObjectState> state;
        for (const SuperContainerObject* base : world.Container()->Objects()) {
            const auto& object = static_cast<const SpaceObject&>(*base);
            state.push_back({object.uniqueID, Bits(object.pos.x), Bits(object.pos.y), Bits(object.pos.z),
                             object.contactList});
        }
        return state;
    }

    BounceWorld shape;
    std::mt19937 random;
    RecordingScriptSink mission;
    Simulation world;
};

constexpr BounceWorld kBounceWorlds[] = {
    {.name = "a crowd pushed into partners beyond its first search", .seed = 10, .objects = 600,
     .halfSize = 4000.0f, .largeRadius = 400.0f, .largeEvery = 2, .stackedPairs = 5, .thinLeaves = true},
    {.name = "a calm sector where objects are now and then set down on others", .seed = 16, .objects = 200,
     .movesEvery = 3},
    {.name = "a mission setting objects down during the tick", .seed = 15, .missionMoves = true},
    {.name = "a mission told by behaviours, setting objects down during the tick", .seed = 17,
     .behaviourEvents = true},
    {.name = "struck objects thrown off by their own behaviours, with no mission", .seed = 18,
     .strikesUnseen = true},
    {.name = "a crowded sector of small ships", .seed = 11, .objects = 600, .halfSize = 6000.0f,
     .fastSpeed = 200.0f, .stackedPairs = 5, .jumps = true, .movesEvery = 1},
    {.name = "giants whose reach passes the widest box", .seed = 12, .objects = 300, .halfSize = 8000.0f,
     .largeRadius = 1600.0f, .fastSpeed = 60.0f, .stackedPairs = 5, .jumps = true, .movesEvery = 1},
    {.name = "fast movers and three ticks to a frame", .seed = 13, .halfSize = 8000.0f, .largeRadius = 500.0f,
     .fastSpeed = 2500.0f, .ticksPerFrame = 3, .stackedPairs = 5, .thinLeaves = true, .jumps = true},
    {.name = "movers faster than the widest box", .seed = 14, .objects = 300, .halfSize = 10000.0f,
     .largeRadius = 400.0f, .fastSpeed = 7000.0f, .ticksPerFrame = 2, .stackedPairs = 3, .movesEvery = 1},
};

void PrintTo(const BounceWorld& world, std::ostream* out)
{
    *out << world.name;
}

// One test a world, so the worlds run side by side.
class BounceSearch : public testing::TestWithParam<BounceWorld> {};

TEST_P(BounceSearch, finds_exactly_the_pairs_the_widest_search_finds_in_the_same_order)
{
    constexpr int kTicks = 60;
    const BounceWorld& shape = GetParam();
    SCOPED_TRACE(shape.name);
    const Outcome narrow = BounceWorldRun(shape, false).Play(kTicks);
    const Outcome widest = BounceWorldRun(shape, true).Play(kTicks);
    ASSERT_EQ(narrow.ticks.size(), widest.ticks.size());
    for (size_t tick = 0; tick < narrow.ticks.size(); ++tick)
        ASSERT_TRUE(narrow.ticks[tick] == widest.ticks[tick]) << "first difference after tick " << tick + 1;
    EXPECT_EQ(narrow.nextRandom, widest.nextRandom) << "the same draws for coinciding centres";
    EXPECT_GT(widest.contacts, 200u) << "the world must make objects touch to test anything";
}

INSTANTIATE_TEST_SUITE_P(RandomWorlds, BounceSearch, testing::ValuesIn(kBounceWorlds),
                         [](const testing::TestParamInfo<BounceWorld>& world) {
                             return "seed_" + std::to_string(world.param.seed);
                         });

// The first push of a tick throws B out of its leaf (a point, with fat radius
// 1) right onto C, which the tick walks next: C's search must still reach B's
// old leaf, though nothing else in the world has strayed from its own.
TEST_F(WorldTest, a_partner_pushed_out_of_its_leaf_is_found_by_the_next_search)
{
    auto thinLeaved = [&](float x, float radius) {
        SpaceObject* object = Make(x, 0.0f, radius);
        object->fat_radius = 1.0f;
        world.RepositionSpaceObject(object, x, 0.0f, 0.0f);
        world.FrameUpdate();
        return object;
    };
    SpaceObject* a = thinLeaved(0.0f, 400.0f);
    SpaceObject* c = thinLeaved(418.0f, 10.0f);
    SpaceObject* b = thinLeaved(5.0f, 10.0f);
    world.Tick();
    // A throws B onto C; C's search finds B and pushes it back towards A;
    // B's own search then meets A and C again. Had C's search missed B, B
    // would have met only C, in its own search.
    const uint64_t aId = a->uniqueID;
    const uint64_t cId = c->uniqueID;
    EXPECT_EQ(b->contactList, (std::vector<uint64_t>{aId, cId, aId, cId}));
    EXPECT_EQ(c->contactList, std::vector<uint64_t>{b->uniqueID});
}

}  // namespace
