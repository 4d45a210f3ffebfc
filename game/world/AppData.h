#pragma once
// The preferences: one document ("preferences") read once at start-up, typed
// getters by key that every subsystem calls, and the lists the interface loads
// from it (fonts, standby texts, interface sounds).

#include <map>
#include <string>
#include <vector>

class QelBitmapFont;

class AppData {
public:
    // Reads data/preferences.yaml (else .json) and the volumes kept in the
    // machine settings. Only the first successful call does anything.
    static void Load();

    // Forgets what Load read, so that the next Load reads again (tests).
    static void Unload();

    // The preference as text; "" when absent.
    static std::string GetString(const std::string& key);

    // The preference as a number; 0 when absent, null or not numeric text.
    static float GetFloat(const std::string& key);

    // The preference as an integer: a Double truncated toward zero, an Int64's
    // low 32 bits. Throws JSONLoaderError naming the key when it is absent or
    // null, and Hjson::type_mismatch for any other type.
    static int GetInt(const std::string& key);

    // Loads every font of the preference list `listKey` ("fonts" or
    // "large_fonts"), each {tag, filename, size}, through the graphics service,
    // into the map by tag (a later font of a tag replaces the earlier one).
    static void LoadFontList(std::map<std::string, QelBitmapFont*>& fonts, const std::string& listKey);

    // Appends each element of "standby-text" to standbyText.
    static void LoadStandbyText();

    // Copies the maps of the list "gui-sounds" into guiSounds, later entries
    // replacing earlier ones of the same name.
    static void LoadGuiSounds();

    static float sfxVolume;                             // 0..1, registry "sfxVolume", 1 when unset
    static float guiVolume;                             // 0..1, registry "guiVolume", 1 when unset
    static std::vector<std::string> standbyText;        // shown while a console waits
    static std::map<std::string, std::string> guiSounds;  // interface event -> sound name
};
