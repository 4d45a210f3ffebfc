#pragma once
// The run loop: game start-up once, then event pump, frame and sleep until the
// program is asked to end, then the game's singletons are deleted. An exception
// that reaches it is shown in the "Error" box and ends the loop; the singletons
// are deleted on that path too, so their destructors always run in order.

#include <cstdint>
#include <string>

class QelFrameLoop;
class QelFramePacer;
class QelGameLoop;

// What the run loop needs of the platform.
class QelRunPlatform {
public:
    virtual ~QelRunPlatform() = default;

    // Handles every pending event; true when one of them asked to quit. The
    // pump empties the queue even after a quit request.
    virtual bool PumpEvents() = 0;
    virtual void Sleep(int32_t milliseconds) = 0;
    virtual void ShowError(const std::string& text) = 0;
};

class QelRunLoop {
public:
    QelRunLoop(QelGameLoop& game, QelFrameLoop& frame, QelFramePacer& pacer, QelRunPlatform& platform);

    // False when an error ended the run (it has been shown).
    bool Run();

private:
    void StartupAndLoop();
    bool DeleteSingletons();

    QelGameLoop& game_;
    QelFrameLoop& frame_;
    QelFramePacer& pacer_;
    QelRunPlatform& platform_;
};
