#pragma once
// The preferences: one document ("preferences") read once at start-up and
// checked whole against the rules of PreferenceRules.h, typed getters by key
// that every subsystem calls, and the lists the interface loads from it
// (fonts, standby texts, interface sounds). A preference the game reads is
// declared there with its range; the getters then never meet a value that
// the rules refused. Every error names the file read, the key and the value.

#include <map>
#include <string>
#include <vector>

class QelBitmapFont;
struct PreferenceFont;

class AppData {
public:
    // Reads data/preferences.yaml (else .json), checks every declared
    // preference and reads the volumes kept in the machine settings. Throws
    // JSONLoaderError (or the Hjson syntax error) naming the file, the key and
    // the value when the document cannot be used, and then keeps nothing.
    // Only the first successful call does anything.
    static void Load();

    // Forgets what Load read, so that the next Load reads again (tests).
    static void Unload();

    // Whether the preferences hold a value under the key: present and not null.
    static bool Has(const std::string& key);

    // The preference as text; "" when absent. A list or a map throws
    // JSONLoaderError naming the key.
    static std::string GetString(const std::string& key);

    // The preference as a number (written with or without quotes); 0 when
    // absent or null. Anything else throws JSONLoaderError naming the key.
    static float GetFloat(const std::string& key);

    // The preference as an integer, a number with a fraction cut toward zero.
    // Throws JSONLoaderError naming the key when it is absent, null, not a
    // number or beyond an int.
    static int GetInt(const std::string& key);

    // The preference list of the screen's fonts: "large_fonts" when
    // "use_large_fonts" is set, else "fonts".
    static std::string FontListKey();
    // The fonts of the preference list `listKey`, each {tag, filename, size},
    // in document order. A list that cannot be used throws naming the element.
    static std::vector<PreferenceFont> FontList(const std::string& listKey);
    // Loads every font of the list through the graphics service into the map
    // by tag (a later font of a tag replaces the earlier one). A list that
    // cannot be used throws before any font is loaded.
    static void LoadFontList(std::map<std::string, QelBitmapFont*>& fonts, const std::string& listKey);

    // Appends each element of "standby-text" to the standby texts.
    static void LoadStandbyText();

    // Copies the maps of the list "gui-sounds" into the interface sounds,
    // later entries replacing earlier ones of the same name.
    static void LoadGuiSounds();

    // The volumes the player set, kept in the machine settings and read by
    // Load; 1 until then or when unset. The options screen changes them for
    // the rest of the run and stores them when it is left.
    static float SfxVolume();  // 0..1, registry "sfxVolume": sound effects and engine loops
    static void SetSfxVolume(float volume);
    static float GuiVolume();  // 0..1, registry "guiVolume": interface sounds
    static void SetGuiVolume(float volume);

    // The texts a console shows while it waits, one picked at random.
    static const std::vector<std::string>& StandbyTexts();
    static void SetStandbyTexts(std::vector<std::string> texts);

    // Interface event -> sound name.
    static const std::map<std::string, std::string>& GuiSounds();
};
