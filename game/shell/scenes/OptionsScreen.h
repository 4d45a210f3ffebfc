#pragma once
// What the options screens share: the backdrop with the watermark logo, the
// column of buttons down the left edge, and buttons that answer their hot
// key of the context "OPT" in the same frame, as the click would.

#include "engine/base/QelVirtualKeys.h"

#include <cstdint>
#include <string>

class UIContext;

struct MenuBackdrop;

// A hot key of the options screens: its name, default virtual key and the
// description the hot-key file lists.
struct OptionsHotKey {
    const char* name;
    int32_t defaultKey;
    const char* description;
};

// The virtual key of a letter, as hot keys default to.
constexpr int32_t LetterKey(char letter)
{
    return qel::vk::kLetterA + (letter - 'A');
}

// Escape leaves every options screen as its first button does.
constexpr OptionsHotKey kOptionsLeaveKey{"options_leave", qel::vk::kEscape,
                                         "leaves an options screen as its Continue, Back or Exit button does"};

// "Continue" of the options, and "Back" of the screens they lead to.
constexpr OptionsHotKey kContinueKey{"continue_button", LetterKey('C'), "clicks Continue button on client"};

// The first button of the column; each screen numbers its controls on from it.
constexpr int32_t kOptionsFirstId = 11;
constexpr int kOptionsLayer = 1000;

// The menu backdrop, the logo faint across the middle of the window, and the
// current rectangle at the column's first button.
void BeginOptionsScreen(UIContext& ui, const MenuBackdrop& backdrop);

// Whether the hot key was pressed this frame. Ask only where its button is
// drawn: a hot key of a button that is not shown does nothing.
bool OptionsHotKeyPressed(const OptionsHotKey& hotKey);

// A button of the column (font "gui-2"): true when clicked or its hot key
// was pressed this frame.
bool OptionsButton(UIContext& ui, int32_t id, const std::string& label, const OptionsHotKey& hotKey);

