#pragma once
// The mouse as the game reads it. Buttons: 0 left, 1 middle, 2 right; 3 and 4
// exist but nothing feeds them. Positions are in back-buffer pixels.

#include <cstdint>

class QelMouse {
public:
    static constexpr int kButtonCount = 5;
    static constexpr uint32_t kUnknownPressMilliseconds = UINT32_MAX;

    virtual ~QelMouse() = default;

    virtual bool WasPressed(int button) = 0;
    virtual bool WasReleased(int button) = 0;
    virtual bool IsDown(int button) = 0;
    // How long the button's last finished press was held, from the times of
    // its own down and up events (stamped as each is taken from the system:
    // a click made within one frame lasts next to nothing, however slow the
    // frames); kUnknownPressMilliseconds when the press began unseen.
    virtual uint32_t LastPressMilliseconds(int button) = 0;
    // Reading a position switches relative mode off.
    virtual int32_t GetX(int button) = 0;
    virtual int32_t GetY(int button) = 0;
    // Movement since the last call; switches relative mode on (the first call
    // after a position read gives 0, 0).
    virtual void GetMotion(int32_t& dx, int32_t& dy) = 0;
    virtual void ShowCursor(bool visible) = 0;
    // The last wheel delta (multiples of 120) until replaced; callers reset it.
    virtual int32_t GetWheel() = 0;
    virtual void SetWheel(int32_t wheel) = 0;
};
