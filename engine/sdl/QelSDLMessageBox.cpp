#include "engine/sdl/QelSDLMessageBox.h"

#include <SDL2/SDL_messagebox.h>

// A box that cannot be shown still reaches someone through standard error.
void ShowSDLMessageBox(const std::string& caption, const std::string& text, QelMessageBoxKind kind,
                       SDL_Window* owner)
{
    if (IsNonInteractiveRun()) {
        PrintQelMessageBox(caption, text);
        return;
    }
    const Uint32 flags = kind == QelMessageBoxKind::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), WrapMessageText(text).c_str(), owner) != 0)
        PrintQelMessageBox(caption, text);
}
