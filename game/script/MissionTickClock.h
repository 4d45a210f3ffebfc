#pragma once
// The script side of the server's 33 ms tick: delivers the queued script
// events, and every mission-tick delay + 1 ticks the "mission_tick" event, the
// server's own retained-GUI trees that scripts asked for, and the DMX call.
// The server calls Tick once per tick while hosting.

#include <cstdint>

class MissionScript;

class MissionTickClock {
public:
    // Ticks between mission ticks, less one, unless the preferences say otherwise.
    static constexpr int32_t kDefaultDelay = 30;

    // The "scriptTickDelay" preference: a value above 0 replaces the delay.
    void SetDelayFromPreference(int32_t preference);
    int32_t Delay() const { return delay; }

    // One server tick. The window size goes into the mission tick's source
    // point.
    void Tick(MissionScript& host, int32_t windowWidth, int32_t windowHeight);

private:
    void DeliverMissionTick(MissionScript& host, int32_t windowWidth, int32_t windowHeight);

    int32_t delay = kDefaultDelay;
    int32_t ticksSinceMissionTick = 0;
};
