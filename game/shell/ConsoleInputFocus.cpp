#include "game/shell/ConsoleInputFocus.h"

bool mouseOverControl = false;
std::string lastInputKind;
