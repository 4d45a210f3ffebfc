#include "engine/sdl/QelSDLJoystick.h"

#include <algorithm>

namespace {

// Axes read within -0.99..0.99, as the game's controls were tuned to.
constexpr float kAxisReach = 0.99f;

float AxisValue(Sint16 raw)
{
    return std::clamp(raw / 32767.0f, -1.0f, 1.0f) * kAxisReach;
}

// A controller's direction pad is its hat; its other buttons are listed in
// this order, those it lacks left out.
constexpr SDL_GameControllerButton kControllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,           SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_BACK,        SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,   SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_PADDLE1,    SDL_CONTROLLER_BUTTON_PADDLE2,     SDL_CONTROLLER_BUTTON_PADDLE3,
    SDL_CONTROLLER_BUTTON_PADDLE4,    SDL_CONTROLLER_BUTTON_TOUCHPAD,
};

constexpr SDL_GameControllerAxis kControllerAxes[] = {
    SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
    SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};

}  // namespace

QelSDLJoystick::QelSDLJoystick(int deviceIndex)
{
    if (SDL_IsGameController(deviceIndex)) {
        controller_ = SDL_GameControllerOpen(deviceIndex);
        if (controller_ != nullptr) {
            joystick_ = SDL_GameControllerGetJoystick(controller_);
            for (SDL_GameControllerButton button : kControllerButtons) {
                if (SDL_GameControllerHasButton(controller_, button))
                    buttonOrder_.push_back(button);
            }
            buttonCount_ = static_cast<int32_t>(buttonOrder_.size());
        }
    }
    if (controller_ == nullptr) {
        joystick_ = SDL_JoystickOpen(deviceIndex);
        if (joystick_ != nullptr)
            buttonCount_ = std::clamp(SDL_JoystickNumButtons(joystick_), 0, kMaxButtons);
    }
    // Read at once, so a device is named and counted before the next frame.
    Poll();
}

QelSDLJoystick::~QelSDLJoystick()
{
    if (controller_ != nullptr)
        SDL_GameControllerClose(controller_);
    else if (joystick_ != nullptr)
        SDL_JoystickClose(joystick_);
}

void QelSDLJoystick::Poll()
{
    previous_ = current_;
    connected_ = joystick_ != nullptr && SDL_JoystickGetAttached(joystick_);
    if (!connected_)
        return;
    if (controller_ != nullptr)
        ReadController();
    else
        ReadJoystick();
}

void QelSDLJoystick::ReadJoystick()
{
    const int axes = std::min(SDL_JoystickNumAxes(joystick_), kAxisCount);
    for (int i = 0; i < axes; ++i)
        current_.axes[i] = AxisValue(SDL_JoystickGetAxis(joystick_, i));
    for (int i = 0; i < buttonCount_; ++i)
        current_.buttons[i] = SDL_JoystickGetButton(joystick_, i) != 0;
    current_.hat = SDL_JoystickNumHats(joystick_) > 0 ? SDL_JoystickGetHat(joystick_, 0) : SDL_HAT_CENTERED;
}

void QelSDLJoystick::ReadController()
{
    for (size_t i = 0; i < std::size(kControllerAxes); ++i)
        current_.axes[i] = AxisValue(SDL_GameControllerGetAxis(controller_, kControllerAxes[i]));
    for (size_t i = 0; i < buttonOrder_.size(); ++i)
        current_.buttons[i] = SDL_GameControllerGetButton(controller_, buttonOrder_[i]) != 0;
    const struct {
        SDL_GameControllerButton button;
        uint8_t hatBit;
    } pad[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_HAT_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_HAT_RIGHT},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_HAT_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_HAT_LEFT},
    };
    current_.hat = SDL_HAT_CENTERED;
    for (const auto& direction : pad) {
        if (SDL_GameControllerGetButton(controller_, direction.button))
            current_.hat |= direction.hatBit;
    }
}

bool QelSDLJoystick::WasButtonPressed(int32_t button)
{
    return ValidButton(button) && current_.buttons[button] && !previous_.buttons[button];
}

bool QelSDLJoystick::WasButtonReleased(int32_t button)
{
    return ValidButton(button) && !current_.buttons[button] && previous_.buttons[button];
}

bool QelSDLJoystick::IsButtonDown(int32_t button)
{
    return ValidButton(button) && current_.buttons[button];
}

bool QelSDLJoystick::IsPovDirection(int32_t direction)
{
    return HatPointsTo(current_.hat, direction);
}

bool QelSDLJoystick::HatPointsTo(uint8_t hat, int32_t direction)
{
    const bool up = (hat & SDL_HAT_UP) != 0;
    const bool down = (hat & SDL_HAT_DOWN) != 0;
    const bool left = (hat & SDL_HAT_LEFT) != 0;
    const bool right = (hat & SDL_HAT_RIGHT) != 0;
    switch (direction) {
    case kPovUp: return up && !left && !right;
    case kPovUpLeft: return up && left;
    case kPovLeft: return left && !up && !down;
    case kPovDownLeft: return down && left;
    case kPovDown: return down && !left && !right;
    case kPovDownRight: return down && right;
    case kPovRight: return right && !up && !down;
    case kPovUpRight: return up && right;
    default: return false;
    }
}

bool QelSDLJoystick::GetCounts(int32_t& buttons, int32_t& axes, int32_t& povs)
{
    if (!connected_)
        return false;
    buttons = buttonCount_;
    axes = kAxisCount;
    povs = 1;
    return true;
}

std::string QelSDLJoystick::GetName()
{
    if (!connected_)
        return kNotWorkingName;
    const char* name = controller_ != nullptr ? SDL_GameControllerName(controller_) : SDL_JoystickName(joystick_);
    return name != nullptr && name[0] != '\0' ? name : "Unnamed controller";
}

float QelSDLJoystick::GetAxis(int32_t axis)
{
    if (axis < 0 || axis >= kAxisCount)
        return -kAxisReach;
    return current_.axes[axis];
}
