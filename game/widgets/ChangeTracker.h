#pragma once
// A console setting the crew changes and the server confirms: the widget
// shows the crew's value at once, sends it once it has been left alone for
// kSendDelayMs, and shows the server's value again kHoldMs after the last
// change, so a command the server refused or never heard does not linger.
//
// The per-frame cycle of a widget that owns one:
//   tracker.serverValue = <the ship's key>;
//   tracker.Set(<the control's value>, now);
//   tracker.FallBack(now);
//   if (tracker.TakeDue(now)) <send tracker.value>;

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

template <typename T>
struct ChangeTracker {
    // Long enough for a drag or a run of key presses to settle into one command.
    static constexpr uint32_t kSendDelayMs = 100;
    // Long enough for the command to reach the server and its answer to come back.
    static constexpr uint32_t kHoldMs = 2000;

    T value{};            // what the widget shows and sends
    T previous{};         // the value before the last change
    T serverValue{};      // what the server last reported
    uint32_t changeTime = 0;  // input clock (ms) at the last change
    uint32_t holdUntil = 0;   // changeTime + kHoldMs; 0: never changed
    bool changed = false;     // a change waits to be sent

    bool operator==(const ChangeTracker&) const = default;

    // Records a new value; false when it equals the shown one. A NaN on
    // either side counts as a change.
    bool Set(const T& newValue, uint32_t now)
    {
        if (Equal(newValue, value))
            return false;
        previous = value;
        value = newValue;
        changed = true;
        changeTime = now;
        holdUntil = now + kHoldMs;
        return true;
    }

    // Once the hold has run out the server's value is shown again.
    void FallBack(uint32_t now)
    {
        if (now >= holdUntil) {
            value = serverValue;
            previous = serverValue;
        }
    }

    // True once, when a change has been left alone long enough to send.
    bool TakeDue(uint32_t now)
    {
        if (!changed || now < changeTime + kSendDelayMs)
            return false;
        changed = false;
        return true;
    }

private:
    static bool Equal(const T& a, const T& b)
    {
        if constexpr (std::is_floating_point_v<T>)
            return !std::isunordered(a, b) && a == b;
        else
            return a == b;
    }
};

using FloatChangeTracker = ChangeTracker<float>;
using IntChangeTracker = ChangeTracker<int32_t>;
using Int64ChangeTracker = ChangeTracker<int64_t>;
