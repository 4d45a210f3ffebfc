#include "engine/base/QelFrameLoop.h"

#include <algorithm>

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelClock.h"
#include "engine/base/QelFrameServices.h"
#include "engine/base/QelGameLoop.h"

QelFrameLoop::QelFrameLoop(QelGameLoop& game, QelFrameServices& services)
    : game_(game), services_(services)
{
}

void QelFrameLoop::Frame()
{
    services_.BeginFrame();
    game_.SceneFrameUpdate();
    game_.SimulationFrameUpdate();
    game_.ServerFrameUpdate();
    game_.ClientFrameUpdate();
    RunFixedSteps();
    services_.UpdateInput();
    services_.ClearBackBuffer();
    AddPerSecondCounter(1.0f, "raw draw frames/sec");
    game_.Draw();
    services_.Present();
    services_.EndFrame();
}

// The clock of the fixed steps starts at 0 while the real clock counts from
// boot, so the first frame always sees the full 200 ms gain: six ticks.
void QelFrameLoop::RunFixedSteps()
{
    const uint32_t now = qel::GetMilliseconds();
    backlog_ += std::min(now - lastTickClockTime_, kMaxBacklogGainMilliseconds);
    while (backlog_ >= kTickMilliseconds) {
        Tick();
        backlog_ -= kTickMilliseconds;
    }
    lastTickClockTime_ = now;
}

void QelFrameLoop::Tick()
{
    AddPerSecondCounter(1.0f, "raw sim ticks/sec");
    game_.SimulationTick(kTickMilliseconds);
    game_.SceneTick();
    game_.ServerTick();
    game_.ClientTick();
}
