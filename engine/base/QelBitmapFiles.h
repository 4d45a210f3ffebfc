#pragma once
// Where a graphics service finds the image file of a bitmap name. Every
// service looks in the same places, so a name loads the same picture with or
// without a display.

#include <optional>
#include <string>

// The first file that exists of: data/graphics/name.png, name.jpg, the name
// as given, name.rawbitmap (with a data subfolder set,
// data/<subfolder>/graphics/...); while the engine loads its defaults only
// data/QelDefault/name.png. Nothing when none exists, or (logged) when the
// name could leave the data folder.
std::optional<std::string> FindBitmapFile(const std::string& name, bool loadingDefaults);

// The game path, without its ".png", that a bitmap of the name is saved at to
// be found first by FindBitmapFile; nothing when the name could leave the
// data folder.
std::optional<std::string> BitmapSavePath(const std::string& name);

// Whether the path names the engine's raw pixel form rather than an image.
bool IsRawBitmapPath(const std::string& path);
