#include "game/net/SignalMessage.h"

#include "SignalTestSupport.h"

#include "game/world/ObjectId.h"

#include <gtest/gtest.h>


namespace {

constexpr uint64_t kShipA = kSpaceObjectIdBit | 4;
constexpr uint64_t kShipB = kSpaceObjectIdBit | 77;

using signaltest::RoundTrip;

TEST(SignalMessage, payloads_round_trip_with_their_codes)
{
    {
        QelNetworkMessage m;
        FullObjectRequestSignal in{{kShipA, kShipB}}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectIds, in.objectIds);
        EXPECT_EQ(m.writeIndex, 2 + 3 * 8);  // two ids and the closing 0
    }
    {
        QelNetworkMessage m;
        HeartbeatSignal in, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(m.writeIndex, 2);
    }
    {
        QelNetworkMessage m;
        ObjectRemovedSignal in{kShipB}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectId, kShipB);
    }
    {
        QelNetworkMessage m;
        ClientChangeSignal in{"entered_options"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.change, "entered_options");
    }
    {
        QelNetworkMessage m;
        ScreenSizeSignal in{1024, 768}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.width, 1024);
        EXPECT_EQ(out.height, 768);
        EXPECT_EQ(m.writeIndex, 2 + 4 + 4);
    }
    {
        QelNetworkMessage m;
        PauseStateSignal in{1}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.paused, 1);
    }
    {
        QelNetworkMessage m;
        ShipRecordRequestSignal in{"tsn_light_cruiser"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.shipKey, "tsn_light_cruiser");
    }
    {
        QelNetworkMessage m;
        StringMapSignal in{"clear", "stringmap"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.key, "clear");
        EXPECT_EQ(out.value, "stringmap");
    }
    {
        QelNetworkMessage m;
        ConnectResetSignal in, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
    }
    {
        QelNetworkMessage m;
        PingSignal in{-12345}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.key, -12345);
    }
    {
        QelNetworkMessage m;
        SimulationTickSignal in{(1ll << 40) + 7}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.tick, in.tick);
    }
    {
        QelNetworkMessage m;
        AutoCinematicStarsSignal in{kShipB}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectId, kShipB);
    }
}

TEST(SignalMessage, the_most_exciting_object_must_be_none_or_a_space_object)
{
    QelNetworkMessage m;
    AutoCinematicStarsSignal in{kClientIdBit | 501}, out;
    EXPECT_FALSE(RoundTrip(in, out, m));
}

TEST(SignalMessage, code_is_written_as_16_bits_and_read_unsigned)
{
    QelNetworkMessage m;
    WriteSignalCode(m, SIGNAL_MESS_INDEXED_TABLES);
    m.WriteInt16(-1);
    EXPECT_EQ(m.writeIndex, 4);
    EXPECT_EQ(m.Data()[0], 105);
    uint16_t code = 0, wild = 0;
    EXPECT_TRUE(ReadSignalCode(m, code));
    EXPECT_TRUE(ReadSignalCode(m, wild));
    EXPECT_EQ(code, kLastSignalCode);
    EXPECT_EQ(wild, 0xFFFF);
    EXPECT_FALSE(ReadSignalCode(m, code));  // nothing left
}

TEST(SignalMessage, every_truncation_of_a_payload_is_refused)
{
    QelNetworkMessage whole;
    WriteSignal(whole, StringMapSignal{"alert", "red"});
    for (int32_t length = 2; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(cut, code));
        StringMapSignal out;
        EXPECT_FALSE(ReadSignal(cut, out)) << "length " << length;
    }

    QelNetworkMessage shortPing;
    shortPing.WriteInt16(SIGNAL_MESS_PING).WriteInt16(7);
    uint16_t code = 0;
    ReadSignalCode(shortPing, code);
    PingSignal ping;
    EXPECT_FALSE(ReadSignal(shortPing, ping));
}

TEST(SignalMessage, id_of_the_wrong_kind_spoils_the_whole_message)
{
    const uint64_t wrongIds[] = {kClientIdBit | 501, kGridObjectIdBit | 41, 99,
                                 kClientIdBit | kSpaceObjectIdBit | 4};
    for (uint64_t wrong : wrongIds) {
        QelNetworkMessage request;
        WriteSignal(request, FullObjectRequestSignal{{kShipA, wrong, kShipB}});
        uint16_t code = 0;
        ReadSignalCode(request, code);
        FullObjectRequestSignal out;
        EXPECT_FALSE(ReadSignal(request, out)) << std::hex << wrong;

        QelNetworkMessage removed;
        WriteSignal(removed, ObjectRemovedSignal{wrong});
        ReadSignalCode(removed, code);
        ObjectRemovedSignal gone;
        EXPECT_FALSE(ReadSignal(removed, gone)) << std::hex << wrong;
    }
}

