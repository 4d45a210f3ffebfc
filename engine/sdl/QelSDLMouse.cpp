#include "engine/sdl/QelSDLMouse.h"

bool QelSDLMouse::WasPressed(int button)
{
    return InRange(button) && buttons[button].pressed;
}

bool QelSDLMouse::WasReleased(int button)
{
    return InRange(button) && buttons[button].released;
}

bool QelSDLMouse::IsDown(int button)
{
    return InRange(button) && buttons[button].down;
}

uint32_t QelSDLMouse::LastPressMilliseconds(int button)
{
    return InRange(button) ? buttons[button].pressMilliseconds : kUnknownPressMilliseconds;
}

int32_t QelSDLMouse::GetX(int button)
{
    relativeMode = 0;
    return InRange(button) ? buttons[button].x : 0;
}

int32_t QelSDLMouse::GetY(int button)
{
    relativeMode = 0;
    return InRange(button) ? buttons[button].y : 0;
}

// Motion gathered before relative mode was on belongs to no one, so the first
// call after a position read starts from zero.
void QelSDLMouse::GetMotion(int32_t& dx, int32_t& dy)
{
    if (!relativeMode) {
        motionX = 0;
        motionY = 0;
    }
    relativeMode = 1;
    dx = motionX;
    dy = motionY;
    motionX = 0;
    motionY = 0;
}

void QelSDLMouse::ShowCursor(bool visible)
{
    cursorVisible = visible ? 1 : 0;
}

void QelSDLMouse::OnMove(int32_t x, int32_t y)
{
    for (QelMouseButton& button : buttons) {
        button.x = x;
        button.y = y;
    }
}

void QelSDLMouse::OnRelativeMove(int32_t dx, int32_t dy)
{
    if (!relativeMode)
        return;
    motionX += dx;
    motionY += dy;
}

void QelSDLMouse::OnButtonDown(int button, uint32_t time)
{
    if (!InRange(button))
        return;
    QelMouseButton& record = buttons[button];
    record.rawDown = 1;
    record.pressSeen = 1;
    record.pressTime = time;
}

void QelSDLMouse::OnButtonUp(int button, uint32_t time)
{
    if (!InRange(button))
        return;
    QelMouseButton& record = buttons[button];
    record.pressMilliseconds = record.pressSeen ? time - record.pressTime : kUnknownPressMilliseconds;
    record.pressSeen = 0;
    record.releaseCountdown += 1;
    if (record.releaseCountdown < kReleaseUpdates)
        record.releaseCountdown = kReleaseUpdates;
}

void QelSDLMouse::UpdateButtons()
{
    for (QelMouseButton& button : buttons)
        UpdateButton(button);
}

bool QelSDLMouse::HasUnreadEdge() const
{
    for (const QelMouseButton& button : buttons) {
        if (button.rawDown != button.previousDown || button.releaseCountdown > 0 || button.pressed ||
            button.released)
            return true;
    }
    return false;
}

void QelSDLMouse::UpdateButton(QelMouseButton& button)
{
    if (button.releaseCountdown == 1) {
        button.rawDown = 0;
        button.releaseCountdown = 0;
    } else if (button.releaseCountdown > 1) {
        --button.releaseCountdown;
    }
    button.down = button.rawDown;
    button.pressed = button.rawDown && !button.previousDown;
    button.released = button.previousDown && !button.rawDown;
    button.previousDown = button.rawDown;
}
