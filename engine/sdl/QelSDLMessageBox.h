#pragma once
// The engine's message boxes on SDL: shown over the owner window, or printed
// in a run that nobody watches (engine/base/QelMessageBox.h).

#include "engine/base/QelMessageBox.h"

#include <string>

// Shows the box, its text wrapped (or prints it); owner may be null. The
// system service sets it as the engine's shower while it is up.
void ShowSDLMessageBox(const std::string& caption, const std::string& text,
                       QelMessageBoxKind kind = QelMessageBoxKind::Information, SDL_Window* owner = nullptr);
