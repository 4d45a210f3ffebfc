#pragma once
// The engine's input service: keyboard, mouse and joysticks, and the door to
// the operating system for everything that is neither graphics nor sound
// (clocks and date text, clipboard, machine settings, file listing, the file
// dialog).

#include <cstdint>
#include <string>
#include <vector>

class QelFileIO;
class QelKeyboard;
class QelMouse;
class QelJoystick;

class QelInputFactoryBase {
public:
    virtual ~QelInputFactoryBase() = default;

    virtual QelKeyboard* GetKeyboard() = 0;
    virtual QelMouse* GetMouse() = 0;
    // Null when the index is outside 0..count-1.
    virtual QelJoystick* GetJoystick(int32_t index) = 0;
    virtual int32_t GetNumJoysticks() = 0;
    // The file object of that tag, made empty on first use; never null.
    virtual QelFileIO* GetFileIO(const std::string& tag) = 0;
    // The file object of that tag, or null when none was made.
    virtual QelFileIO* FindFileIO(const std::string& tag) = 0;
    // Ends the run loop after the current pass.
    virtual void Quit() = 0;
    // The engine clock: milliseconds since boot, unsigned 32-bit.
    virtual uint32_t GetMilliseconds() = 0;
    virtual uint32_t GetSeconds() = 0;
    // Whole minutes since the service started (wall clock, UTC).
    virtual int32_t GetMinutesSinceStart() = 0;
    // Whole seconds since 1 January 2000, 00:00:00 UTC.
    virtual int64_t GetSecondsSinceBase() = 0;
    // The local date and time as ctime prints it, ending in a newline.
    virtual std::string GetDateTimeText() = 0;
    virtual void GetLocalTime(int32_t& hour, int32_t& minute, int32_t& second) = 0;
    // Shows the save dialog, or the open dialog with several files
    // selectable, and appends every chosen file as two entries: its folder
    // (ending in '/') and its file name. True when the user chose something.
    virtual bool FileDialog(std::vector<std::string>& names, bool save) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool SetClipboardText(const std::string& text) = 0;
    virtual bool GetClipboardText(std::string& text) = 0;
    // Machine settings, kept in the settings file. Get leaves the output
    // untouched and returns false when the value was never stored.
    virtual bool SetRegistryValue(const std::string& name, const std::string& value) = 0;
    virtual bool GetRegistryValue(const std::string& name, std::string& value) = 0;
    // 1 when the first file is newer, 0 when equal, -1 when older; 2 when the
    // first cannot be read, 3 when the second cannot.
    virtual int32_t CompareFileTimes(const std::string& first, const std::string& second) = 0;
    // Appends every entry of the folder, sorted by name; always 0.
    virtual int32_t ListDirectory(const std::string& folder, std::vector<std::string>& names) = 0;
};

// The one input service, set while the system is up.
extern QelInputFactoryBase* gInputFactory;
