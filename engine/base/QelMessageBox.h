#pragma once
// Message boxes of the engine ("Startup", "Error"). While the program's
// window is up its system service shows them over it; before and after, and
// in a run that nobody watches (QEL_NONINTERACTIVE=1, or no display at all),
// the text goes to standard error and nothing waits for a click.

#include <cstddef>
#include <string>

enum class QelMessageBoxKind { Information, Error };

// True when the environment names a display (X or Wayland) to show on.
bool NamesADisplay();

// True when message boxes must not wait for anyone.
bool IsNonInteractiveRun();

// A box's lines are at most this many characters, so that its width stays
// well inside the smallest window the game opens (1,024 pixels).
constexpr size_t kMessageBoxColumns = 64;

// The text with each line longer than columns broken at its last space
// before the limit (a word longer than a line stands alone); the text's own
// line breaks stay.
std::string WrapMessageText(const std::string& text, size_t columns = kMessageBoxColumns);

// "caption: text" on standard error: a box that cannot be shown still
// reaches someone.
void PrintQelMessageBox(const std::string& caption, const std::string& text);

struct SDL_Window;  // the platform's window, passed through unopened

// Shows the box through the system service's boxes, over the owner window
// (which may be null), else prints it.
void ShowQelMessageBox(const std::string& caption, const std::string& text,
                       QelMessageBoxKind kind = QelMessageBoxKind::Information, SDL_Window* owner = nullptr);

// The system service's boxes, set while it is up; null: printed.
using QelMessageBoxShower = void (*)(const std::string& caption, const std::string& text, QelMessageBoxKind kind,
                                     SDL_Window* owner);
void SetQelMessageBoxShower(QelMessageBoxShower shower);
