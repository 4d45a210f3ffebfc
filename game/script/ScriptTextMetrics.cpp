#include "game/script/ScriptTextMetrics.h"

#include "game/world/AppData.h"
#include "game/world/PreferenceRules.h"

namespace {

// A later font of a tag replaces an earlier one, as the screens load them.
const PreferenceFont* FindListed(const std::vector<PreferenceFont>& fonts, const std::string& tag)
{
    const PreferenceFont* found = nullptr;
    for (const PreferenceFont& font : fonts)
        if (font.tag == tag)
            found = &font;
    return found;
}

}  // namespace

const QelFontFace* ScriptTextMetrics::Face(const std::string& fontTag)
{
    const std::vector<PreferenceFont> fonts = AppData::FontList(AppData::FontListKey());
    const PreferenceFont* listed = FindListed(fonts, fontTag);
    if (!listed)
        return nullptr;
    std::unique_ptr<QelFontFace>& face = faces[{listed->fileName, listed->size}];
    if (!face) {
        face = std::make_unique<QelFontFace>();
        face->LoadGameFont(listed->fileName, listed->size, false, listed->fileName + std::to_string(listed->size));
    }
    return face.get();
}
