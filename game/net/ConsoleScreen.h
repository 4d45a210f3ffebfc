#pragma once
// This machine's console screen as the server's presentation signals reach
// it: which console it shows and the boxes of its widgets, the state of those
// boxes that the mission asks for, and speech bubbles over radar contacts.
// The render manager and the console boxes implement it; this base is the
// screen of a program without one (the headless harness), on which every
// call does nothing and every query answers empty.
//
// The server's own screen is the same screen: the mission's functions that
// address client 0 reach it through ServerScreen, which extends this one.
// Main thread only.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ConsoleScreen {
public:
    virtual ~ConsoleScreen() = default;

    // The console this screen shows and the widgets it draws, in order.
    virtual void SetConsole(const std::string& /*consoleName*/, const std::vector<std::string>& /*widgets*/) {}
    virtual std::string ConsoleName() const { return ""; }
    // Both rectangles of a widget's box (normal, then full screen; left, top,
    // right, bottom, in percent of the window), made when missing.
    virtual void SetBoxRects(const std::string& /*consoleName*/, const std::string& /*widgetName*/,
                             const std::array<float, 8>& /*rects*/) {}
    // Reports every box of the widget to the mission ("widget_box_state"),
    // with the rectangle of the layout (0 normal, 1 full screen).
    virtual void ReportWidgetBoxes(const std::string& /*widgetName*/, int32_t /*layoutIndex*/) {}
    // An empty text removes the bubble; object 0 removes every bubble.
    virtual void SetSpeechBubble(uint64_t /*objectId*/, int32_t /*seconds*/, const std::string& /*colour*/,
                                 const std::string& /*text*/) {}
    // A new simulation begins: what the views keep of the old one's objects
    // (effects, planet and nebula records) goes, as its ids come again.
    virtual void ForgetWorld() {}
};

// This machine's screen while it has one; null in a program without a screen.
extern ConsoleScreen* gConsoleScreen;
