#pragma once
// A game controller whose buttons, axes, hat and connection a test sets
// directly; plugged into ScriptedInput through its joystick list.

#include "engine/base/QelJoystick.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <utility>

namespace qeltest {

// A controller whose state the test sets directly.
class SetJoystick : public QelJoystick {
public:
    explicit SetJoystick(std::string deviceName, int32_t buttonCount = 12)
        : name(std::move(deviceName)), buttonCount(buttonCount)
    {
    }

    bool IsConnected() override { return connected; }
    bool WasButtonPressed(int32_t) override { return false; }
    bool WasButtonReleased(int32_t) override { return false; }
    bool IsButtonDown(int32_t button) override { return button >= 0 && button < kMaxButtons && buttons[button]; }
    bool IsPovDirection(int32_t direction) override { return direction == hat; }
    bool GetCounts(int32_t& b, int32_t& a, int32_t& p) override
    {
        if (!connected)
            return false;
        b = buttonCount;
        a = kAxisCount;
        p = 1;
        return true;
    }
    std::string GetName() override { return connected ? name : kNotWorkingName; }
    float GetAxis(int32_t axis) override { return axis >= 0 && axis < kAxisCount ? axes[axis] : -0.99f; }

    std::string name;
    int32_t buttonCount;
    bool connected = true;
    std::array<float, kAxisCount> axes{};
    std::bitset<kMaxButtons> buttons;
    int32_t hat = -1;  // the one direction the hat points, -1 centred
};

}  // namespace qeltest
