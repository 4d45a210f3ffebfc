// The console's handler of "signal": every notification the server sends. The
// families apply what they know; a code that no family takes leaves the
// console unchanged.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"

void ClientMessageHookSignal(QelNetworkMessage* message)
{
    uint16_t code = 0;
    if (!ReadSignalCode(*message, code))
        return;
    if (HandleClientWorldSignal(code, *message) || HandleClientNavigationSignal(code, *message) ||
        HandleClientGridSignal(code, *message))
        return;
    if (HandleClientConnectionSignal(code, *message))
        return;
    if (HandleClientRetainedGUISignal(code, *message))
        return;
    HandleClientConsoleSignal(code, *message);
    // Presentation codes, each filled by the presentation signals:
    // 25 text message, 26 comms message: the text logs and comms records.
    // 27-30 comms and grid info: the render manager's info lists.
    // 40 main screen view, 70 sky box, 80 hyper warp, 81, 82 cinematics: the render manager.
    // 49, 50, 51 music: music control.
    // 53 sound file: the sound service.
    // 56 story dialog: the story dialog queue.
    // 57 DMX channel: DMX lighting.
    // 63, 64 particles: the 3D view.
    // 79 damage indicator, 84 options button, 85, 86 jump effect: the console widgets.
    // 99 hold menu: the 2D radar.
}

namespace {

const ClientHookRegistration signalHook("signal", ClientMessageHookSignal);

}  // namespace
