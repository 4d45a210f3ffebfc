#pragma once
// The server set-up scene's mission chooser: the missions of the catalogue
// under their category headers, one check button each with its description
// and keywords, a scroll bar when the list is taller than the window (the
// mouse wheel scrolls it too), and "Initialize Mission", which starts the
// ticked mission.

#include "game/shell/scenes/MissionCatalogue.h"

#include <cstdint>
#include <string>

class UIContext;

struct MissionListState {
    std::string selectedMission;   // folder name of the ticked mission; "" for none
    float scrollFraction = 1.0f;   // 0..1: 1 shows the top of the list, 0 its end
    int32_t contentHeight = 0;     // pixels the list took in the last frame
    int32_t firstRowTop = 0;       // of the last frame
    int32_t lastRowBottom = 0;     // of the last frame
    bool scrollBarWanted = false;  // the list runs beyond the window, recomputed each frame
};

// Draws the list of the missions and acts on it; true on the frame
// "Initialize Mission" started the ticked mission. A start that fails leaves
// its reason in startError (see StartMission).
bool uiMissionList(UIContext& ui, MissionListState& list, const MissionMap& missions, std::string& startError);
