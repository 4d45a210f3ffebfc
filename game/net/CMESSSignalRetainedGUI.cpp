// The console's "signal" family for the mission's screens: the widgets,
// builds, visibility and hot keys of its script screens go to the retained
// GUI of the console's screen, a request for its tree is answered with the
// tree's text, and story dialogs join the screen's queue. A program without
// a screen (or a program without a client) drops them.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/SignalHandling.h"

namespace {

// 35.
void HandleWidget(QelNetworkMessage& message, ConsoleScreen* screen)
{
    RetainedWidgetSignal signal;
    if (ReadSignalOrReport(message, signal, kClientSignalHandler) && screen)
        screen->RetainedGUI().AddWidget(std::move(signal.widget));
}

// 37 and 38.
template <SignalMessageCode Code>
void HandleBuild(QelNetworkMessage& message, ConsoleScreen* screen, bool clear)
{
    RetainedBuildSignal<Code> signal;
    if (ReadSignalOrReport(message, signal, kClientSignalHandler) && screen)
        screen->RetainedGUI().SetBuilding(clear, signal.tag);
}

// 83.
void HandleVisibility(QelNetworkMessage& message, ConsoleScreen* screen)
{
    RetainedVisibilitySignal signal;
    if (ReadSignalOrReport(message, signal, kClientSignalHandler) && screen)
        screen->RetainedGUI().SetHidden(signal.tag, signal.shown);
}

// 88: the tree's text goes back at once.
void HandleDebugTreeRequest(QelNetworkMessage& message, ConsoleScreen* screen)
{
    DebugTreeRequestSignal request;
    if (!ReadSignalOrReport(message, request, kClientSignalHandler) || !screen)
        return;
    const DebugTreeTextSignal answer{screen->RetainedGUI().DumpTree(request.tag, request.visibleListFlag != 0)};
    WriteSignal(StartClientMessage("signal"), answer);
    SendClientMessage();
}

// 94.
void HandleHotKey(QelNetworkMessage& message, ConsoleScreen* screen)
{
    RetainedHotKeySignal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler) || !screen)
        return;
    RetainedGUIManager& gui = screen->RetainedGUI();
    if (signal.Removes())
        gui.RemoveHotKey(signal.tag);
    else
        gui.AddHotKey(signal.category, signal.tag, signal.keyName, signal.description);
}

// 56.
void HandleStoryDialog(QelNetworkMessage& message, ConsoleScreen* screen)
{
    StoryDialogSignal signal;
    if (ReadSignalOrReport(message, signal, kClientSignalHandler) && screen)
        screen->StoryDialogs().Push(signal.entry);
}

}  // namespace

bool HandleClientRetainedGUISignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    ConsoleScreen* const screen = ClientConsoleScreen(client);
    switch (code) {
    case SIGNAL_MESS_RGUI_WIDGET: HandleWidget(message, screen); return true;
    case SIGNAL_MESS_RGUI_CLEAR: HandleBuild<SIGNAL_MESS_RGUI_CLEAR>(message, screen, true); return true;
    case SIGNAL_MESS_RGUI_COMPLETE: HandleBuild<SIGNAL_MESS_RGUI_COMPLETE>(message, screen, false); return true;
    case SIGNAL_MESS_RETAINED_VISIBILITY: HandleVisibility(message, screen); return true;
    case SIGNAL_MESS_DEBUG_TREE: HandleDebugTreeRequest(message, screen); return true;
    case SIGNAL_MESS_RGUI_HOTKEY: HandleHotKey(message, screen); return true;
    case SIGNAL_MESS_STORY_DIALOG: HandleStoryDialog(message, screen); return true;
    default: return false;
    }
}
