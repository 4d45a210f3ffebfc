#include "game/script/ScriptConsoleLog.h"

#include <iostream>

void StdoutScriptConsoleLog::AddLine(const std::string& line, const glm::vec4&)
{
    std::cout << line << '\n' << std::flush;
}
