#include "engine/sdl/QelSDLMessageBox.h"

#include <SDL2/SDL_messagebox.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

void PrintMessageBox(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

bool IsNonInteractiveRun()
{
    const char* flag = std::getenv("QEL_NONINTERACTIVE");
    if (flag != nullptr && std::strcmp(flag, "1") == 0)
        return true;
    return !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY");
}

// A box that cannot be shown still reaches someone through standard error.
void ShowQelMessageBox(const std::string& caption, const std::string& text, QelMessageBoxKind kind,
                       SDL_Window* owner)
{
    if (IsNonInteractiveRun()) {
        PrintMessageBox(caption, text);
        return;
    }
    const Uint32 flags = kind == QelMessageBoxKind::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner) != 0)
        PrintMessageBox(caption, text);
}
