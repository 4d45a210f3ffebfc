#pragma once
// Story dialogs: a mission puts a character in front of the crew, a portrait
// with a title and a body text in a box in the lower middle of the screen.
// Dialogs queue up and show one at a time in the order they arrived; the one
// in front goes on a release of the left mouse button anywhere, or once it
// has been shown for more than 20 seconds, and the next takes its place.
//
// Every machine's screen keeps one queue (ConsoleScreen::StoryDialogs): the
// server's is filled by the mission for its own screen, a console's by
// "signal" 56; a new world empties both. The
// screens that show the queue draw its front entry once per frame
// (DrawStoryDialogs) and then let the queue age it:
//
//     queue.FinishFrame(leftReleased, qel::GetMilliseconds());
//
// Time counts only in frames that draw a dialog, and one frame counts at most
// kMaxFrameMillis, so a dialog queued while no screen showed the queue (or
// after a long pause) loses no more than that on its first frame.
//
// Main thread only.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct StoryDialogEntry {
    std::string title;          // first line, in white
    std::string text;           // body text, in light grey
    std::string face;           // face description of the portrait
    std::string color;          // colour text of the inner frame
    uint32_t shownMillis = 0;   // drawn time in front so far; 0 while waiting
};

class StoryDialogGUIManager {
public:
    // A dialog in front for longer than this goes by itself.
    static constexpr uint32_t kShowMillis = 20000;
    // The most time one frame adds to the dialog in front.
    static constexpr uint32_t kMaxFrameMillis = 200;
    // Dialogs waiting at once. A crew clicks through a handful; a mission
    // that sends one every tick, or to a screen nobody draws (the headless
    // server's), would otherwise fill memory without end.
    static constexpr size_t kMaxQueued = 256;

    StoryDialogGUIManager() = default;
    virtual ~StoryDialogGUIManager() = default;
    StoryDialogGUIManager(const StoryDialogGUIManager&) = delete;
    StoryDialogGUIManager& operator=(const StoryDialogGUIManager&) = delete;

    // Appends a copy at the back; with kMaxQueued waiting, the new dialog is
    // left out (reported once).
    void Push(const StoryDialogEntry& entry);
    // Forgets every dialog; the frame clock is kept.
    void Clear();
    // The dialog in front goes; the others move up in order.
    void RemoveFront();

    bool Empty() const { return entries.empty(); }
    // The dialog on screen; the queue must not be empty.
    const StoryDialogEntry& Front() const { return entries.front(); }

    // After a frame drew the front dialog: a release dismisses it, then the
    // dialog in front (the next one, after a dismissal) ages by the time
    // since the last such frame, at most kMaxFrameMillis, and goes once its
    // shown time passes kShowMillis. Nothing happens on an empty queue.
    void FinishFrame(bool leftReleased, uint32_t clockMillis);

    uint32_t lastDrawMillis = 0;            // clock at the end of the last frame that drew a dialog
    std::vector<StoryDialogEntry> entries;  // oldest first; the first is on screen

private:
    bool reportedFull = false;
};
