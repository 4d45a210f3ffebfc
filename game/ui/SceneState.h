#pragma once
// What the scenes keep from frame to frame and from screen to screen. The
// host that runs the scenes owns it and hands it to every scene call
// (game/render/manager/SceneFunction.h). The program's scenes keep theirs in a class built on
// this one (the shell's ShellState); a host given none keeps an empty one,
// which is all that scenes keeping nothing need.

#include "game/ui/UIContext.h"

class SceneState {
public:
    virtual ~SceneState() = default;

    // The interface context the scenes draw their controls through: the one
    // of the host that runs them, which hands it over as it takes the state.
    UIContext& UI() { return *ui_; }
    void DrawThrough(UIContext& ui) { ui_ = &ui; }

private:
    UIContext* ui_ = &theUIContext;
};
