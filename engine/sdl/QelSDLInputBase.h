#pragma once
// The input service on SDL: owns the keyboard and mouse, ages their state once
// per frame, and answers the operating-system questions of the input service.

#include <chrono>
#include <memory>
#include <vector>

#include "engine/base/QelInputFactoryBase.h"
#include "engine/sdl/QelSDLJoystick.h"
#include "engine/sdl/QelSDLKeyboard.h"
#include "engine/sdl/QelSDLMouse.h"

class QelSDLInputBase : public QelInputFactoryBase {
public:
    // 1 January 2000, 00:00:00 UTC, in seconds of the Unix epoch.
    static constexpr int64_t kBaseTimeUnixSeconds = 946684800;

    // Always true: nothing here can fail on this platform.
    bool Initialize();
    void Shutdown();
    // Once per frame after the ticks: key edges, queue ageing, joystick polls.
    void Update();
    // Once per frame after the present: edges, cursor and relative mode.
    void UpdateMouse();
    // Joysticks came or went: the list is made again from the devices
    // attached now, so a joystick's index may change.
    void RefreshJoysticks();

    QelKeyboard* GetKeyboard() override { return keyboard_.get(); }
    QelMouse* GetMouse() override { return mouse_.get(); }
    QelSDLKeyboard* Keyboard() { return keyboard_.get(); }
    QelSDLMouse* Mouse() { return mouse_.get(); }
    QelJoystick* GetJoystick(int32_t index) override;
    int32_t GetNumJoysticks() override;
    QelFileIO* GetFileIO(const std::string& tag) override;
    QelFileIO* FindFileIO(const std::string& tag) override;
    bool FileDialog(std::vector<std::string>& names, bool save) override;
    bool FileExists(const std::string& path) override;
    bool SetRegistryValue(const std::string& name, const std::string& value) override;
    bool GetRegistryValue(const std::string& name, std::string& value) override;
    void Quit() override;
    uint32_t GetMilliseconds() override;
    uint32_t GetSeconds() override;
    int32_t GetMinutesSinceStart() override;
    int64_t GetSecondsSinceBase() override;
    std::string GetDateTimeText() override;
    void GetLocalTime(int32_t& hour, int32_t& minute, int32_t& second) override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    int32_t CompareFileTimes(const std::string& first, const std::string& second) override;
    int32_t ListDirectory(const std::string& folder, std::vector<std::string>& names) override;

private:
    // Opens every attached device SDL knows; those that do not open are left out.
    void CreateJoysticks();

    std::unique_ptr<QelSDLKeyboard> keyboard_;
    std::unique_ptr<QelSDLMouse> mouse_;
    std::vector<std::unique_ptr<QelSDLJoystick>> joysticks_;
    std::chrono::system_clock::time_point startTime_{};
};
