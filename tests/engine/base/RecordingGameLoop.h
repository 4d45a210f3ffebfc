#pragma once
// A game loop and frame services that record every call by name, for tests
// of the order of one frame.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/QelFrameServices.h"
#include "engine/base/QelGameLoop.h"

class RecordingGameLoop : public QelGameLoop, public QelFrameServices {
public:
    void Startup() override { Record("Startup"); }
    void SceneFrameUpdate() override { Record("SceneFrameUpdate"); }
    void SimulationFrameUpdate() override { Record("SimulationFrameUpdate"); }
    void ServerFrameUpdate() override { Record("ServerFrameUpdate"); }
    void ClientFrameUpdate() override { Record("ClientFrameUpdate"); }
    void SimulationTick(uint32_t step) override { Record("SimulationTick " + std::to_string(step)); }
    void SceneTick() override { Record("SceneTick"); }
    void ServerTick() override { Record("ServerTick"); }
    void ClientTick() override { Record("ClientTick"); }
    void Draw() override { Record("Draw"); }
    void DeleteSingletons() override { Record("DeleteSingletons"); }

    void BeginFrame() override { Record("BeginFrame"); }
    void UpdateInput() override { Record("UpdateInput"); }
    void ClearBackBuffer() override { Record("ClearBackBuffer"); }
    void Present() override { Record("Present"); }
    void EndFrame() override { Record("EndFrame"); }

    int Count(const std::string& call) const
    {
        int count = 0;
        for (const std::string& c : calls)
            count += c == call ? 1 : 0;
        return count;
    }

    std::vector<std::string> calls;
    // Runs after a call is recorded; tests use it to throw or to quit.
    std::function<void(const std::string&)> onCall;

private:
    void Record(const std::string& call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }
};
