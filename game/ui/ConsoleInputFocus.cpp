#include "game/ui/ConsoleInputFocus.h"

std::string lastInputKind;
