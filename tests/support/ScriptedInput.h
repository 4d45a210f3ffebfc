#pragma once
// An input service whose keyboard and mouse a test scripts frame by frame:
// set the position, press and release the left button, type characters and
// keys, then NextFrame() clears this frame's edges. Its joysticks are the
// ones the test lists, the machine settings and the clipboard are kept in
// memory, and folders are listed from the file system ("data/..." in the
// data folder); everything else the service offers answers empty.

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelMouse.h"

namespace qeltest {

class ScriptedMouse : public QelMouse {
public:
    bool WasPressed(int button) override { return button == 0 && pressed; }
    bool WasReleased(int button) override
    {
        return (button == 0 && released) || (button == kRightButton && rightReleased);
    }
    bool IsDown(int button) override { return (button == 0 && down) || (button == kRightButton && rightDown); }
    uint32_t LastPressMilliseconds(int button) override
    {
        return button == 0 ? pressMilliseconds : kUnknownPressMilliseconds;
    }
    int32_t GetX(int) override { return x; }
    int32_t GetY(int) override { return y; }
    void GetMotion(int32_t& dx, int32_t& dy) override { dx = dy = 0; }
    void ShowCursor(bool) override {}
    int32_t GetWheel() override { return wheel; }
    void SetWheel(int32_t value) override { wheel = value; }

    static constexpr int kRightButton = 2;

    int32_t x = -100, y = -100;
    bool down = false, pressed = false, released = false;
    uint32_t pressMilliseconds = kUnknownPressMilliseconds;  // the left button's last press, as its events timed it
    bool rightDown = false;      // held only: no edges
    bool rightReleased = false;  // the right button came up this frame
    int32_t wheel = 0;
};

class ScriptedKeyboard : public QelKeyboard {
public:
    bool IsKeyDown(int32_t key) override { return held.count(key) != 0; }
    bool IsKeyPressed(int32_t key, bool) override { return pressedThisFrame.count(key) != 0; }
    bool IsKeyReleased(int32_t key, bool) override { return releasedThisFrame.count(key) != 0; }
    bool PopTypedChar(int32_t& character) override { return Pop(characters, character); }
    bool PopKeyDown(int32_t& key) override { return Pop(keyDowns, key); }

    std::set<int32_t> held;
    std::set<int32_t> pressedThisFrame;
    std::set<int32_t> releasedThisFrame;
    std::deque<int32_t> characters;
    std::deque<int32_t> keyDowns;

private:
    static bool Pop(std::deque<int32_t>& queue, int32_t& out)
    {
        if (queue.empty())
            return false;
        out = queue.front();
        queue.pop_front();
        return true;
    }
};

class ScriptedInput : public QelInputFactoryBase {
public:
    // The mouse.
    void MoveTo(int32_t x, int32_t y)
    {
        mouse.x = x;
        mouse.y = y;
    }
    void Press()
    {
        mouse.down = true;
        mouse.pressed = true;
    }
    void Release()
    {
        mouse.down = false;
        mouse.released = true;
    }
    void RightClick() { mouse.rightReleased = true; }

    // The keyboard: text typed (one character each) and keys gone down.
    void Type(const std::string& text)
    {
        for (char c : text)
            keyboard.characters.push_back(static_cast<unsigned char>(c));
    }
    void TypeCode(int32_t code) { keyboard.characters.push_back(code); }
    void KeyDown(int32_t key)
    {
        keyboard.keyDowns.push_back(key);
        keyboard.held.insert(key);
        keyboard.pressedThisFrame.insert(key);
    }
    void KeyUp(int32_t key)
    {
        keyboard.held.erase(key);
        keyboard.releasedThisFrame.insert(key);
    }

    // This frame's edges end; what is held stays held.
    void NextFrame()
    {
        mouse.pressed = false;
        mouse.released = false;
        mouse.rightReleased = false;
        keyboard.pressedThisFrame.clear();
        keyboard.releasedThisFrame.clear();
    }

    QelKeyboard* GetKeyboard() override { return &keyboard; }
    QelMouse* GetMouse() override { return &mouse; }
    QelJoystick* GetJoystick(int32_t index) override
    {
        return index >= 0 && index < GetNumJoysticks() ? joysticks[static_cast<size_t>(index)] : nullptr;
    }
    int32_t GetNumJoysticks() override { return static_cast<int32_t>(joysticks.size()); }
    QelFileIO* GetFileIO(const std::string&) override { return nullptr; }
    QelFileIO* FindFileIO(const std::string&) override { return nullptr; }
    void Quit() override {}
    uint32_t GetMilliseconds() override { return milliseconds; }
    uint32_t GetSeconds() override { return 0; }
    int32_t GetMinutesSinceStart() override { return 0; }
    int64_t GetSecondsSinceBase() override { return 0; }
    std::string GetDateTimeText() override { return "\n"; }
    void GetLocalTime(int32_t& hour, int32_t& minute, int32_t& second) override { hour = minute = second = 0; }
    bool FileDialog(std::vector<std::string>&, bool) override { return false; }
    bool FileExists(const std::string&) override { return false; }
    bool SetClipboardText(const std::string& text) override
    {
        clipboard = text;
        return true;
    }
    bool GetClipboardText(std::string& text) override
    {
        text = clipboard;
        return !clipboard.empty();
    }
    bool SetRegistryValue(const std::string& name, const std::string& value) override
    {
        if (settingsOnDisk)
            return QelFileServices::Instance().SetRegistryValue(name, value);
        registry[name] = value;
        return true;
    }
    bool GetRegistryValue(const std::string& name, std::string& value) override
    {
        if (settingsOnDisk)
            return QelFileServices::Instance().GetRegistryValue(name, value);
        const auto found = registry.find(name);
        if (found == registry.end())
            return false;
        value = found->second;
        return true;
    }
    int32_t CompareFileTimes(const std::string&, const std::string&) override { return 2; }
    int32_t ListDirectory(const std::string& folder, std::vector<std::string>& names) override
    {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(qel::ResolveGamePath(folder), error))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        names.insert(names.end(), found.begin(), found.end());
        return 0;
    }

    ScriptedMouse mouse;
    ScriptedKeyboard keyboard;
    std::vector<QelJoystick*> joysticks;          // not owned
    std::map<std::string, std::string> registry;  // the machine settings
    // The machine settings in the settings file instead, as the game keeps
    // them ($QEL_SETTINGS_DIR names the test's own folder).
    bool settingsOnDisk = false;
    std::string clipboard;
    uint32_t milliseconds = 0;                    // the engine clock, as the test sets it
};

}  // namespace qeltest