TEST(SignalMessage, request_list_without_its_closing_zero_is_refused)
{
    QelNetworkMessage m;
    WriteSignalCode(m, SIGNAL_MESS_FULL_OBJECT_REQUEST);
    m.WriteInt64(kShipA).WriteInt64(kShipB);
    uint16_t code = 0;
    ReadSignalCode(m, code);
    FullObjectRequestSignal out;
    EXPECT_FALSE(ReadSignal(m, out));
}

TEST(SignalMessage, empty_keys_are_refused)
{
    QelNetworkMessage entry;
    WriteSignal(entry, StringMapSignal{"", "value"});
    QelNetworkMessage request;
    WriteSignal(request, ShipRecordRequestSignal{""});
    uint16_t code = 0;
    ReadSignalCode(entry, code);
    ReadSignalCode(request, code);
    StringMapSignal e;
    ShipRecordRequestSignal r;
    EXPECT_FALSE(ReadSignal(entry, e));
    EXPECT_FALSE(ReadSignal(request, r));
}

// ---- ship interior grids ----

constexpr uint64_t kCrewA = kGridObjectIdBit | 41;
constexpr uint64_t kCrewB = kGridObjectIdBit | 42;

GridSignal TwoCrewGrid()
{
    GridSignal grid;
    grid.shipId = kShipA;
    grid.name = "tern frigate";
    grid.description = "a frigate";
    grid.artFileRoot = "tern_frigate";
    grid.gridScale = 1.5f;
    grid.width = 12;
    grid.height = 24;
    grid.symmetricalFlag = 1;
    grid.objects = {{kCrewA, "Ada", "engineer", "crew", 2, {0, 0, 1, 0, 1, 1}}, {kCrewB, "Bo", "medic", "crew", 0, {}}};
    return grid;
}

TEST(SignalMessage, grid_payloads_round_trip_in_their_sizes)
{
    {
        QelNetworkMessage m;
        const GridSignal in = TwoCrewGrid();
        GridSignal out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(m.writeIndex, 2 + in.HeaderSize() + GridSignal::ObjectSize(in.objects[0]) +
                                    GridSignal::ObjectSize(in.objects[1]) + GridSignal::kEndSize);
        EXPECT_EQ(out.shipId, kShipA);
        EXPECT_EQ(out.name, "tern frigate");
        EXPECT_EQ(out.description, "a frigate");
        EXPECT_EQ(out.artFileRoot, "tern_frigate");
        EXPECT_EQ(out.gridScale, 1.5f);
        EXPECT_EQ(out.width, 12);
        EXPECT_EQ(out.height, 24);
        EXPECT_EQ(out.symmetricalFlag, 1);
        ASSERT_EQ(out.objects.size(), 2u);
        EXPECT_EQ(out.objects[0].id, kCrewA);
        EXPECT_EQ(out.objects[0].name, "Ada");
        EXPECT_EQ(out.objects[0].tag, "engineer");
        EXPECT_EQ(out.objects[0].type, "crew");
        EXPECT_EQ(out.objects[0].layer, 2);
        EXPECT_EQ(out.objects[0].path, (std::vector<int32_t>{0, 0, 1, 0, 1, 1}));
        EXPECT_TRUE(out.objects[1].path.empty());
    }
    {
        QelNetworkMessage m;
        GridRequestSignal in{1}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.value, 1);
    }
    {
        QelNetworkMessage m;
        DeleteGridSignal in{"tern_frigate", kShipA}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.shipDataKey, "tern_frigate");
        EXPECT_EQ(out.shipId, kShipA);
    }
    {
        QelNetworkMessage m;
        GridObjectDeletedSignal in{kCrewB, kShipA}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.gridObjectId, kCrewB);
        EXPECT_EQ(out.shipId, kShipA);
    }
    {
        QelNetworkMessage m;
        GridObjectSelectionSignal in{kShipA, kCrewA, "engineering", "grid_object_list"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.shipId, kShipA);
        EXPECT_EQ(out.gridObjectId, kCrewA);
        EXPECT_EQ(out.consoleName, "engineering");
        EXPECT_EQ(out.widgetName, "grid_object_list");
    }
    {
        QelNetworkMessage m;
        GridPointSelectionSignal in{kShipA, 3, -2, "engineering", "ship_internal_view"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.column, 3);
        EXPECT_EQ(out.row, -2);
        EXPECT_EQ(out.widgetName, "ship_internal_view");
    }
    {
        QelNetworkMessage m;
        GridButtonSignal in{"send_to_sickbay", kShipA, kCrewB}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.button, "send_to_sickbay");
        EXPECT_EQ(out.shipId, kShipA);
        EXPECT_EQ(out.gridObjectId, kCrewB);
    }
}

