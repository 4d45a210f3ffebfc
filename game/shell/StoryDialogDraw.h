#pragma once
// The story dialog in front of the queue of this machine's screen
// (ConsoleScreen::StoryDialogs), drawn on top of a screen's own controls: a white-edged box across the
// lower middle of the window, framed inside in the dialog's colour, with the
// character's portrait at its left, the title in white and the body text in
// light grey centred beside it. A release of the left button anywhere
// dismisses it; after 20 seconds in front it goes by itself.
//
// The screens that show story dialogs (a console's running scene, the
// server's own console screen) call it once per drawn frame, after their
// other controls. Nothing is drawn while the queue is empty. Main thread only.

class StoryDialogGUIManager;
class UIContext;

void DrawStoryDialogs(UIContext& ui, StoryDialogGUIManager& queue);
