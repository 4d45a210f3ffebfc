#pragma once
// What the server's own screens ask of the game the missions run in, done
// as the mission's functions of the same name do it.

#include <string>

// The program's version: three numbers joined by dots ("1.3.0"), the
// version of the scripting interface missions are written for.
std::string GSGetGameVersion();

// Pauses the world and tells every console, as pause_sim does.
void GSPauseSim();
