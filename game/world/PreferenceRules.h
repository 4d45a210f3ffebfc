#pragma once
// Every preference the game reads, declared once with what it holds and the
// values it may take. AppData::Load checks the whole preferences document
// against these rules, so a wrong value stops start-up with one line naming
// the file, the key, the value and what was expected, and no getter ever
// meets a value it cannot use.
//
// A new preference is declared in the table of PreferenceRules.cpp (with the
// reason for its range where it is not obvious) and then read with the
// AppData getters; a key of the preferences file that no rule declares is
// reported as ignored.

#include "game/world/DocumentReader.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class PreferenceKind {
    Integer,         // a whole number from low to high
    Number,          // a number from low to high
    Text,            // text of at most `high` bytes
    Colour,          // a colour the colour parser reads
    ColourOrEmpty,   // the same, or "" for the default colour
    DataName,        // a file below the data folder, or "" for none
    FolderName,      // one folder name (no '/'), or "" for none
    YesNo,           // "yes" or "no"
    FontList,        // [{tag, filename, size}, ...]
    TextList,        // [text, ...] with at least one element
    SoundMapList,    // [{event: sound name, ...}, ...]
};

struct PreferenceRule {
    std::string_view key;
    PreferenceKind kind;
    bool required;  // the game cannot start without it
    double low;
    double high;
};

// The rule of the key, or null when no rule declares it.
const PreferenceRule* FindPreferenceRule(std::string_view key);

// Checks the value against the rule; throws JSONLoaderError naming both when
// it is absent but required, or present and wrong.
void CheckPreference(const PreferenceRule& rule, const DocumentField& value);

// Checks every declared preference of the document, then writes one line to
// standard error for each key that no rule declares (a misspelt key would
// otherwise be ignored in silence).
void CheckPreferences(const DocumentReader& preferences);

// One font of a font list.
struct PreferenceFont {
    std::string tag;
    std::string fileName;  // checked: a file name inside the data folder
    int size;              // pixels
};

// The lists of the preferences, read whole or refused with an error that
// names the element.
std::vector<PreferenceFont> ReadFontList(const DocumentField& list);
std::vector<std::string> ReadTextList(const DocumentField& list);
// The (event, sound name) pairs of every map, in document order.
std::vector<std::pair<std::string, std::string>> ReadSoundMaps(const DocumentField& list);
