#pragma once
// The missions a server can start: one record per folder of data/missions
// that describes itself, filed under its category for the server set-up
// scene's list. Rebuilt every time a server starts, into the map the shell's
// state keeps. Main thread only.
//
// A folder is looked at when its name is longer than 3 characters and holds
// neither '.' nor an upper-case 'X' (so "abc", "my.mission" and "TestX" never
// show). Its description.yaml gives the keys "Visible Mission Name",
// "Description", "Keywords" and "Category"; without one that loads, the first
// two lines of description.txt give the category and the description, and
// the folder's name is shown.

#include <map>
#include <string>
#include <vector>

struct MissionDescription {
    std::string visibleName;  // the label of the mission's check button
    std::string folderName;   // below data/missions/: what is selected and started
    std::string description;  // first text line under the label
    std::string keywords;     // second text line under the label
};

// Category to its missions, categories in byte order of their names,
// missions in the order of the folder listing.
using MissionMap = std::map<std::string, std::vector<MissionDescription>>;

// Whether a folder of data/missions is looked at.
bool IsMissionFolderName(const std::string& name);

// Stops a running mission, then files every described mission folder anew.
void ScanMissions(MissionMap& missions);

// Files the folder's description under its category; a folder without one
// is left out, with one line on the standard error stream saying so. A
// description.yaml that cannot be read is named, with the reader's reason, in
// one line of the console log as well.
void LoadMissionDescription(MissionMap& missions, const std::string& folderName);
