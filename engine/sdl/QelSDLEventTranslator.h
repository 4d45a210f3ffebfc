#pragma once
// Turns SDL events into the raw keyboard and mouse state, the dropped-file list
// and joystick refreshes, exactly as the game's input rules expect them: key
// numbers are Windows virtual keys, Backspace, Tab, Enter and Escape also type
// their control characters, wheel steps count 120, positions are back-buffer
// pixels. Needs no window, so it is tested by feeding it events.

#include <SDL2/SDL_events.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QelSDLKeyboard;
class QelSDLMouse;

class QelSDLEventTranslator {
public:
    // One wheel notch, as the game's wheel readers count it.
    static constexpr int32_t kWheelDelta = 120;

    QelSDLEventTranslator(QelSDLKeyboard& keyboard, QelSDLMouse& mouse,
                          std::vector<std::string>& droppedFiles,
                          std::function<void()> refreshJoysticks);

    // The window's client size and the back buffer's size; mouse positions
    // are scaled from the first to the second.
    void SetSizes(int32_t clientWidth, int32_t clientHeight, int32_t backWidth, int32_t backHeight);

    // Handles one event; true when it asks the program to end. Frees the path
    // of a dropped-file event.
    bool Translate(const SDL_Event& event);

    // True for an event that must wait for the next frame: a mouse event
    // behind a press or release the frames have not seen yet, which a later
    // move or click drained into the same frame would put somewhere else; a
    // key-down behind a key press no frame has finished with, which a scene
    // that the first key leaves would never see.
    bool WaitsForNextFrame(const SDL_Event& event) const;

private:
    void KeyDown(const SDL_KeyboardEvent& key);
    void KeyUp(const SDL_KeyboardEvent& key);
    void TextInput(const char* utf8);
    void MouseMotion(const SDL_MouseMotionEvent& motion);
    void MouseButtonDown(const SDL_MouseButtonEvent& button);
    void MouseButtonUp(const SDL_MouseButtonEvent& button);
    void MouseWheel(const SDL_MouseWheelEvent& wheel);
    void DropFile(char* path);

    QelSDLKeyboard& keyboard_;
    QelSDLMouse& mouse_;
    std::vector<std::string>& droppedFiles_;
    std::function<void()> refreshJoysticks_;
    int32_t clientWidth_ = 1;
    int32_t clientHeight_ = 1;
    int32_t backWidth_ = 1;
    int32_t backHeight_ = 1;
    bool dropTaken_ = false;  // a file of the current drop was already taken
};
