#include "PlayerShipTestSupport.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/ObjectId.h"

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

    RecordingMission mission;
    FakeScans scans;
    SpaceObject* ship = nullptr;
    SpaceObject* target = nullptr;
};

TEST_F(ScienceTest, a_queued_scan_completes_after_its_delay_records_its_result_and_drops_its_twins)
{
    scans.queues[ship->uniqueID] = {{target->uniqueID, "scan"}, {target->uniqueID, "scan"}, {target->uniqueID, "deep"}};
    EXPECT_EQ(PassesUntilEvent(20), 10) << "5 seconds next to the ship, two passes a second";
    EXPECT_EQ(ScanEntry("scan"), "no data");
    EXPECT_EQ(ScanEntry("deep"), "");
    ASSERT_EQ(mission.events.size(), 1u);
    const EventMessage& event = mission.events[0];
    EXPECT_EQ(event.tag, "science_scan_complete");
    EXPECT_EQ(event.origin_id, ship->uniqueID);
    EXPECT_EQ(event.selected_id, target->uniqueID);
    EXPECT_EQ(event.sub_tag, "Vex");
    EXPECT_EQ(event.value_tag, "meridian");
    EXPECT_EQ(event.extra_tag, "scan");
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
    EXPECT_TRUE(mission.events.empty());
    EXPECT_TRUE(scans.completed.empty());
}

TEST_F(ScienceTest, a_scan_of_an_id_that_names_no_space_object_stops_as_if_its_target_were_gone)
{
    scans.queues[ship->uniqueID] = {{target->uniqueID, "scan"}};
    SlowTick(ship);
    scans.queues[ship->uniqueID].clear();
    WriteUInt64(ship->data_set, DataKey{"cur_scan_ID", ""}, kClientIdBit | 501);
    SlowTick(ship);
    EXPECT_EQ(Int(ship, "cur_scan_ID"), 0);
    EXPECT_FLOAT_EQ(Float(ship, "cur_scan_percent"), 0.0f);
    EXPECT_TRUE(scans.completed.empty());
}

}  // namespace