TEST(SignalMessage, grid_payloads_naming_ids_of_the_wrong_kind_are_refused)
{
    const uint64_t client = kClientIdBit | 501;
    auto refused = [](const auto& signal) {
        QelNetworkMessage m;
        std::decay_t<decltype(signal)> out;
        return !RoundTrip(signal, out, m);
    };
    GridSignal gridOfAGridObject = TwoCrewGrid();
    gridOfAGridObject.shipId = kCrewA;
    GridSignal crewWithAShipsId = TwoCrewGrid();
    crewWithAShipsId.objects[1].id = kShipB;
    GridSignal crewWithTwoKinds = TwoCrewGrid();
    crewWithTwoKinds.objects[0].id = kCrewA | kSpaceObjectIdBit;

    EXPECT_TRUE(refused(gridOfAGridObject));
    EXPECT_TRUE(refused(crewWithAShipsId));
    EXPECT_TRUE(refused(crewWithTwoKinds));
    EXPECT_TRUE(refused(DeleteGridSignal{"", kShipA})) << "an empty ship data key";
    EXPECT_TRUE(refused(DeleteGridSignal{"tern_frigate", kCrewA}));
    EXPECT_TRUE(refused(GridObjectDeletedSignal{kShipA, kCrewA})) << "the ids swapped";
    EXPECT_TRUE(refused(GridObjectSelectionSignal{client, kCrewA, "", ""}));
    EXPECT_TRUE(refused(GridObjectSelectionSignal{kShipA, kShipB, "", ""}));
    EXPECT_TRUE(refused(GridPointSelectionSignal{kCrewA, 0, 0, "", ""}));
    EXPECT_TRUE(refused(GridButtonSignal{"", kShipA, client}));
    EXPECT_FALSE(refused(GridObjectSelectionSignal{0, 0, "", ""})) << "0 names nothing, which is allowed";
    EXPECT_FALSE(refused(GridButtonSignal{"", 0, 0}));
}

TEST(SignalMessage, a_grid_cut_short_or_with_a_path_of_half_a_cell_is_refused)
{
    QelNetworkMessage whole;
    WriteSignal(whole, TwoCrewGrid());
    for (int32_t length = 2; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(cut, code));
        GridSignal out;
        EXPECT_FALSE(ReadSignal(cut, out)) << "length " << length;
    }

    QelNetworkMessage oddPath;
    WriteSignalCode(oddPath, SIGNAL_MESS_GRID);
    oddPath.WriteInt64(kShipA).WriteString("").WriteString("").WriteString("");
    oddPath.WriteFloat(1.0f).WriteInt32(2).WriteInt32(2).WriteInt32(0);
    oddPath.WriteInt64(kCrewA).WriteString("").WriteString("").WriteString("").WriteInt32(0);
    oddPath.WriteInt32(1).WriteInt32(0).WriteInt32(1).WriteInt32(-1);
    oddPath.WriteInt64(0);
    uint16_t code = 0;
    ReadSignalCode(oddPath, code);
    GridSignal out;
    EXPECT_FALSE(ReadSignal(oddPath, out));
}

// -1 ends a path's list; only a start outside the grid can hold it.
TEST(SignalMessage, a_path_cell_at_minus_one_is_left_out_rather_than_ending_the_list_early)
{
    GridSignal in = TwoCrewGrid();
    in.objects[0].path = {-1, 0, 0, 0, 1, 0};
    QelNetworkMessage m;
    GridSignal out;
    ASSERT_TRUE(RoundTrip(in, out, m));
    ASSERT_EQ(out.objects.size(), 2u);
    EXPECT_EQ(out.objects[0].path, (std::vector<int32_t>{0, 0, 1, 0}));
    EXPECT_EQ(out.objects[1].name, "Bo");
}

}  // namespace
