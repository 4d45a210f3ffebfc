#pragma once
// The mission's script file, checked before the interpreter starts: a mission
// folder without its script, a folder in its place or a file that is not text
// (a NUL byte stops Python without naming the file) is refused in one line
// that names the path.

#include <string>

// Throws ScriptError naming the path when the file is missing, not a file,
// unreadable or holds a NUL byte (with its line and column).
void CheckMissionScriptFile(const std::string& path);
