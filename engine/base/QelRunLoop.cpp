#include "engine/base/QelRunLoop.h"

#include <exception>

#include "engine/base/QelFrameLoop.h"
#include "engine/base/QelFramePacer.h"
#include "engine/base/QelGameLoop.h"

QelRunLoop::QelRunLoop(QelGameLoop& game, QelFrameLoop& frame, QelFramePacer& pacer, QelRunPlatform& platform)
    : game_(game), frame_(frame), pacer_(pacer), platform_(platform)
{
}

bool QelRunLoop::Run()
{
    bool clean = false;
    try {
        StartupAndLoop();
        clean = true;
    } catch (const std::exception& error) {
        platform_.ShowError(error.what());
    } catch (...) {
        platform_.ShowError("An unknown exception ended the program.");
    }
    return DeleteSingletons() && clean;
}

// The pass that sees the quit request still runs one whole frame and one sleep.
void QelRunLoop::StartupAndLoop()
{
    game_.Startup();
    bool quit = false;
    while (!quit) {
        quit = platform_.PumpEvents();
        frame_.Frame();
        platform_.Sleep(pacer_.Pace());
    }
}

// An error while taking the game down is shown like any other, never thrown on.
bool QelRunLoop::DeleteSingletons()
{
    try {
        game_.DeleteSingletons();
        return true;
    } catch (const std::exception& error) {
        platform_.ShowError(error.what());
        return false;
    }
}
