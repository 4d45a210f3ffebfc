#pragma once
// The program's version as missions and screens see it: three numbers joined
// by dots ("1.3.0"), the version of the scripting interface missions are
// written for.

#include <string>

std::string GSGetGameVersion();
