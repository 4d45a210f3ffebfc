// A console asks the hosting server for ship definitions it lacks over
// loopback ENet: each known definition comes back once, in its wire form, to
// that console alone; keys the server does not define get no answer and leave
// no trace on the server.

#include "tests/game/net/loopback/ServerHarness.h"

#include "game/world/ShipData.h"
#include "tests/support/AuthoredHull.h"

#include <algorithm>

namespace {

using nettest::Received;

class ShipRecordRequestTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        asking = Connect("science");
        consoleAsking = consoles.back();
        Connect("helm");
        consoleOther = consoles.back();
    }

    // The records received as code 65, read back with the definitions' reader
    // into a set of definitions of their own.
    std::vector<std::string> RecordsReceived(QelNetworkClient* console)
    {
        std::vector<std::string> keys;
        for (const Received& r : received[console]) {
            if (r.code != SIGNAL_MESS_SHIP_RECORD)
                continue;
            QelNetworkMessage message;
            message.WriteBytes(r.bytes.data(), static_cast<int32_t>(r.bytes.size()));
            message.readIndex = 10;  // the key and the code
            ShipData copy;
            EXPECT_EQ(copy.UnPackRecordToData(message), ShipRecordReceipt::Stored);
            for (const auto& [key, record] : copy.extraKeys)
                keys.push_back(key);
        }
        return keys;
    }

    qeltest::ScopedShipRecord hull{qeltest::InteriorRecord(8, 1)};
    uint64_t asking = 0;
    QelNetworkClient* consoleAsking = nullptr;
    QelNetworkClient* consoleOther = nullptr;
};

TEST_F(ShipRecordRequestTest, a_known_definition_is_answered_once_to_the_asker_alone)
{
    const size_t missesBefore = ShipData::Instance().missCounters.size();
    for (int i = 0; i < 20; ++i)
        SendSignal(consoleAsking, ShipRecordRequestSignal{"test_hull"});
    for (const char* absent : {"no_such_hull", "unknown", "../../etc/passwd"})
        SendSignal(consoleAsking, ShipRecordRequestSignal{absent});
    ASSERT_TRUE(RunFramesUntil([&] { return !RecordsReceived(consoleAsking).empty(); }));
    for (int frame = 0; frame < 5; ++frame)
        RunFramesUntil([] { return true; });

    EXPECT_EQ(RecordsReceived(consoleAsking), std::vector<std::string>{"test_hull"});
    EXPECT_TRUE(RecordsReceived(consoleOther).empty());
    EXPECT_EQ(ShipData::Instance().missCounters.size(), missesBefore);
    EXPECT_TRUE(server->FindClient(asking)->pendingShipRecords.empty());
}

}  // namespace
