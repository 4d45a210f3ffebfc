#pragma once
// Small hulls drawn in text for the interior-grid tests, the ship records
// that give them grids, and a silhouette source that serves them by ship key.
//
// Each character of a hull's text is one block of the image: '#' hull
// (opaque), '.' open space (clear). The silhouette's box spans the whole
// image, so a grid as wide and tall as the text, unturned (meshrotate -2),
// samples block (column, row) for cell (column, row).

#include "game/world/HullSilhouetteSource.h"
#include "game/world/ShipData.h"
#include "game/world/ShipDataRecord.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qeltest {

// The image is size x size pixels; 1024 is the game's large silhouette.
inline HullSilhouette DrawHull(const std::vector<std::string>& rows, int32_t size = 1024)
{
    HullSilhouette hull;
    hull.width = hull.height = size;
    hull.alpha.assign(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
    const auto blockRows = static_cast<int64_t>(rows.size());
    for (int32_t y = 0; y < size; ++y) {
        const std::string& text = rows[static_cast<size_t>(y * blockRows / size)];
        const auto blockColumns = static_cast<int64_t>(text.size());
        for (int32_t x = 0; x < size; ++x)
            if (text[static_cast<size_t>(x * blockColumns / size)] == '#')
                hull.alpha[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)] = 255;
    }
    hull.left = hull.top = 0;
    hull.right = hull.bottom = HullSilhouette::kBoxImageSize;
    return hull;
}

// A record whose interior is a columns x rows grid.
inline ShipDataRecord InteriorRecord(int32_t columns, int32_t rows, float scale = 1.0f, int32_t symmetry = 0,
                                     float meshRotate = -2.0f)
{
    ShipDataRecord record;
    record.key = "test_hull";
    record.name = "test hull";
    record.artFileRoot = "TestHull";
    record.longDesc = "a hull drawn for the tests";
    record.internalMapScale = scale;
    record.internalMapW = columns;
    record.internalMapH = rows;
    record.internalSymmetry = symmetry;
    record.meshRotate = meshRotate;
    return record;
}

// The record joins the ship definitions (as one received from a server would)
// for the life of this object.
struct ScopedShipRecord {
    explicit ScopedShipRecord(const ShipDataRecord& given)
    {
        auto owned = std::make_unique<ShipDataRecord>(given);
        record = owned.get();
        ShipData& ships = ShipData::Instance();
        ships.extraKeys[record->key] = record;
        ships.receivedRecords.push_back(std::move(owned));
    }
    ~ScopedShipRecord()
    {
        ShipData& ships = ShipData::Instance();
        ships.extraKeys.erase(record->key);
        ships.fetchedKeys.erase(record->key);
        std::erase_if(ships.receivedRecords, [this](const auto& held) { return held.get() == record; });
    }
    ScopedShipRecord(const ScopedShipRecord&) = delete;
    ScopedShipRecord& operator=(const ScopedShipRecord&) = delete;

    ShipDataRecord* record;
};

// Serves the hulls it holds by ship key.
struct AuthoredHulls : HullSilhouetteSource {
    std::optional<HullSilhouette> FindHullSilhouette(const std::string& shipKey) override
    {
        ++requests;
        auto found = hulls.find(shipKey);
        if (found == hulls.end())
            return std::nullopt;
        return found->second;
    }
    std::map<std::string, HullSilhouette> hulls;
    int requests = 0;
};

}  // namespace qeltest
