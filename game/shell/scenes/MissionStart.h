#pragma once
// Starting a mission on the server, the same from every scene that does it:
// the running mission stops, the server screen's own retained GUI empties,
// the new mission starts, every console is asked for its window size, and
// the mission is told the size of the server's own window.
//
// A mission that cannot start (its script missing or failing as it loads)
// leaves no mission running; the reason is kept for the set-up scene to show
// and written to the console log, and the program goes on.

#include <string>

// True when the mission runs.
bool StartMission(const std::string& folderName);

enum class NextMission { None, Started, Failed };

// Takes the mission the script asked for with run_next_mission, if any, and
// starts it.
NextMission StartNextMission();

// Why the last start failed; empty after a start that worked.
extern std::string missionStartError;
