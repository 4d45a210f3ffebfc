#include "engine/base/QelStopSignals.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int)
{
    stopRequested.store(true);
}

}  // namespace

struct QelStopSignals::Previous {
    struct sigaction interrupt {};
    struct sigaction terminate {};
};

QelStopSignals::QelStopSignals() : previous(std::make_unique<Previous>())
{
    stopRequested.store(false);
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous->interrupt);
    sigaction(SIGTERM, &action, &previous->terminate);
}

QelStopSignals::~QelStopSignals()
{
    sigaction(SIGINT, &previous->interrupt, nullptr);
    sigaction(SIGTERM, &previous->terminate, nullptr);
}

bool QelStopSignals::Requested()
{
    return stopRequested.load();
}
