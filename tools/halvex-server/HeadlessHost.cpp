#include "tools/halvex-server/HeadlessHost.h"

#include "engine/base/QelClock.h"
#include "engine/base/QelFrameLoop.h"
#include "engine/base/QelFramePacer.h"
#include "engine/base/QelStopSignals.h"

#include <cstdio>
#include <thread>
#include <utility>

HeadlessHost::HeadlessHost(const Limits& chosen, std::function<bool()> isFinished)
    : limits(chosen), finished(std::move(isFinished)), started(std::chrono::steady_clock::now())
{
}

HeadlessHost::~HeadlessHost()
{
    if (limits.fast)
        qel::SetMillisecondSource({});
}

// The fast clock is in place before the game starts its receive threads and
// stays until they are gone with the singletons.
bool HeadlessHost::Run(QelGameLoop& game)
{
    QelStopSignals stopSignals;
    if (limits.fast)
        qel::SetMillisecondSource([this] { return fastClock.load(); });
    started = std::chrono::steady_clock::now();
    QelFrameLoop frame(game, *this);
    QelFramePacer pacer;
    const bool clean = QelRunLoop(game, frame, pacer, *this).Run();
    if (limits.fast)
        qel::SetMillisecondSource({});
    return clean;
}

bool HeadlessHost::PumpEvents()
{
    const bool end = QelStopSignals::Requested() || TimeIsUp() || (finished && finished());
    if (limits.fast && !end)
        fastClock.fetch_add(QelFrameLoop::kTickMilliseconds);
    return end;
}

bool HeadlessHost::TimeIsUp() const
{
    if (!limits.seconds)
        return false;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return elapsed.count() >= *limits.seconds;
}

// Fast frames never sleep; each still lets the receive threads run.
void HeadlessHost::Sleep(int32_t milliseconds)
{
    if (limits.fast)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void HeadlessHost::ShowError(const std::string& text)
{
    std::fprintf(stderr, "halvex-server: the run ended on an error:\n%s\n", text.c_str());
    std::fflush(stderr);
}
