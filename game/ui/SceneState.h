#pragma once
// What the scenes keep from frame to frame and from screen to screen. The
// host that runs the scenes owns it and hands it to every scene call
// (game/render/manager/SceneFunction.h). The program's scenes keep theirs in a class built on
// this one (the shell's ShellState); a host given none keeps an empty one,
// which is all that scenes keeping nothing need.

class SceneState {
public:
    virtual ~SceneState() = default;
};
