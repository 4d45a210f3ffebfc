#pragma once
// The "signal" codes of the mission's screens (framing and conventions as in
// SignalMessage.h): what a mission sends a console to build its retained
// script screens and to show story dialogs, and what the console sends back.
// One record, one writer and one reader per code and direction.
//
// The mission side writes with WriteSignal (zmx's send_gui_* functions, for
// a client id); the console reads with ReadSignal and applies the record to
// its RetainedGUIManager. Code 35 carries one widget:
//
//     kind text tag style data parentTag font color   (texts: int16 length, bytes)
//     low high value                                  (floats)
//     index layer                                     (int32)
//     absolute ticked shown                           (int8, nonzero = true)
//     left top right bottom srcLeft srcTop srcRight srcBottom   (floats)

#include "game/guimodel/RetainedGUIWidget.h"
#include "game/guimodel/StoryDialogGUIManager.h"
#include "game/net/SignalMessage.h"
#include "game/world/EventMessage.h"

#include <cstdint>
#include <string>

// S->C 35: one widget for the console's tree; its numbers must fit
// (RetainedGUIWidget::NumbersFit).
struct RetainedWidgetSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_RGUI_WIDGET;
    // Bytes of a widget message besides its texts: the key 8, the code 2,
    // eight text lengths 16, eleven floats and two int32 52, three flags 3.
    static constexpr int32_t kFixedBytes = 81;
    RetainedGUIWidget widget;  // its child lists are not sent
};

// S->C 37 and 38: clear (start rebuilding) and complete (show what was built)
// the subtree under the tag; "" is the whole tree.
template <SignalMessageCode Code>
struct RetainedBuildSignal {
    static constexpr SignalMessageCode kCode = Code;
    std::string tag;
};
using RetainedClearSignal = RetainedBuildSignal<SIGNAL_MESS_RGUI_CLEAR>;
using RetainedCompleteSignal = RetainedBuildSignal<SIGNAL_MESS_RGUI_COMPLETE>;

// C->S 39: the crew acted on a widget. After the tag and the kind, only what
// the kind reports follows: a slider its value, a typein its text, a dropdown
// its text and index; other kinds nothing.
struct RetainedActionSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_RGUI_ACTION;
    std::string tag;
    std::string kind;
    float value = 0.0f;  // slider; finite
    std::string text;    // typein, dropdown
    int32_t index = 0;   // dropdown

    // The action a widget reports, from its current values.
    static RetainedActionSignal Of(const RetainedGUIWidget& widget);
};

// The script event "gui_message" of an action, as the server raises it for a
// console and for its own screen: sub_tag the widget's tag; a slider's value
// or a dropdown's index in sub_float; a typein's or dropdown's text in
// value_tag. The raiser sets the client id and the time.
EventMessage GuiMessageEvent(const RetainedActionSignal& action);

// S->C 83: "hide_gui_tag" and "show_gui_tag".
struct RetainedVisibilitySignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_RETAINED_VISIBILITY;
    std::string tag;  // not empty
    bool shown = true;
};

// S->C 88: "get_debug_gui_tree" asks the console for its tree.
struct DebugTreeRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_DEBUG_TREE;
    std::string tag;              // leads the answer's text
    int32_t visibleListFlag = 0;  // nonzero: the visible lists, else the background lists
};

// C->S 88: the console's answer. A text longer than the message holds is
// cut after its last whole line that fits.
struct DebugTreeTextSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_DEBUG_TREE;
    std::string text;
};

// S->C 94: a script hot key added ("send_gui_hotkey") or, with the key name
// "0", removed ("remove_gui_hotkey": category and description "0" too).
struct RetainedHotKeySignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_RGUI_HOTKEY;
    static constexpr const char* kRemoveKey = "0";
    std::string category;  // the hot key's context; not empty
    std::string tag;       // the widget it acts on; not empty
    std::string keyName;   // a "KEY_" tag, or kRemoveKey
    std::string description;

    bool Removes() const { return keyName == kRemoveKey; }
};

// S->C 56: a story dialog for the console's queue: title, text, face and
// colour, four texts. It arrives waiting (shown time 0).
struct StoryDialogSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_STORY_DIALOG;
    StoryDialogEntry entry;
};

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const RetainedBuildSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteString(signal.tag);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, RetainedBuildSignal<Code>& signal)
{
    message.ReadString(signal.tag);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const RetainedWidgetSignal& signal);
void WriteSignal(QelNetworkMessage& message, const RetainedActionSignal& signal);
void WriteSignal(QelNetworkMessage& message, const RetainedVisibilitySignal& signal);
void WriteSignal(QelNetworkMessage& message, const DebugTreeRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const DebugTreeTextSignal& signal);
void WriteSignal(QelNetworkMessage& message, const RetainedHotKeySignal& signal);
void WriteSignal(QelNetworkMessage& message, const StoryDialogSignal& signal);

bool ReadSignal(QelNetworkMessage& message, RetainedWidgetSignal& signal);
bool ReadSignal(QelNetworkMessage& message, RetainedActionSignal& signal);
bool ReadSignal(QelNetworkMessage& message, RetainedVisibilitySignal& signal);
bool ReadSignal(QelNetworkMessage& message, DebugTreeRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, DebugTreeTextSignal& signal);
bool ReadSignal(QelNetworkMessage& message, RetainedHotKeySignal& signal);
bool ReadSignal(QelNetworkMessage& message, StoryDialogSignal& signal);
