#pragma once
// A data folder for halvex-server whose frigate has an interior: the game's
// preferences and ships, one mission of the given script (or a shipped
// mission with the missions' common folder), and the frigate's large
// silhouette image, which the harness lays the interior grid over.
//
// The frigate's grid is 12 x 24 cells: open but for a bulkhead across the
// middle, rows 11 and 12, with a door in columns 5 and 6. The picture reads
// the same turned half round, as the frigate's mesh is.

#include "engine/base/QelPixelImage.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/halvex-server/HarnessData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace harnesstest {

inline std::vector<std::string> FrigateHull()
{
    std::vector<std::string> rows(24, std::string(12, '#'));
    rows[11] = rows[12] = ".....##.....";
    return rows;
}

struct FrigateInteriorFolder {
    explicit FrigateInteriorFolder(const std::string& missionScript)
    {
        CopyGameData();
        data.Write("missions/" + std::string(kMission) + "/script.py", missionScript);
        DrawFrigateSilhouette();
    }

    // The game's own mission of that folder name, beside the common folder
    // the shipped missions share.
    struct Shipped {
        std::string mission;
    };
    explicit FrigateInteriorFolder(const Shipped& shipped)
    {
        CopyGameData();
        std::filesystem::create_directories(data.Path() / "missions");
        for (const std::string& folder : {shipped.mission, std::string("common")})
            std::filesystem::copy(harnesstest::GameData() + "/missions/" + folder, data.Path() / "missions" / folder,
                                  std::filesystem::copy_options::recursive);
        DrawFrigateSilhouette();
    }

    static constexpr const char* kMission = "interior";
    qeltest::TempFolder data;

private:
    void CopyGameData() const
    {
        std::filesystem::copy(harnesstest::GameData() + "/preferences.yaml", data.Path() / "preferences.yaml");
        std::filesystem::copy(harnesstest::GameData() + "/shipData.yaml", data.Path() / "shipData.yaml");
    }

    void DrawFrigateSilhouette() const
    {
        const HullSilhouette hull = qeltest::DrawHull(FrigateHull());
        QelPixelImage image;
        image.Resize(hull.width, hull.height);
        for (int32_t y = 0; y < hull.height; ++y)
            for (int32_t x = 0; x < hull.width; ++x)
                image.SetPixel(x, y, hull.AlphaAt(x, y) / 255.0f, 1.0f, 1.0f, 1.0f);
        std::filesystem::create_directories(data.Path() / "graphics/ships");
        EXPECT_TRUE(image.SavePNG((data.Path() / "graphics/ships/tern_frigate1024.png").string()));
    }
};

}  // namespace harnesstest
