#pragma once
// The engine's run loop without a window, GPU or audio: the same frame loop,
// fixed 33 ms steps and adaptive sleep as the window program, with frame
// services that do nothing, errors on standard error, and SIGINT or SIGTERM
// as the request to end. In fast mode it drives the engine clock itself, one
// tick's worth per frame and no sleep, so ticks run back to back.

#include "engine/base/QelFrameServices.h"
#include "engine/base/QelRunLoop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class QelGameLoop;

class HeadlessHost : private QelFrameServices, private QelRunPlatform {
public:
    struct Limits {
        std::optional<double> seconds;  // wall-clock time before the run ends
        bool fast = false;
    };

    // `finished` is asked before every frame; the run ends on the frame after
    // it answers true, as it does for a stop request.
    HeadlessHost(const Limits& limits, std::function<bool()> finished);
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // Start-up, frames until the end, deletion of the singletons; false when
    // an error ended the run (it has been printed).
    bool Run(QelGameLoop& game);

private:
    // QelFrameServices: nothing to draw, play or read.
    void BeginFrame() override {}
    void UpdateInput() override {}
    void ClearBackBuffer() override {}
    void Present() override {}
    void EndFrame() override {}

    // QelRunPlatform
    bool PumpEvents() override;
    void Sleep(int32_t milliseconds) override;
    void ShowError(const std::string& text) override;

    bool TimeIsUp() const;

    Limits limits;
    std::function<bool()> finished;
    std::chrono::steady_clock::time_point started;
    std::atomic<uint32_t> fastClock{0};  // ms; read by the receive threads' counters
};
