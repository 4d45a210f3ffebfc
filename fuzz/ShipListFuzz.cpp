// A mission's ship list ("extraShipData"): any document is taken whole or
// refused with JSONLoaderError naming what is wrong, and nothing of a refused
// one is kept. The hulls taken are flown: ships, stations and computer ships
// of each new key enter a server's world and live a few ticks.

#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/FuzzWorld.h"
#include "game/world/JSONLoader.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/Hjson.h"

#include <string>
#include <string_view>

namespace {

// Enough hulls to meet every kind of record a document can hold; more only
// slow the run.
constexpr size_t kMaxHullsFlown = 6;
constexpr int kTicksFlown = 4;

void FlyHulls(Simulation& world, const ShipData::RecordList& records)
{
    for (size_t i = 0; i < records.size() && i < kMaxHullsFlown; ++i)
        AddHullObjects(world, records[i]->key);
    RunWorld(world, kTicksFlown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    Hjson::Value root;
    try {
        root = Hjson::Unmarshal(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const Hjson::syntax_error&) {
        return 0;
    }
    // A fresh world forgets the records of the last input's list.
    Simulation& world = FreshFuzzWorld(true);
    ShipData& ships = ShipData::Instance();
    try {
        ShipData::LoadDocument(ships.extraRecords, ships.extraKeys, root, "extraShipData");
    } catch (const JSONLoaderError&) {
        QEL_FUZZ_CHECK(ships.extraRecords.empty() && ships.extraKeys.empty(), "a refused list left records behind");
        return 0;
    }
    FlyHulls(world, ships.extraRecords);
    return 0;
}
