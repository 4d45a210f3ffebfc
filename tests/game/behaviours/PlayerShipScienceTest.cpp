#include "PlayerShipTestSupport.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/ObjectId.h"
#include "game/world/SuperContainer.h"

#include <algorithm>
#include <map>

namespace {

using playershiptest::PlayerShipTest;
using playershiptest::RecordingMission;

// The server's queues, as the science console's commands fill them.
struct FakeScans : ScienceScanSink {
    struct Request {
        uint64_t target;
        std::string type;
        bool operator==(const Request&) const = default;
    };
    bool FirstQueuedScan(uint64_t shipId, uint64_t& targetId, std::string& scanType) override
    {
        const std::vector<Request>& queue = queues[shipId];
        if (queue.empty())
            return false;
        targetId = queue.front().target;
        scanType = queue.front().type;
        return true;
    }
    void DropQueuedScans(uint64_t shipId, uint64_t targetId, const std::string& scanType) override
    {
        std::erase(queues[shipId], Request{targetId, scanType});
    }
    void ScanCompleted(uint64_t targetId, uint64_t shipId) override { completed.emplace_back(targetId, shipId); }
    std::map<uint64_t, std::vector<Request>> queues;
    std::vector<std::pair<uint64_t, uint64_t>> completed;
};

class ScienceTest : public PlayerShipTest {
protected:
    void SetUp() override
    {
        PlayerShipTest::SetUp();
        world.SetScriptEventSink(&mission);
        world.SetScienceScanSink(&scans);
        ship = MakeShip();
        ship->side = "meridian";
        target = MakeShip();
        WriteString(target->data_set, DataKey{"name_tag", ""}, "Vex");
        WriteFloat(ship->data_set, DataKey{"ship_science_scan_range", ""}, 1100.0f);  // a ring of 1000 beyond 100
        WriteFloat(ship->data_set, DataKey{"closest_scan_delay", ""}, 5.0f);
        WriteFloat(ship->data_set, DataKey{"farthest_scan_delay", ""}, 2.0f);
        // The ship's sensors scanned the target as it came near; the tests of
        // the deliberate scans below count only those.
        target->data_set.SetStringByIndexString("scan", "no data", ship->side, "a");
    }
    void TearDown() override
    {
        world.SetScriptEventSink(nullptr);
        world.SetScienceScanSink(nullptr);
        PlayerShipTest::TearDown();
    }
    std::string ScanEntry(const std::string& type) const
    {
        const ObjectDataBlobElement* entry =
            target->data_set.FindElement(HashMessageName(type), ObjectDataBlob::IndexOfString(ship->side));
        return entry ? entry->stringValue : "";
    }
    int PassesUntilEvent(int limit)
    {
        for (int pass = 1; pass <= limit; ++pass) {
            SlowTick(ship);
            if (!mission.events.empty())
                return pass;
        }
        return -1;
    }

    // What the ship itself scanned, in order (the target, a player ship too,
    // scans with its own sensors on the world's slow pass).
    std::vector<uint64_t> ScannedByShip() const
    {
        std::vector<uint64_t> ids;
        for (const EventMessage& event : mission.events)
            if (event.origin_id == ship->uniqueID)
                ids.push_back(event.selected_id);
        return ids;
    }

