#include "game/script/MissionTickClock.h"

#include "game/script/MissionScript.h"
#include "game/world/Simulation.h"

#include <utility>

namespace {

// The world's tick as events carry it; 0 while there is no world.
int64_t EventTime()
{
    return theSimulation ? theSimulation->TickCount() : 0;
}

}  // namespace

void MissionTickClock::SetDelayFromPreference(int32_t preference)
{
    if (preference > 0)
        delay = preference;
}

void MissionTickClock::Tick(MissionScript& host, int32_t windowWidth, int32_t windowHeight)
{
    if (host.ScriptsLoaded())
        host.ProcessEventQueue();
    if (++ticksSinceMissionTick <= delay)
        return;
    ticksSinceMissionTick = 0;
    if (host.ScriptsLoaded())
        DeliverMissionTick(host, windowWidth, windowHeight);
    host.HandleDMX();
}

void MissionTickClock::DeliverMissionTick(MissionScript& host, int32_t windowWidth, int32_t windowHeight)
{
    EventMessage tick;
    tick.tag = "mission_tick";
    tick.sub_tag = host.simRunning ? "sim_running" : "sim_paused";
    tick.event_time = EventTime();
    tick.source_point = {static_cast<float>(windowWidth), static_cast<float>(windowHeight), 0.0f};
    host.HandleEvent(tick);

    // A handler may ask for more trees while these are delivered; they wait
    // for the next mission tick.
    std::vector<std::string> requests;
    requests.swap(host.debugTreeRequests);
    for (std::string& tree : requests) {
        EventMessage event;
        event.tag = "debug_rgui_tree";
        event.sub_tag = std::move(tree);
        event.event_time = EventTime();
        host.HandleEvent(event);
    }
}
