#pragma once
// The mouse's raw state, written by the event translation, and the per-frame
// update that turns it into press and release edges.

#include <array>
#include <cstdint>
#include <string>

#include "engine/base/QelMouse.h"

struct QelMouseButton {
    uint8_t pressed = 0;        // edge of the last update
    uint8_t down = 0;
    uint8_t released = 0;       // edge of the last update
    uint8_t previousDown = 0;
    uint8_t rawDown = 0;        // set by a button-down event
    int32_t releaseCountdown = 0; // updates until rawDown clears after a button-up
    uint8_t pressSeen = 0;      // a down event began the press now held
    uint32_t pressTime = 0;     // event time of that down, ms
    uint32_t pressMilliseconds = QelMouse::kUnknownPressMilliseconds; // the last finished press
    int32_t x = 0;              // back-buffer pixels
    int32_t y = 0;
};

class QelSDLMouse : public QelMouse {
public:
    // A release clears the raw state on the second update after it, so a
    // click whose down and up fall in one frame still shows both edges.
    static constexpr int32_t kReleaseUpdates = 2;

    bool WasPressed(int button) override;
    bool WasReleased(int button) override;
    bool IsDown(int button) override;
    uint32_t LastPressMilliseconds(int button) override;
    int32_t GetX(int button) override;
    int32_t GetY(int button) override;
    void GetMotion(int32_t& dx, int32_t& dy) override;
    void ShowCursor(bool visible) override;
    int32_t GetWheel() override { return wheel; }
    void SetWheel(int32_t value) override { wheel = value; }

    // Raw input, from the event translation.
    void OnMove(int32_t x, int32_t y);
    void OnRelativeMove(int32_t dx, int32_t dy);
    // Buttons with their events' times (ms on the event clock).
    void OnButtonDown(int button, uint32_t time);
    void OnButtonUp(int button, uint32_t time);

    // Once per frame after the draw: edges from the raw state.
    void UpdateButtons();
    // A press or release no frame has read yet: still in the raw state, or
    // an edge of the last update that the coming frame reads where the
    // mouse is now.
    bool HasUnreadEdge() const;

    std::string name;
    std::array<QelMouseButton, kButtonCount> buttons{};
    int32_t wheel = 0;
    uint8_t cursorVisible = 1;
    uint8_t relativeMode = 0;
    int32_t motionX = 0;
    int32_t motionY = 0;

private:
    static bool InRange(int button) { return button >= 0 && button < kButtonCount; }
    static void UpdateButton(QelMouseButton& button);
};
