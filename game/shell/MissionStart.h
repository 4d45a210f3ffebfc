#pragma once
// Starting a mission on the server, the same from every host that does it
// (the window program's scenes and halvex-server): the running mission
// stops, the server screen's own retained GUI empties, the new mission
// starts, every console is asked for its window size, and the mission is
// told the size of the server's own window.
//
// A mission that cannot start (its script missing or failing as it loads)
// leaves no mission running. StartMission gives the reason back for the
// set-up scene to show, writes it to the console log, and the program goes on.

#include <functional>
#include <optional>
#include <string>

// True when the mission runs. Why a start failed is left in startError; a
// start that works empties it.
bool StartMission(const std::string& folderName, std::string& startError);

// The steps every start shares, around the script host's own start of the
// mission (by its name or by its folder). A ScriptError of a mission that
// cannot start leaves it to the caller, with no mission running.
void StartMissionWith(const std::function<void()>& startScript);

// The folder name the mission gave run_next_mission, taken once; nothing when
// no hand-over waits.
std::optional<std::string> TakeNextMission();

enum class NextMission { None, Started, Failed };

// Takes the mission the script asked for with run_next_mission, if any, and
// starts it as StartMission does.
NextMission StartNextMission(std::string& startError);
