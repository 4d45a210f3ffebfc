#include "engine/sdl/QelSDLInputBase.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_clipboard.h>
#include <SDL2/SDL_events.h>
#include <SDL2/SDL_mouse.h>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "engine/base/QelClock.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileDialog.h"
#include "engine/base/QelFileServices.h"
#include "engine/sdl/QelSDLMessageBox.h"
#include "helper/CRand.h"

bool QelSDLInputBase::Initialize()
{
    keyboard_ = std::make_unique<QelSDLKeyboard>();
    mouse_ = std::make_unique<QelSDLMouse>();
    CreateJoysticks();
    startTime_ = std::chrono::system_clock::now();
    csrand(GetMilliseconds());
    return true;
}

void QelSDLInputBase::Shutdown()
{
    mouse_.reset();
    keyboard_.reset();
    joysticks_.clear();
}

// SDL reads the devices while it pumps events; the update here makes the
// values set on virtual devices count even when no event is pumped.
void QelSDLInputBase::Update()
{
    keyboard_->Update();
    if (!joysticks_.empty())
        SDL_JoystickUpdate();
    for (const auto& joystick : joysticks_)
        joystick->Poll();
}

// Relative mode hides and confines the pointer, as the game expects while it
// reads motion to steer.
void QelSDLInputBase::UpdateMouse()
{
    SDL_ShowCursor(mouse_->cursorVisible ? SDL_ENABLE : SDL_DISABLE);
    const SDL_bool relative = mouse_->relativeMode ? SDL_TRUE : SDL_FALSE;
    if (SDL_GetRelativeMouseMode() != relative)
        SDL_SetRelativeMouseMode(relative);
    mouse_->UpdateButtons();
}

void QelSDLInputBase::CreateJoysticks()
{
    const int devices = SDL_NumJoysticks();
    for (int i = 0; i < devices; ++i) {
        auto joystick = std::make_unique<QelSDLJoystick>(i);
        if (joystick->IsOpen())
            joysticks_.push_back(std::move(joystick));
    }
}

// Without the joystick subsystem SDL lists no devices; the present ones stay.
void QelSDLInputBase::RefreshJoysticks()
{
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0)
        return;
    joysticks_.clear();
    CreateJoysticks();
}

QelJoystick* QelSDLInputBase::GetJoystick(int32_t index)
{
    if (index < 0 || index >= GetNumJoysticks())
        return nullptr;
    return joysticks_[static_cast<size_t>(index)].get();
}

int32_t QelSDLInputBase::GetNumJoysticks()
{
    return static_cast<int32_t>(joysticks_.size());
}

// File objects and settings belong to the engine's file services, which the
// headless server uses without an input service.
QelFileIO* QelSDLInputBase::GetFileIO(const std::string& tag)
{
    return QelFileServices::Instance().GetFileIO(tag);
}

QelFileIO* QelSDLInputBase::FindFileIO(const std::string& tag)
{
    return QelFileServices::Instance().FindFileIO(tag);
}

// A dialog waits for someone to answer it, so a run that nobody watches
// gets none.
bool QelSDLInputBase::FileDialog(std::vector<std::string>& names, bool save)
{
    if (IsNonInteractiveRun()) {
        std::fprintf(stderr, "File dialog: not shown in a non-interactive run; nothing is chosen.\n");
        return false;
    }
    return QelFileDialog().Show(names, save);
}

bool QelSDLInputBase::FileExists(const std::string& path)
{
    return QelFileServices::Instance().FileExists(path);
}

bool QelSDLInputBase::SetRegistryValue(const std::string& name, const std::string& value)
{
    return QelFileServices::Instance().SetRegistryValue(name, value);
}

// The stored text replaces the output; a value never stored leaves it untouched.
bool QelSDLInputBase::GetRegistryValue(const std::string& name, std::string& value)
{
    std::string stored;
    if (!QelFileServices::Instance().GetRegistryValue(name, stored))
        return false;
    value = stored;
    return true;
}

void QelSDLInputBase::Quit()
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

uint32_t QelSDLInputBase::GetMilliseconds()
{
    return qel::GetMilliseconds();
}

uint32_t QelSDLInputBase::GetSeconds()
{
    return qel::GetMilliseconds() / 1000u;
}

int32_t QelSDLInputBase::GetMinutesSinceStart()
{
    const auto since = std::chrono::system_clock::now() - startTime_;
    return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::minutes>(since).count());
}

int64_t QelSDLInputBase::GetSecondsSinceBase()
{
    return static_cast<int64_t>(std::time(nullptr)) - kBaseTimeUnixSeconds;
}

// ctime's text already ends in the newline.
std::string QelSDLInputBase::GetDateTimeText()
{
    const std::time_t now = std::time(nullptr);
    char text[64] = {};
    if (ctime_r(&now, text) == nullptr)
        return "\n";
    return text;
}

void QelSDLInputBase::GetLocalTime(int32_t& hour, int32_t& minute, int32_t& second)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    hour = local.tm_hour;
    minute = local.tm_min;
    second = local.tm_sec;
}

bool QelSDLInputBase::SetClipboardText(const std::string& text)
{
    return SDL_SetClipboardText(text.c_str()) == 0;
}

bool QelSDLInputBase::GetClipboardText(std::string& text)
{
    if (!SDL_HasClipboardText())
        return false;
    char* clip = SDL_GetClipboardText();
    if (clip == nullptr)
        return false;
    text = clip;
    SDL_free(clip);
    return true;
}

int32_t QelSDLInputBase::CompareFileTimes(const std::string& first, const std::string& second)
{
    return QelFileServices::Instance().CompareFileTimes(first, second);
}

// "." and ".." and sub-folders are listed too; callers filter. Sorting makes
// the order the same on every file system. "data/..." is the data folder, as
// for every other file the game names.
int32_t QelSDLInputBase::ListDirectory(const std::string& folder, std::vector<std::string>& names)
{
    DIR* dir = opendir(qel::ResolveGamePath(folder).c_str());
    if (dir == nullptr)
        return 0;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(dir))
        found.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
    return 0;
}
