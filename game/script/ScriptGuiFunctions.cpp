// Module functions of zmx that build the retained GUIs of the consoles and of
// the server's own screen: the seventeen that place one widget each
// (ScriptWidgetMembers), the clear and complete of a part of the tree,
// hiding and showing by tag, the debug dump of a tree, the script's hot keys
// and story dialogs. Client 0 is the server's own retained GUI and story
// dialog queue, changed in place; a client id gets one reliable "signal".

#include "game/net/RetainedGUISignals.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptWidgetMembers.h"

#include <utility>

namespace zmx {
namespace {

constexpr uint32_t kReliable = ServerMessageSink::kReliable;
constexpr float kMaxCoordinate = RetainedGUIWidget::kMaxCoordinate;

// The retained GUI of the server's own screen, client 0's.
RetainedGUIManager& ServerGui()
{
    return theMissionScript.Screen().RetainedGUI();
}

// ---- widgets ----

// What a console could not place is refused here, naming what is wrong: a
// rectangle or value that is no number or beyond any screen, or texts that
// together overflow one message.
void RequireSendable(const RetainedGUIWidget& w, const char* function)
{
    RequireFinite(w.low, function, "style key low");
    RequireFinite(w.high, function, "style key high");
    for (const float edge : {w.srcLeft, w.srcTop, w.srcRight, w.srcBottom})
        RequireWithin(edge, -kMaxCoordinate, kMaxCoordinate, function, "style's source rectangle (sub_*)");
    CheckTextsFit({&w.kind, &w.text, &w.tag, &w.style, &w.data, &w.parentTag, &w.font, &w.color}, function);
}

void RequirePlace(const std::array<float, 4>& rect, const char* function)
{
    constexpr const char* kEdges[] = {"left", "top", "right", "bottom"};
    for (size_t i = 0; i < rect.size(); ++i)
        RequireWithin(rect[i], -kMaxCoordinate, kMaxCoordinate, function, kEdges[i]);
}

// To the server's own retained GUI for client 0, else to that console.
void SendScriptGuiWidget(uint64_t clientID, RetainedGUIWidget widget)
{
    if (clientID == 0)
        ServerGui().AddWidget(std::move(widget));
    else
        SendSignalToClient(clientID, RetainedWidgetSignal{std::move(widget)}, kReliable);
}

// One member of the family: its descriptor from the arguments and the
// style, checked whole before it goes anywhere. The slider's current value
// is its only extra.
void PlaceWidget(const ScriptWidgetMember& member, uint64_t clientID, const std::string& parent,
                 const std::string& tag, const std::string& style, const std::array<float, 4>& rect,
                 float current = 0.0f)
{
    RequireClientOrServer(clientID, member.function, "clientID");
    RequirePlace(rect, member.function);
    RetainedGUIWidget widget = BuildScriptWidget(member, {parent, tag, rect}, style);
    widget.value = current;
    RequireSendable(widget, member.function);
    SendScriptGuiWidget(clientID, std::move(widget));
}

template <size_t Member>
void SendGuiWidget(uint64_t clientID, const std::string& parent, const std::string& tag, const std::string& style,
                   float left, float top, float right, float bottom)
{
    PlaceWidget(kScriptWidgetMembers[Member], clientID, parent, tag, style, {left, top, right, bottom});
}

constexpr size_t kSliderMember = 4;

void SendGuiSlider(uint64_t clientID, const std::string& parent, const std::string& tag, float current,
                   const std::string& style, float left, float top, float right, float bottom)
{
    const ScriptWidgetMember& slider = kScriptWidgetMembers[kSliderMember];
    RequireFinite(current, slider.function, "current");
    PlaceWidget(slider, clientID, parent, tag, style, {left, top, right, bottom}, current);
}

// ---- the tree ----

void SendGuiClear(uint64_t clientID, const std::string& tag)
{
    RequireClientOrServer(clientID, "send_gui_clear", "clientID");
    CheckTextFits(tag, "send_gui_clear");
    if (clientID == 0)
        ServerGui().SetBuilding(true, tag);
    else
        SendSignalToClient(clientID, RetainedClearSignal{tag}, kReliable);
}

void SendGuiComplete(uint64_t clientID, const std::string& tag)
{
    RequireClientOrServer(clientID, "send_gui_complete", "clientID");
    CheckTextFits(tag, "send_gui_complete");
    if (clientID == 0)
        ServerGui().SetBuilding(false, tag);
    else
        SendSignalToClient(clientID, RetainedCompleteSignal{tag}, kReliable);
}

// Hiding needs a tag: the empty one names no widget a script placed.
void SetGuiTagShown(uint64_t clientID, const std::string& tag, bool shown, const char* function)
{
    RequireClientOrServer(clientID, function, "clientID");
    RequireText(tag, function, "tag");
    CheckTextFits(tag, function);
    if (clientID == 0)
        ServerGui().SetHidden(tag, shown);
    else
        SendSignalToClient(clientID, RetainedVisibilitySignal{tag, shown}, kReliable);
}

void HideGuiTag(uint64_t clientID, const std::string& tag)
{
    SetGuiTagShown(clientID, tag, false, "hide_gui_tag");
}

void ShowGuiTag(uint64_t clientID, const std::string& tag)
{
    SetGuiTagShown(clientID, tag, true, "show_gui_tag");
}

// The text comes back as the event "debug_rgui_tree": from the server's own
// tree at the next mission tick, from a console when it answers.
void GetDebugGuiTree(uint64_t clientID, const std::string& tag, int32_t displayListFlag)
{
    RequireClientOrServer(clientID, "get_debug_gui_tree", "clientID");
    CheckTextFits(tag, "get_debug_gui_tree");
    if (clientID == 0)
        theMissionScript.debugTreeRequests.push_back(ServerGui().DumpTree(tag, displayListFlag != 0));
    else
        SendSignalToClient(clientID, DebugTreeRequestSignal{tag, displayListFlag}, kReliable);
}

// ---- hot keys ----

void RequireHotKeyNames(const std::string& category, const std::string& tag, const char* function)
{
    RequireText(category, function, "category");
    RequireText(tag, function, "tag");
}

void SendGuiHotkey(uint64_t clientID, const std::string& category, const std::string& tag,
                   const std::string& keyType, const std::string& description)
{
    constexpr const char* kName = "send_gui_hotkey";
    RequireClientOrServer(clientID, kName, "clientID");
    RequireHotKeyNames(category, tag, kName);
    CheckTextsFit({&category, &tag, &keyType, &description}, kName);
    if (clientID == 0)
        ServerGui().AddHotKey(category, tag, keyType, description);
    else
        SendSignalToClient(clientID, RetainedHotKeySignal{category, tag, keyType, description}, kReliable);
}

void RemoveGuiHotkey(uint64_t clientID, const std::string& tag)
{
    constexpr const char* kName = "remove_gui_hotkey";
    constexpr const char* kRemove = RetainedHotKeySignal::kRemoveKey;
    RequireClientOrServer(clientID, kName, "clientID");
    RequireText(tag, kName, "tag");
    CheckTextFits(tag, kName);
    if (clientID == 0)
        ServerGui().RemoveHotKey(tag);
    else
        SendSignalToClient(clientID, RetainedHotKeySignal{kRemove, tag, kRemove, kRemove}, kReliable);
}

// ---- story dialogs ----

void SendStoryDialog(uint64_t clientID, const std::string& title, const std::string& text, const std::string& face,
                     const std::string& color)
{
    RequireClientOrServer(clientID, "send_story_dialog", "clientID");
    CheckTextsFit({&title, &text, &face, &color}, "send_story_dialog");
    const StoryDialogEntry entry{title, text, face, color, 0};
    if (clientID == 0)
        theMissionScript.Screen().StoryDialogs().Push(entry);
    else
        SendSignalToClient(clientID, StoryDialogSignal{entry}, kReliable);
}

template <size_t Member>
void AddWidgetFunction(FunctionTable& table)
{
    const ScriptWidgetMember& member = kScriptWidgetMembers[Member];
    if constexpr (Member == kSliderMember) {
        table.Add(member.function, &SendGuiSlider, member.doc, py::arg("clientID"), py::arg("parent"),
                  py::arg("tag"), py::arg("current"), py::arg("style"), py::arg("left"), py::arg("top"),
                  py::arg("right"), py::arg("bottom"));
    } else {
        table.Add(member.function, &SendGuiWidget<Member>, member.doc, py::arg("clientID"), py::arg("parent"),
                  py::arg("tag"), py::arg(member.styled ? "style" : "face_string"), py::arg("left"),
                  py::arg("top"), py::arg("right"), py::arg("bottom"));
    }
}

template <size_t... Members>
void AddWidgetFunctions(FunctionTable& table, std::index_sequence<Members...>)
{
    (AddWidgetFunction<Members>(table), ...);
}

}  // namespace

void AddGuiFunctions(FunctionTable& table)
{
    AddWidgetFunctions(table, std::make_index_sequence<kScriptWidgetMembers.size()>());
    table.Add("send_gui_clear", &SendGuiClear,
              "Clears all GUI elements from screen, on the targeted client (0 = server screen).  remember to use "
              "send_gui_complete after adding widgets.",
              py::arg("clientID"), py::arg("tag"));
    table.Add("send_gui_complete", &SendGuiComplete,
              "Flips double-buffered GUI display list, on the targeted client (0 = server screen).  Use after a "
              "send_gui_clear() and some send_gui* calls",
              py::arg("clientID"), py::arg("tag"));
    table.Add("send_story_dialog", &SendStoryDialog, "sends a story dialog to the targeted client (0 = server screen)",
              py::arg("clientID"), py::arg("title"), py::arg("text"), py::arg("face"), py::arg("color"));
    table.Add("hide_gui_tag", &HideGuiTag, "makes a GUI element invisible, on the targeted client (0 = server screen)",
              py::arg("clientID"), py::arg("tag"));
    table.Add("show_gui_tag", &ShowGuiTag, "makes a GUI element visible, on the targeted client (0 = server screen)",
              py::arg("clientID"), py::arg("tag"));
    table.Add("get_debug_gui_tree", &GetDebugGuiTree,
              "sends a GUI debug message from the targeted client (0 = server screen)", py::arg("clientID"),
              py::arg("tag"), py::arg("displayListFlag"));
    table.Add("send_gui_hotkey", &SendGuiHotkey,
              "tells the targeted client (0 = server screen) to handle a hot key for a certain retained gui element.",
              py::arg("clientID"), py::arg("category"), py::arg("tag"), py::arg("keyType"), py::arg("description"));
    table.Add("remove_gui_hotkey", &RemoveGuiHotkey,
              "tells the targeted client (0 = server screen) to delete an existing hot key for a certain retained "
              "gui element.",
              py::arg("clientID"), py::arg("tag"));
}

}  // namespace zmx
