#pragma once
// How this machine's console plays and shows its views: chosen on the
// options screens, kept in the machine settings, read by the scenes and the
// console widgets. Main thread only.

#include <cstdint>

struct ConsoleSettings {
    // "Helm: Trainee", "Helm: Capital 3D", "Helm: Full 3D".
    static constexpr int32_t kHelmModeCount = 3;
    // Weapon arcs on the 2D radar: "All", "Players", "None".
    static constexpr int32_t kArcModeCount = 3;
    // The radar's drag threshold, pixels: what the slider offers, and what
    // an unset (or zero) setting means.
    static constexpr int32_t kMaxDragThreshold = 100;
    static constexpr float kDefaultDragThreshold = 15.0f;

    int32_t helmMode = 0;          // 0..kHelmModeCount-1: how the helm widgets steer
    int32_t damageFlashStyle = 0;  // 0 "Visual: Red flash", 1 "Visual: None"

    float navRingBrightness = 1.0f;  // 0..1, the 3D view's navigation ring
    float panelOpacity = 1.0f;       // 0..1, alpha factor of console panels
    bool radarRelativePositions = false;
    int32_t radarArcMode = 0;  // 0..kArcModeCount-1
    float radarDragThreshold = kDefaultDragThreshold;

    // The stored helm mode ("helm_mode_value"), held within the modes the
    // helm offers; an empty or missing value is the trainee helm.
    void ReadHelmMode();
    // The stored view settings, each held within its range. The brightness
    // and the opacity are stored one above their value, so that a missing
    // setting (read as 0) means full.
    void ReadViewSettings();
};

extern ConsoleSettings theConsoleSettings;
