#pragma once
// The game's generated meshes for tests that need real ships: the ship list,
// the preferences, the shaders and the generator's output of the game's data
// folder (the test's own overlay of it), linked into a fixture's data folder,
// so what the game makes from them at run time (caches, silhouettes, hull
// shells) is written there.

#include <filesystem>
#include <string>
#include <vector>
#include <initializer_list>
#include <regex>
#include <string>

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

namespace qeltest {

inline void LinkGeneratedData(const TempFolder& data)
{
    namespace fs = std::filesystem;
    const fs::path source = GameDataFolder();
    // Meshes, materials and textures; not what the game made from them.
    const std::regex generated(R"(.*\.(obj|mtl|glsl|vs|ps|ttf)|.*_(diffuse|emissive|specular|normal)\.png)");
    const auto link = [&](const fs::path& file) {
        const fs::path target = data.Path() / file.lexically_relative(source);
        fs::create_directories(target.parent_path());
        fs::create_symlink(file, target);
    };
    link(source / "shipData.yaml");
    link(source / "preferences.yaml");
    link(source / "QelDefault" / "smallWhite.png");
    for (const char* folder : {"graphics", "graphics/ships", "QelDefault"})
        for (const fs::directory_entry& entry : fs::directory_iterator(source / folder))
            if (entry.is_regular_file() && std::regex_match(entry.path().filename().string(), generated))
                link(entry.path());
}

// Art of the game's data folder's graphics (files or folders, such as the
// menu backdrop and the fonts) for tests that draw the interface, linked
// beside the generated data.
inline void LinkInterfaceArt(const TempFolder& data, const std::vector<std::string>& names)
{
    namespace fs = std::filesystem;
    const fs::path source = GameDataFolder() / "graphics";
    for (const std::string& name : names)
        if (!fs::exists(data.Path() / "graphics" / name))
            fs::create_symlink(source / name, data.Path() / "graphics" / name);
}

// The sky box's star field the build draws, for tests that draw the sky.
inline void LinkGeneratedSky(const TempFolder& data)
{
    std::filesystem::create_symlink(GameDataFolder() / "graphics/sky1.png",
                                    data.Path() / "graphics/sky1.png");
}

// The 2D radar's art the build draws (tools/radar-art), and the interface's
// icon sheet it shares.
inline void LinkGeneratedRadarArt(const TempFolder& data)
{
    namespace fs = std::filesystem;
    const fs::path graphics = GameDataFolder() / "graphics";
    for (const char* name :
         {"radar_2", "icon-nebula", "icon-nebula64", "icon-nebula8", "generic-asteroid", "generic-asteroid50",
          "generic-asteroid8", "icon-blackhole", "icon-globe", "teardrop", "icon-mine", "unknownShipIcon", "shldFace1",
          "shldFace2", "shldFace3", "singleShield", "uparrow", "icon-map-pin", "icon-map-arrow", "reticle-set",
          "grid-icon-sheet"}) {
        const std::string file = std::string(name) + ".png";
        fs::create_symlink(graphics / file, data.Path() / "graphics" / file);
    }
}

}  // namespace qeltest
