#pragma once
// Where the world hands the script events it raises: most at once (damage
// above all), the torpedo launch through the queue the server's tick
// delivers. The mission script host implements it; with no mission loaded the
// world holds none and the events go nowhere.
//
// HandleEvent is synchronous, inside the world's tick or frame step, and the
// script may create, delete or reset objects from within it: callers must not
// keep object pointers across it.

#include "game/world/EventMessage.h"

class ScriptEventSink {
public:
    virtual ~ScriptEventSink() = default;
    virtual void HandleEvent(const EventMessage& event) = 0;
    // Keeps a copy for the next server tick, which delivers the queue in order.
    virtual void QueueEvent(const EventMessage& event) = 0;
};
