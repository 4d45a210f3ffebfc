// A ship record as a console receives it from the server: any bytes are
// stored whole or dropped whole. A stored record writes back to the bytes it
// reads as; kept in the data folder's fetched document, it is known again at
// the next start, or not kept at all; and its hull is flown in the console's
// world for a few ticks.

#include "engine/base/QelNetworkMessage.h"
#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/FuzzWorld.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kTicksFlown = 4;

std::vector<uint8_t> Packed(const ShipDataRecord& record)
{
    QelNetworkMessage message;
    ShipData::PackRecordToMessage(record, message);
    QEL_FUZZ_CHECK(!message.IsOverflowed(), "the record does not fit a message when written back");
    return std::vector<uint8_t>(message.Data(), message.Data() + message.writeIndex);
}

// The writer and the reader agree: what was stored, written and read again,
// writes the same bytes.
void CheckWritesBack(const ShipDataRecord& record)
{
    const std::vector<uint8_t> bytes = Packed(record);
    QelNetworkMessage message;
    message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    ShipData again;
    QEL_FUZZ_CHECK(again.UnPackRecordToData(message) == ShipRecordReceipt::Stored,
                   "a record written back is refused");
    QEL_FUZZ_CHECK(Packed(*again.receivedRecords.front()) == bytes, "a record reads back different");
}

// Kept for the next start, the record is read back from the document under
// its key; refused, it leaves no document behind.
void CheckKeptForNextStart(const std::string& key)
{
    ShipData& ships = ShipData::Instance();
    const std::filesystem::path document = UseScratchDataFolder() / "fetchedShipData.json";
    const bool kept = ships.StoreReceivedRecord(key);
    QEL_FUZZ_CHECK(kept == std::filesystem::exists(document), "the fetched document disagrees with the store");
    if (kept) {
        ShipData restarted;
        restarted.LoadFetched();
        QEL_FUZZ_CHECK(restarted.FindDefined(key) != nullptr, "a kept record is not known at the next start");
    }
    std::filesystem::remove(document);
    ships.fetchedKeys.erase(key);
}

// In a console's world, where received records are used.
void FlyHull(const std::string& key)
{
    Simulation& world = FreshFuzzWorld(false);
    AddHullObjects(world, key);
    RunWorld(world, kTicksFlown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    if (size > static_cast<size_t>(QelNetworkMessage::kMessageBufferSize))
        return 0;
    QelNetworkMessage message;
    message.WriteBytes(data, static_cast<int32_t>(size));
    ShipData& ships = ShipData::Instance();
    const ShipRecordReceipt receipt = ships.UnPackRecordToData(message);
    if (receipt != ShipRecordReceipt::Stored)
        return 0;
    const ShipDataRecord& record = *ships.receivedRecords.back();
    const std::string key = record.key;
    CheckWritesBack(record);
    CheckKeptForNextStart(key);
    FlyHull(key);
    ships.extraKeys.erase(key);
    ships.receivedRecords.pop_back();
    return 0;
}
