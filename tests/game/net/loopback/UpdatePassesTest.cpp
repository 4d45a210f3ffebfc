// The server's object update passes as a bare console receives them: how
// they slice their records into messages and what they send around them.

#include "tests/game/net/loopback/ServerHarness.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/world/DataKey.h"
#include "game/world/ObjectId.h"

#include <algorithm>
#include <functional>
#include <string>

namespace {

constexpr float kVision = 5000.0f;

class UpdatePassesTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        CorvaneServer::Settings settings;
        settings.visionBaseDistance = kVision;
        MakeServer(settings);
    }

    // Record counts of the "spaceobjectupdate" messages a console received.
    std::vector<int> UpdateSizes(QelNetworkClient* console)
    {
        std::vector<int> sizes;
        for (const nettest::Received& r : received[console])
            if (r.key == HashMessageName("spaceobjectupdate"))
                sizes.push_back((static_cast<int>(r.bytes.size()) - 16) / SpaceObjectRecord::kSize);
        return sizes;
    }

    // Sixteen ships far apart, each crewed by a console and with the given
    // number of fast movers beside it.
    void ExpectEveryCrewToGetItsFastMovers(int fastMoversEach)
    {
        constexpr int kShips = 16;
        constexpr float kApart = 4.0f * kVision;
        std::vector<QelNetworkClient*> crews;
        for (int i = 0; i < kShips; ++i) {
            const glm::vec3 at{kApart * static_cast<float>(i), 0.0f, 0.0f};
            SpaceObject* ship = AddObject(at);
            for (int t = 0; t < fastMoversEach; ++t)
                AddObject(at + glm::vec3(10.0f * static_cast<float>(t + 1), 0.0f, 0.0f), SpaceObject::kFastMoverBit);
            server->FindClient(Connect("weapons " + std::to_string(i)))->shipId = ship->uniqueID;
            crews.push_back(consoles.back());
        }
        EXPECT_TRUE(TicksUntil([&] {
            return std::all_of(crews.begin(), crews.end(), [&](QelNetworkClient* console) {
                const std::vector<int> sizes = UpdateSizes(console);
                return std::count(sizes.begin(), sizes.end(), fastMoversEach) >= 3;
            });
        }));
        // Every other pass sends at least the ship itself, and at most it.
        for (QelNetworkClient* console : crews) {
            for (int size : UpdateSizes(console)) {
                EXPECT_LE(size, std::max(fastMoversEach, 1)) << "a console saw another ship's fast movers";
                if (fastMoversEach > 0)
                    EXPECT_NE(size, 0) << "a fast pass left out the fast movers beside the ship";
            }
        }
    }

    // Runs the passes tick by tick, each tick's messages arrived before the
    // next, until the console has what it waits for.
    bool TicksUntil(const std::function<bool()>& done)
    {
        for (int tick = 0; tick < 400; ++tick) {
            world.clock.time_tick_counter += 1;
            server->FrameUpdate();
            AwaitDelivery();
            if (done())
                return true;
        }
        return RunFramesUntil(done);
    }
};

TEST_F(UpdatePassesTest, the_slow_pass_sends_120_objects_as_49_50_and_21_after_the_tick_and_then_the_most_exciting)
{
    SpaceObject* ship = AddObject({0.0f, 0.0f, 0.0f});
    uint64_t exciting = 0;
    for (int i = 0; i < 119; ++i) {
        SpaceObject* object = AddObject({10.0f * i, 0.0f, 100.0f});
        if (i == 60) {
            object->data_set.SetFloat("exciting", 5.0f, 0, "a");
            exciting = object->uniqueID;
        }
    }
    AddObject({kVision * 2, 0.0f, 0.0f});  // out of sight
    const uint64_t id = Connect("helm");
    QelNetworkClient* console = consoles.back();
    server->FindClient(id)->shipId = ship->uniqueID;

    ASSERT_TRUE(TicksUntil([&] {
        const auto codes = SignalCodes(console);
        return std::count(codes.begin(), codes.end(), SIGNAL_MESS_AUTO_CINEMATIC_STARS) >= 1;
    }));
    // The slow pass's three messages sit between code 98 and code 82; the
    // own-ship pass's single records come and go around them.
    std::vector<int> slow;
    bool inSlowPass = false;
    for (const nettest::Received& r : received[console]) {
        if (r.code == SIGNAL_MESS_SIMULATION_TICK)
            inSlowPass = true;
        else if (r.code == SIGNAL_MESS_AUTO_CINEMATIC_STARS)
            break;
        else if (inSlowPass && r.key == HashMessageName("spaceobjectupdate") && r.bytes.size() > 8 + 8 + 56)
            slow.push_back((static_cast<int>(r.bytes.size()) - 16) / SpaceObjectRecord::kSize);
    }
    EXPECT_EQ(slow, (std::vector<int>{49, 50, 21}));
    AutoCinematicStarsSignal stars;
    for (const nettest::Received& r : received[console]) {
        if (r.code == SIGNAL_MESS_AUTO_CINEMATIC_STARS) {
            ASSERT_TRUE(nettest::DecodeSignal(r, stars));
        }
    }
    EXPECT_EQ(stars.objectId, exciting);
}

