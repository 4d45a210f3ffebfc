#include "game/shell/ConsoleInputFocus.h"

std::string lastInputKind;
