#pragma once
// Message boxes of the engine ("Startup", "Error"). In a run that nobody
// watches (QEL_NONINTERACTIVE=1, or no display at all) the text goes to
// standard error and nothing waits for a click.

#include <string>

enum class QelMessageBoxKind { Information, Error };

// True when message boxes must not wait for anyone.
bool IsNonInteractiveRun();

// Shows the box (or prints it); owner may be null.
void ShowQelMessageBox(const std::string& caption, const std::string& text,
                       QelMessageBoxKind kind = QelMessageBoxKind::Information,
                       struct SDL_Window* owner = nullptr);
