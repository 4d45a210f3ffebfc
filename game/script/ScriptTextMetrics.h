#pragma once
// Text as the screens draw it, measured for the mission: the fonts of the
// preferences' list (AppData::FontListKey) by tag, as the list stands when
// the mission measures (the large fonts may be turned on or off between
// two measures), each file and size baked on the CPU the first time a
// mission measures with it, so a server without a window measures exactly
// as a console draws. Main thread only.

#include "engine/base/QelFontFace.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

class ScriptTextMetrics {
public:
    // The face of the font tag; null when the preferences list no such tag.
    // A listed font whose file cannot be read is measured with the default
    // font, as it is drawn.
    const QelFontFace* Face(const std::string& fontTag);

private:
    // The faces measured with so far, by file name and pixel size.
    std::map<std::pair<std::string, int>, std::unique_ptr<QelFontFace>> faces;
};
