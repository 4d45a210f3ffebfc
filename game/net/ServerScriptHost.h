#pragma once
// What the server asks of the mission script host each tick. The script host
// implements it; the server holds none until a host is attached, and then
// only the script part of its tick has nothing to do.

#include "game/world/ScriptEventSink.h"

#include <string>
#include <vector>

class ServerScriptHost : public ScriptEventSink {
public:
    // A mission's scripts are loaded: events and the mission tick go to them.
    virtual bool ScriptsLoaded() const = 0;
    // Cleared while a mission has paused the world; the mission tick says so.
    virtual bool SimRunning() const = 0;
    // Hands every queued script event to the mission, in order, and empties
    // the queue.
    virtual void ProcessEventQueue() = 0;
    // The mission's lighting step, loaded or not.
    virtual void HandleDMX() = 0;
    // Texts of retained-GUI trees waiting to go to the mission as
    // "debug_rgui_tree" events, oldest first.
    virtual std::vector<std::string>& DebugTreeRequests() = 0;
};
