#pragma once
// How this machine's console plays: chosen on the options screens, read by
// the scenes and the console widgets. The console's state holds it
// (ConsoleState::settings). Main thread only.

#include <cstdint>

struct ConsoleSettings {
    // "Helm: Trainee", "Helm: Capital 3D", "Helm: Full 3D".
    static constexpr int32_t kHelmModeCount = 3;

    int32_t helmMode = 0;          // 0..kHelmModeCount-1: how the helm widgets steer
    int32_t damageFlashStyle = 0;  // 0 "Visual: Red flash", 1 "Visual: None"

    // The stored helm mode ("helm_mode_value"), held within the modes the
    // helm offers; an empty or missing value is the trainee helm.
    void ReadHelmMode();
};
