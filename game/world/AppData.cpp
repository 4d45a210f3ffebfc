#include "game/world/AppData.h"

#include "game/world/JSONLoader.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/QelAssert.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

float AppData::sfxVolume = 1.0f;
float AppData::guiVolume = 1.0f;
std::vector<std::string> AppData::standbyText;
std::map<std::string, std::string> AppData::guiSounds;

namespace {

const char* const kDocument = "preferences";

// Font sizes come from the data: a glyph taller than a large window is a typo,
// and its glyph atlas would not fit in a texture.
constexpr int kMaxFontPixels = 1024;

JSONLoader gPreferences;
bool gLoaded = false;

// Volumes stored as decimal text in the machine settings; an absent or empty
// value leaves the default.
float ReadVolume(const char* name)
{
    std::string text;
    if (!QelFileServices::Instance().GetRegistryValue(name, text) || text.empty())
        return 1.0f;
    return static_cast<float>(std::atof(text.c_str()));
}

// The callers need the value and handle no failure, so an absent or null one
// stops the program with a message that names it.
const Hjson::Value& Require(const Hjson::Value& value, const std::string& what)
{
    if (value.type() == Hjson::Type::Undefined)
        throw JSONLoaderError("The preference " + what + " is missing from data/" + kDocument + ".");
    if (value.type() == Hjson::Type::Null)
        throw JSONLoaderError("The preference " + what + " is null in data/" + kDocument + ".");
    return value;
}

// A Double truncated toward zero (clamped, so a huge one cannot overflow), an
// Int64's low 32 bits.
int ToInt(const Hjson::Value& value)
{
    if (value.type() != Hjson::Type::Double && value.type() != Hjson::Type::Int64)
        throw Hjson::type_mismatch("Must be of type Double or Int64 for that operation.");
    return static_cast<int>(static_cast<uint32_t>(value.to_int64()));
}

std::string Quoted(const std::string& key)
{
    return "\"" + key + "\"";
}

std::string ElementName(const std::string& listKey, int index)
{
    return Quoted(listKey) + "[" + std::to_string(index) + "]";
}

}  // namespace

void AppData::Load()
{
    if (gLoaded)
        return;
    gPreferences.Init(kDocument);
    gLoaded = true;
    sfxVolume = ReadVolume("sfxVolume");
    guiVolume = ReadVolume("guiVolume");
}

void AppData::Unload()
{
    gPreferences.root = Hjson::Value();
    gLoaded = false;
    sfxVolume = 1.0f;
    guiVolume = 1.0f;
    standbyText.clear();
    guiSounds.clear();
}

std::string AppData::GetString(const std::string& key)
{
    return gPreferences.GetString(key);
}

float AppData::GetFloat(const std::string& key)
{
    return static_cast<float>(gPreferences.Get(key).to_double());
}

int AppData::GetInt(const std::string& key)
{
    return ToInt(Require(gPreferences.Get(key), Quoted(key)));
}

void AppData::LoadFontList(std::map<std::string, QelBitmapFont*>& fonts, const std::string& listKey)
{
    QEL_ASSERT(gGraphicsFactory != nullptr, "AppData::LoadFontList needs the graphics service");
    const Hjson::Value& list = gPreferences.Get(listKey);
    const int count = gPreferences.GetCount(listKey);
    for (int i = 0; i < count; ++i) {
        const Hjson::Value& font = Require(list[i], ElementName(listKey, i));
        const std::string tag = font["tag"].to_string();
        const std::string fileName = font["filename"].to_string();
        const int size = ToInt(font["size"]);
        const std::optional<std::string> checkedName = qel::CheckDataName(fileName);
        if (!checkedName) {
            throw JSONLoaderError("The font file \"" + fileName + "\" of the preference " +
                                  ElementName(listKey, i) + " is not a file name inside the data folder.");
        }
        if (size < 1 || size > kMaxFontPixels) {
            throw JSONLoaderError("The font size " + std::to_string(size) + " of the preference " +
                                  ElementName(listKey, i) + " is not between 1 and " +
                                  std::to_string(kMaxFontPixels) + " pixels.");
        }
        fonts[tag] = gGraphicsFactory->LoadFont(*checkedName, size);
    }
}

void AppData::LoadStandbyText()
{
    const char* const listKey = "standby-text";
    const Hjson::Value& list = gPreferences.Get(listKey);
    const int count = gPreferences.GetCount(listKey);
    for (int i = 0; i < count; ++i)
        standbyText.push_back(Require(list[i], ElementName(listKey, i)).to_string());
}

void AppData::LoadGuiSounds()
{
    const Hjson::Value& list = gPreferences.Get("gui-sounds");
    const int count = gPreferences.GetCount("gui-sounds");
    for (int i = 0; i < count; ++i) {
        const Hjson::Value& sounds = list[i];
        if (sounds.type() != Hjson::Type::Map)
            continue;
        for (int j = 0; j < static_cast<int>(sounds.size()); ++j)
            guiSounds[sounds.key(j)] = sounds[j].to_string();
    }
}
