#pragma once
// One game controller through SDL. A device whose layout SDL knows is read as
// a game controller (sticks and triggers as axes 0..5, the face, shoulder and
// menu buttons as buttons, the direction pad as the hat); any other as a
// plain joystick (its first eight axes, its buttons and its first hat).

#include <SDL2/SDL_gamecontroller.h>
#include <SDL2/SDL_joystick.h>

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "engine/base/QelJoystick.h"

class QelSDLJoystick : public QelJoystick {
public:
    // Opens the device at SDL's device index and reads it; IsOpen tells
    // whether it could be opened.
    explicit QelSDLJoystick(int deviceIndex);
    ~QelSDLJoystick() override;
    QelSDLJoystick(const QelSDLJoystick&) = delete;
    QelSDLJoystick& operator=(const QelSDLJoystick&) = delete;

    bool IsOpen() const { return joystick_ != nullptr; }
    // Once per frame: the state read last becomes the previous one, then the
    // device is read again. A device that has gone keeps its last state.
    void Poll();

    bool IsConnected() override { return connected_; }
    bool WasButtonPressed(int32_t button) override;
    bool WasButtonReleased(int32_t button) override;
    bool IsButtonDown(int32_t button) override;
    bool IsPovDirection(int32_t direction) override;
    bool GetCounts(int32_t& buttons, int32_t& axes, int32_t& povs) override;
    std::string GetName() override;
    float GetAxis(int32_t axis) override;

    // Whether the hat bits (SDL_HAT_UP, _RIGHT, _DOWN, _LEFT) point in the
    // direction (QelJoystick::PovDirection).
    static bool HatPointsTo(uint8_t hat, int32_t direction);

private:
    struct State {
        std::array<float, kAxisCount> axes{};  // -0.99..0.99
        std::bitset<kMaxButtons> buttons;
        uint8_t hat = SDL_HAT_CENTERED;
    };

    void ReadJoystick();
    void ReadController();
    static bool ValidButton(int32_t button) { return button >= 0 && button < kMaxButtons; }

    SDL_Joystick* joystick_ = nullptr;
    SDL_GameController* controller_ = nullptr;            // when SDL knows the layout
    std::vector<SDL_GameControllerButton> buttonOrder_;   // a controller's buttons, in game order
    int32_t buttonCount_ = 0;
    bool connected_ = false;
    State current_;
    State previous_;
};