// A console hears the world's sounds while it is a main screen or crews a
// fighter or a shuttle, and stops once it is given another station or ship.
TEST_F(UpdatePassesTest, world_sounds_follow_the_consoles_station_and_ship)
{
    SpaceObject* ship = AddObject({0.0f, 0.0f, 0.0f});
    SpaceObject* fighter = AddObject({100.0f, 0.0f, 0.0f});
    WriteInt(fighter->data_set, playership::kIsFighterFlag, 1);
    SpaceObject* shuttle = AddObject({200.0f, 0.0f, 0.0f});
    WriteInt(shuttle->data_set, playership::kIsShuttleFlag, 1);
    ClientRecord& record = *server->FindClient(Connect("console"));
    struct Step {
        const char* what;
        const char* console;
        SpaceObject* crewed;
        bool hears;
    };
    const Step steps[] = {
        {"a main screen", "main", ship, true},
        {"the main screen made helm", "helm", ship, false},
        {"helm moved to a fighter", "helm", fighter, true},
        {"back to the ship", "helm", ship, false},
        {"to a shuttle", "weapons", shuttle, true},
        {"a main screen again", "main", ship, true},
        {"made science", "sci", ship, false},
    };
    for (const Step& step : steps) {
        record.SetConsoleName(step.console);
        record.shipId = step.crewed->uniqueID;
        EXPECT_TRUE(TicksUntil([&] { return record.worldSoundFlag == step.hears; })) << step.what;
    }
}

TEST_F(UpdatePassesTest, the_fast_pass_splits_more_fast_movers_than_one_message_holds)
{
    SpaceObject* ship = AddObject({0.0f, 0.0f, 0.0f});
    constexpr int kTorpedoes = 400;
    for (int i = 0; i < kTorpedoes; ++i)
        AddObject({static_cast<float>(i), 0.0f, 50.0f}, SpaceObject::kFastMoverBit);
    const uint64_t id = Connect("weapons");
    QelNetworkClient* console = consoles.back();
    server->FindClient(id)->shipId = ship->uniqueID;

    auto fastRecords = [&] {
        int records = 0;
        for (int size : UpdateSizes(console))
            if (size > 1)
                records += size;
        return records;
    };
    ASSERT_TRUE(TicksUntil([&] { return fastRecords() >= kTorpedoes; }));
    for (const nettest::Received& r : received[console])
        EXPECT_LE(static_cast<int32_t>(r.bytes.size()), QelNetworkMessage::kMessageBufferSize);
    const std::vector<int> sizes = UpdateSizes(console);
    // (10000 - 16) / 56 records fill a message.
    EXPECT_GE(std::count(sizes.begin(), sizes.end(), 178), 2);
}

// Sixteen crewed ships put two or three of them due in one run of the fast
// pass; each console still gets the fast movers beside its own ship, or its
// empty message when the world holds none.
TEST_F(UpdatePassesTest, every_ship_due_in_one_run_of_the_fast_pass_gets_its_own_fast_movers)
{
    ExpectEveryCrewToGetItsFastMovers(2);
}

TEST_F(UpdatePassesTest, every_ship_due_in_one_run_of_the_fast_pass_gets_its_empty_message_in_a_calm_world)
{
    ExpectEveryCrewToGetItsFastMovers(0);
}

TEST_F(UpdatePassesTest, a_game_master_console_gets_moving_objects_and_on_every_fifth_run_the_static_ones)
{
    AddObject({0.0f, 0.0f, 0.0f});
    AddObject({9.0e6f, 0.0f, 0.0f});
    AddObject({100.0f, 0.0f, 0.0f}, SpaceObject::kStaticBit);
    const uint64_t id = Connect("gamemaster");
    QelNetworkClient* console = consoles.back();
    server->FindClient(id)->SetConsoleName("gamemaster");

    // Runs went on before the console became a game master; whichever run
    // it first sees, the static object comes on every fifth.
    ASSERT_TRUE(TicksUntil([&] { return UpdateSizes(console).size() >= 10; }));
    const std::vector<int> sizes = UpdateSizes(console);
    std::vector<size_t> staticRuns;
    for (size_t run = 0; run < 10; ++run) {
        EXPECT_TRUE(sizes[run] == 1 || sizes[run] == 2) << run;
        if (sizes[run] == 1)
            staticRuns.push_back(run);
    }
    ASSERT_EQ(staticRuns.size(), 2u);
    EXPECT_EQ(staticRuns[1] - staticRuns[0], 5u);
}

}  // namespace
