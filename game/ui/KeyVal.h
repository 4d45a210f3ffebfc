#pragma once
// Hot keys: every keyboard shortcut of the game is a named hot key of a
// context ("OPT" for the client screens, "GUI_WIDGET", a script's category),
// asked for each frame with isHotKeyPressed or isHotKeyHeld:
//
//   if (isHotKeyPressed("OPT", "toggle_log", qel::vk::kF1 + 6, "show or hide the console log")) ...
//
// The first query of a name adds it with its default key and description and
// rewrites data/hot_key_settings.txt, so the file always lists every hot key
// the program has used; users rebind keys by editing it (KeyVal::Load reads
// it once at start-up). Keys are stored as virtual-key numbers and named in
// the file by the tags of KeyNames.h.
//
// While a text box holds the keyboard every query answers false, so typing
// never fires a shortcut; a caller whose next query must work while typing
// calls KeyVal::AnswerNextWhileTyping just before it. Main thread only.

#include <array>
#include <cstdint>
#include <map>
#include <string>

struct HotKey {
    static constexpr int kMaxModifiers = 5;

    int32_t primary = 0;                              // virtual key; 0: not bound
    std::array<int32_t, kMaxModifiers> modifiers{};   // the list ends at the first 0
    std::array<bool, kMaxModifiers> notFlags{};       // set: that modifier must be up
    std::string internalName;                         // context + "_" + name
    std::string description;

    bool operator==(const HotKey&) const = default;
};

class KeyVal {
public:
    // Whether the hot key was pressed this frame (held: is down) with its
    // modifiers as it requires. The default modifier (a virtual key, 0 for
    // none) must be held with the default key.
    static bool QueryPressed(const std::string& context, const std::string& name, int32_t defaultKey,
                             int32_t defaultModifier, const std::string& description);
    static bool QueryHeld(const std::string& context, const std::string& name, int32_t defaultKey,
                          int32_t defaultModifier, const std::string& description);

    // Reads the hot-key file into the table; a missing file leaves it empty.
    static void Load();
    // Rewrites the hot-key file from the table (atomically: the old file stays
    // whole until the new one is complete).
    static void Save();

    // The hot key of an internal name, or null.
    static const HotKey* Find(const std::string& internalName);
    static const std::map<std::string, HotKey>& Table();
    // The next query answers even while a text box holds the keyboard; the
    // one after it no longer does.
    static void AnswerNextWhileTyping();
    // Forgets every hot key, so that the next Load starts afresh (tests).
    static void Unload();
};

// KeyVal::QueryPressed and KeyVal::QueryHeld without a default modifier.
bool isHotKeyPressed(const std::string& context, const std::string& name, int32_t defaultKey,
                     const std::string& description);
bool isHotKeyHeld(const std::string& context, const std::string& name, int32_t defaultKey,
                  const std::string& description);
