#pragma once
// A mission script host that records what the server hands it: the events
// and how often the server ran its queue and lighting steps.

#include <cstdint>
#include <string>
#include <vector>

#include "game/net/ServerScriptHost.h"

namespace qeltest {

struct RecordingScriptHost : ServerScriptHost {
    void HandleEvent(const EventMessage& event) override { events.push_back(event); }
    void QueueEvent(const EventMessage& event) override { queued.push_back(event); }
    bool ScriptsLoaded() const override { return loaded; }
    bool SimRunning() const override { return running; }
    void ProcessEventQueue() override { ++queueRuns; }
    void HandleDMX() override { ++dmxRuns; }
    std::vector<std::string>& DebugTreeRequests() override { return trees; }

    // The times of the "mission_tick" events, in order.
    std::vector<int64_t> MissionTickTimes() const
    {
        std::vector<int64_t> times;
        for (const EventMessage& e : events)
            if (e.tag == "mission_tick")
                times.push_back(e.event_time);
        return times;
    }

    std::vector<std::string> Tags() const
    {
        std::vector<std::string> tags;
        for (const EventMessage& e : events)
            tags.push_back(e.tag);
        return tags;
    }

    bool loaded = true;
    bool running = true;
    int queueRuns = 0;
    int dmxRuns = 0;
    std::vector<std::string> trees;
    std::vector<EventMessage> events;
    std::vector<EventMessage> queued;
};

}  // namespace qeltest
