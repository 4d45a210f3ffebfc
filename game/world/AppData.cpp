#include "game/world/AppData.h"

#include "game/world/DocumentReader.h"
#include "game/world/JSONLoader.h"
#include "game/world/PreferenceRules.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/QelAssert.h"

#include <cmath>
#include <cstdlib>

namespace {

const char* const kDocument = "preferences";

constexpr float kDefaultVolume = 1.0f;

// What Load read and what the interface lists and the options screen keep
// beside it, for the whole run; Unload puts it back as it starts.
struct PreferenceState {
    JSONLoader document;
    bool loaded = false;
    float sfxVolume = kDefaultVolume;
    float guiVolume = kDefaultVolume;
    std::vector<std::string> standbyTexts;
    std::map<std::string, std::string> guiSounds;
};

PreferenceState gPreferences;

// Volumes stored as decimal text in the machine settings; an absent or empty
// value leaves the default.
float ReadVolume(const char* name)
{
    std::string text;
    if (!QelFileServices::Instance().GetRegistryValue(name, text) || text.empty())
        return kDefaultVolume;
    return static_cast<float>(std::atof(text.c_str()));
}

// The preference and where it comes from, for the errors of the getters.
DocumentField Preference(const std::string& key)
{
    const std::string& path = gPreferences.document.Path();
    return DocumentField(gPreferences.document.Get(key), path.empty() ? "the preferences (not loaded)" : path, key);
}

}  // namespace

// The document is read and checked whole before it replaces anything, so a
// failed Load leaves the preferences as they were and can be tried again.
void AppData::Load()
{
    if (gPreferences.loaded)
        return;
    JSONLoader loaded;
    loaded.Init(kDocument);
    CheckPreferences(DocumentReader(loaded.root, loaded.Path()));
    gPreferences.document = std::move(loaded);
    gPreferences.loaded = true;
    gPreferences.sfxVolume = ReadVolume("sfxVolume");
    gPreferences.guiVolume = ReadVolume("guiVolume");
}

void AppData::Unload()
{
    gPreferences = PreferenceState();
}

bool AppData::Has(const std::string& key)
{
    const Hjson::Value& value = gPreferences.document.Get(key);
    return value.defined() && value.type() != Hjson::Type::Null;
}

// The getters run every frame and tick; the common case reads the value in
// place, and only a value that needs converting or refusing builds the
// field that names it.
std::string AppData::GetString(const std::string& key)
{
    const Hjson::Value& value = gPreferences.document.Get(key);
    if (value.type() == Hjson::Type::Vector || value.type() == Hjson::Type::Map)
        Preference(key).Fail("text");
    return value.to_string();
}

float AppData::GetFloat(const std::string& key)
{
    const Hjson::Value& value = gPreferences.document.Get(key);
    switch (value.type()) {
    case Hjson::Type::Undefined:
    case Hjson::Type::Null: return 0.0f;
    case Hjson::Type::Double:
    case Hjson::Type::Int64:
        if (std::fabs(value.to_double()) <= kAnyFloat.high)
            return static_cast<float>(value.to_double());
        break;
    default: break;
    }
    return static_cast<float>(Preference(key).Number(kAnyFloat));
}

int AppData::GetInt(const std::string& key)
{
    const Hjson::Value& value = gPreferences.document.Get(key);
    if (value.type() == Hjson::Type::Int64 && value.to_int64() >= kAnyInt32.low && value.to_int64() <= kAnyInt32.high)
        return static_cast<int>(value.to_int64());
    return Preference(key).Integer(kAnyInt32);
}

std::string AppData::FontListKey()
{
    return Has("use_large_fonts") && GetInt("use_large_fonts") != 0 ? "large_fonts" : "fonts";
}

std::vector<PreferenceFont> AppData::FontList(const std::string& listKey)
{
    return ReadFontList(Preference(listKey));
}

void AppData::LoadFontList(std::map<std::string, QelBitmapFont*>& fonts, const std::string& listKey)
{
    QEL_ASSERT(gGraphicsFactory != nullptr, "AppData::LoadFontList needs the graphics service");
    for (const PreferenceFont& font : FontList(listKey))
        fonts[font.tag] = gGraphicsFactory->LoadFont(font.fileName, font.size);
}

void AppData::LoadStandbyText()
{
    for (std::string& text : ReadTextList(Preference("standby-text")))
        gPreferences.standbyTexts.push_back(std::move(text));
}

void AppData::LoadGuiSounds()
{
    for (auto& [event, sound] : ReadSoundMaps(Preference("gui-sounds")))
        gPreferences.guiSounds[event] = std::move(sound);
}

float AppData::SfxVolume()
{
    return gPreferences.sfxVolume;
}

void AppData::SetSfxVolume(float volume)
{
    gPreferences.sfxVolume = volume;
}

float AppData::GuiVolume()
{
    return gPreferences.guiVolume;
}

void AppData::SetGuiVolume(float volume)
{
    gPreferences.guiVolume = volume;
}

const std::vector<std::string>& AppData::StandbyTexts()
{
    return gPreferences.standbyTexts;
}

void AppData::SetStandbyTexts(std::vector<std::string> texts)
{
    gPreferences.standbyTexts = std::move(texts);
}

const std::map<std::string, std::string>& AppData::GuiSounds()
{
    return gPreferences.guiSounds;
}
