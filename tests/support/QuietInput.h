#pragma once
// An input service with no keyboard, mouse, clock or operating system behind
// it: it answers with the joysticks a test gives it, and file objects from
// the engine's file services. For headless tests of code that reads
// controllers through gInputFactory.

#include <vector>

#include "engine/base/QelFileServices.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelJoystick.h"

namespace qeltest {

class QuietInput : public QelInputFactoryBase {
public:
    QelKeyboard* GetKeyboard() override { return nullptr; }
    QelMouse* GetMouse() override { return nullptr; }
    QelJoystick* GetJoystick(int32_t index) override
    {
        return index >= 0 && index < GetNumJoysticks() ? joysticks[static_cast<size_t>(index)] : nullptr;
    }
    int32_t GetNumJoysticks() override { return static_cast<int32_t>(joysticks.size()); }
    QelFileIO* GetFileIO(const std::string& tag) override { return QelFileServices::Instance().GetFileIO(tag); }
    QelFileIO* FindFileIO(const std::string& tag) override { return QelFileServices::Instance().FindFileIO(tag); }
    void Quit() override {}
    uint32_t GetMilliseconds() override { return 0; }
    uint32_t GetSeconds() override { return 0; }
    int32_t GetMinutesSinceStart() override { return 0; }
    int64_t GetSecondsSinceBase() override { return 0; }
    std::string GetDateTimeText() override { return "\n"; }
    void GetLocalTime(int32_t& hour, int32_t& minute, int32_t& second) override { hour = minute = second = 0; }
    bool FileDialog(std::vector<std::string>&, bool) override { return false; }
    bool FileExists(const std::string& path) override { return QelFileServices::Instance().FileExists(path); }
    bool SetClipboardText(const std::string&) override { return false; }
    bool GetClipboardText(std::string&) override { return false; }
    bool SetRegistryValue(const std::string&, const std::string&) override { return false; }
    bool GetRegistryValue(const std::string&, std::string&) override { return false; }
    int32_t CompareFileTimes(const std::string&, const std::string&) override { return 2; }
    int32_t ListDirectory(const std::string&, std::vector<std::string>&) override { return 0; }

    std::vector<QelJoystick*> joysticks;  // not owned
};

}  // namespace qeltest
