// The console's "signal" family for its own screen: the console and its
// widgets, the boxes the mission places, the state of a widget's boxes that
// the mission asks for, speech bubbles over radar contacts, and sounds heard
// in the world. What concerns the screen goes to this machine's
// ConsoleScreen; a program without one ignores it.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalHandling.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>

namespace {

// 2.
void HandleSpeechBubble(QelNetworkMessage& message, ConsoleScreen* screen)
{
    SpeechBubbleSignal bubble;
    if (ReadSignalOrReport(message, bubble, kClientSignalHandler) && screen)
        screen->SetSpeechBubble(bubble.objectId, bubble.seconds, bubble.colour, bubble.text);
}

// 54: the names are joined by '^'; runs of it separate like one.
void HandleWidgetList(QelNetworkMessage& message, ConsoleScreen* screen)
{
    WidgetListSignal list;
    if (!ReadSignalOrReport(message, list, kClientSignalHandler) || !screen)
        return;
    std::vector<std::string> widgets;
    Tokenize(list.widgetList, widgets, "^");
    screen->SetConsole(list.consoleType, widgets);
}

// 60: the box of the console shown now. A box needs a name to be found by:
// with neither a console nor a widget name there is nothing to place.
void HandleBoxRects(QelNetworkMessage& message, ConsoleScreen* screen)
{
    GuiBoxSetRectSignal box;
    if (!ReadSignalOrReport(message, box, kClientSignalHandler) || !screen)
        return;
    const std::string console = screen->ConsoleName();
    if (console.empty() && box.widgetName.empty()) {
        ReportRejectedMessage(kClientSignalHandler, message, "a box rectangle names neither console nor widget");
        return;
    }
    std::array<float, 8> rects{};
    std::copy(std::begin(box.rects), std::end(box.rects), rects.begin());
    screen->SetBoxRects(console, box.widgetName, rects);
}

// 61: heard by this console's mirror; the server's own world queues its own.
void HandleSoundEvent(QelNetworkMessage& message)
{
    SoundEventSignal sound;
    if (!ReadSignalOrReport(message, sound, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->QueueSoundEvent(sound.name, glm::vec3(sound.x, sound.y, sound.z), 0);
}

// 96.
void HandleWidgetBoxStateQuery(QelNetworkMessage& message, ConsoleScreen* screen)
{
    WidgetBoxStateQuerySignal query;
    if (ReadSignalOrReport(message, query, kClientSignalHandler) && screen)
        screen->ReportWidgetBoxes(query.widgetName, query.fullScreenFlag != 0 ? 1 : 0);
}

}  // namespace

ConsoleScreen* ClientConsoleScreen(const CorvaneClient* client)
{
    return client ? client->Screen() : nullptr;
}

bool HandleClientConsoleSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    ConsoleScreen* const screen = ClientConsoleScreen(client);
    switch (code) {
    case SIGNAL_MESS_SPEECH_BUBBLE: HandleSpeechBubble(message, screen); return true;
    case SIGNAL_MESS_WIDGET_LIST: HandleWidgetList(message, screen); return true;
    case SIGNAL_MESS_GUIBOX_SET_RECT: HandleBoxRects(message, screen); return true;
    case SIGNAL_MESS_SFX: HandleSoundEvent(message); return true;
    case SIGNAL_MESS_WIDGET_BOX_STATE_QUERY: HandleWidgetBoxStateQuery(message, screen); return true;
    default: return false;
    }
}
