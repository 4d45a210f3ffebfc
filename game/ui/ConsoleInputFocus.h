#pragma once
// The kind of input that acted last, "mouse", "joy", "key" or "button" (""
// at start): a process-wide note shared by the full-3D helm and the fighter
// control, so whichever input the crew used last keeps the helm.

#include <string>

extern std::string lastInputKind;