    RecordingMission mission;
    FakeScans scans;
    SpaceObject* ship = nullptr;
    SpaceObject* target = nullptr;
};

TEST_F(ScienceTest, a_queued_scan_completes_after_its_delay_records_its_result_and_drops_its_twins)
{
    scans.queues[ship->uniqueID] = {{target->uniqueID, "bio"}, {target->uniqueID, "bio"}, {target->uniqueID, "deep"}};
    EXPECT_EQ(PassesUntilEvent(20), 10) << "5 seconds next to the ship, two passes a second";
    EXPECT_EQ(ScanEntry("bio"), "no data");
    EXPECT_EQ(ScanEntry("deep"), "");
    ASSERT_EQ(mission.events.size(), 1u);
    const EventMessage& event = mission.events[0];
    EXPECT_EQ(event.tag, "science_scan_complete");
    EXPECT_EQ(event.origin_id, ship->uniqueID);
    EXPECT_EQ(event.selected_id, target->uniqueID);
    EXPECT_EQ(event.sub_tag, "Vex");
    EXPECT_EQ(event.value_tag, "meridian");
    EXPECT_EQ(event.extra_tag, "bio");
    EXPECT_EQ(event.event_time, world.TickCount());
    EXPECT_EQ(scans.completed, (std::vector<std::pair<uint64_t, uint64_t>>{{target->uniqueID, ship->uniqueID}}));
    EXPECT_EQ(scans.queues[ship->uniqueID], (std::vector<FakeScans::Request>{{target->uniqueID, "deep"}}));
    EXPECT_FLOAT_EQ(Float(ship, "cur_scan_percent"), 1.0f);

    SlowTick(ship);  // the next queued scan starts and takes its first step
    EXPECT_EQ(Text(ship, "cur_scan_type"), "deep");
    EXPECT_EQ(static_cast<uint64_t>(Int(ship, "cur_scan_ID")), target->uniqueID);
    EXPECT_NEAR(Float(ship, "cur_scan_percent"), 0.01f + 0.1f, 1e-5f);
}

TEST_F(ScienceTest, distance_across_the_scanning_ring_blends_the_closest_and_farthest_delays)
{
    struct Case {
        float distance;
        int passes;
    };
    // Delay 5 s next to the ship, 2 s at 1000 and beyond; 500 gives 3.5 s.
    const Case cases[] = {{0.0f, 10}, {500.0f, 7}, {1000.0f, 4}, {50000.0f, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        mission.events.clear();
        WriteFloat(ship->data_set, DataKey{"cur_scan_percent", ""}, 0.0f);
        world.RepositionSpaceObject(target, c.distance, 0.0f, 0.0f);
        scans.queues[ship->uniqueID] = {{target->uniqueID, "level" + std::to_string(c.passes)}};
        EXPECT_EQ(PassesUntilEvent(20), c.passes);
    }
}

TEST_F(ScienceTest, a_scan_whose_target_is_gone_stops_and_an_idle_ship_rests_its_scan)
{
    scans.queues[ship->uniqueID] = {{target->uniqueID, "scan"}};
    SlowTick(ship);
    EXPECT_GT(Float(ship, "cur_scan_percent"), 0.0f);
    scans.queues[ship->uniqueID].clear();
    world.DeleteSpaceObject(target->uniqueID);
    SlowTick(ship);
    EXPECT_EQ(Int(ship, "cur_scan_ID"), 0);
    EXPECT_FLOAT_EQ(Float(ship, "cur_scan_percent"), 0.0f);
    SlowTick(ship);
    EXPECT_EQ(Text(ship, "cur_scan_type"), "scan");
    EXPECT_EQ(Int(ship, "cur_scan_ID"), 0);

    // A script's scan of a number that is no object's id, or of another
    // kind's id, ends the same way.
    for (const uint64_t id : {uint64_t{987654}, kClientIdBit | 501}) {
        WriteUInt64(ship->data_set, DataKey{"cur_scan_ID", ""}, id);
        WriteFloat(ship->data_set, DataKey{"cur_scan_percent", ""}, 0.5f);
        SlowTick(ship);
        EXPECT_EQ(Int(ship, "cur_scan_ID"), 0) << id;
        EXPECT_FLOAT_EQ(Float(ship, "cur_scan_percent"), 0.0f) << id;
    }
    EXPECT_TRUE(mission.events.empty());
    EXPECT_TRUE(scans.completed.empty());
}

// The ship's own sensors: what its side has not scanned within 5000 is
// scanned at once, once, and the mission hears of it.
TEST_F(ScienceTest, the_sensors_scan_each_visible_object_within_range_once_for_the_side)
{
    SpaceObject* near = MakeObject("behav_none", 4000.0f, 0.0f, 0);
    SpaceObject* far = MakeObject("behav_none", 0.0f, 5001.0f, 0);
    SpaceObject* hidden = MakeObject("behav_none", 1000.0f, 0.0f, 0);
    hidden->data_tag = "invisible";
    SlowTick(ship);
    SlowTick(ship);
    EXPECT_EQ(ScannedByShip(), std::vector<uint64_t>{near->uniqueID});
    EXPECT_EQ(std::count(scans.completed.begin(), scans.completed.end(), std::make_pair(near->uniqueID, ship->uniqueID)),
              1);
    EXPECT_TRUE(ScannedBySide(*near, *ship, "scan"));
    EXPECT_FALSE(ScannedBySide(*far, *ship, "scan"));
    EXPECT_FALSE(ScannedBySide(*hidden, *ship, "scan"));
    EXPECT_FALSE(ScannedBySide(*ship, *ship, "scan"));

    ship->side = "skarn";  // another side has seen nothing yet
    mission.events.clear();
    SlowTick(ship);
    std::vector<uint64_t> forNewSide = ScannedByShip();
    std::sort(forNewSide.begin(), forNewSide.end());
    EXPECT_EQ(forNewSide, (std::vector<uint64_t>{target->uniqueID, near->uniqueID}));
}

// Each pass one extra scan source, in turn, shares what lies within 5000 of
// it; a source that is gone serves nothing on its turn.
TEST_F(ScienceTest, shared_sensors_serve_one_source_a_pass_in_turn)
{
    SpaceObject* east = MakeObject("behav_none", 20000.0f, 0.0f, 0);
    SpaceObject* eastSight = MakeObject("behav_none", 23000.0f, 0.0f, 0);
    SpaceObject* west = MakeObject("behav_none", -20000.0f, 0.0f, 0);
    SpaceObject* westSight = MakeObject("behav_none", -20000.0f, 4000.0f, 0);
    MakeObject("behav_none", 26000.0f, 0.0f, 0);  // beyond the east source's sight
    ship->data_set.SetInt("num_extra_scan_sources", 3, 0, "a");
    ship->data_set.SetUInt64("extra_scan_source", east->uniqueID, 0, "a");
    ship->data_set.SetUInt64("extra_scan_source", west->uniqueID, 1, "a");
    ship->data_set.SetUInt64("extra_scan_source", 987654, 2, "a");  // no object's id at all
    const auto scannedThisPass = [&] {
        mission.events.clear();
        SlowTick(ship);
        std::vector<uint64_t> ids = ScannedByShip();
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    EXPECT_EQ(scannedThisPass(), (std::vector<uint64_t>{west->uniqueID, westSight->uniqueID}));
    EXPECT_EQ(Int(ship, "curFriendIndex"), 1);
    EXPECT_TRUE(scannedThisPass().empty()) << "the third source is gone";
    EXPECT_EQ(scannedThisPass(), (std::vector<uint64_t>{east->uniqueID, eastSight->uniqueID}));
    EXPECT_TRUE(scannedThisPass().empty()) << "what a source shared stays scanned";
}

// The mission hears of each scan at once, and may start a new world from
// its handler: the sensors stop there and touch nothing of the old one.
TEST_F(ScienceTest, a_mission_that_starts_a_new_world_on_a_scan_stops_the_sensors)
{
    for (int i = 0; i < 3; ++i)
        MakeObject("behav_none", 100.0f * (i + 1), 0.0f, 0);
    struct ResettingMission : RecordingMission {
        void HandleEvent(const EventMessage& event) override
        {
            RecordingMission::HandleEvent(event);
            world->Reset(true, "");
        }
        Simulation* world = nullptr;
    } resetting;
    resetting.world = &world;
    world.SetScriptEventSink(&resetting);
    SlowTick(ship);
    world.SetScriptEventSink(&mission);
    EXPECT_EQ(resetting.events.size(), 1u);
    EXPECT_EQ(world.Container()->Objects().size(), 0u);
}

}  // namespace
