#pragma once
// A console screen is a set of boxes. Each box belongs to one screen (a
// console's name), holds one named widget and has a rectangle in percent of
// the window, so the same layout fits every window size. A box keeps two
// layouts: [0] for the window as first opened, [1] for the enlarged window;
// the layout index says which one shows (see UpdateLayoutIndex).
//
// Every frame the console scene draws its console's widgets in list order,
// handing each the console's state (ConsoleState.h):
//
//   GUIBoxManager::DrawConsoleBoxes(console, console.consoleName, console.consoleWidgetList);
//   GUIBoxManager::EditMode(console.UI(), console.boxEdit, console.consoleName, console.renderer);
//
// A widget drawn for the first time gets its box at its place in a grid over
// the middle 80 % of the window; from then on its box keeps what the edit
// mode or the mission ("signal" 60) made of it. The boxes of every screen
// this machine has shown live in data/GUIBoxData.txt, ten lines a box.
//
// A widget is a draw function registered under a snake_case name with a line
// of documentation (the names and lines are the console catalogue's,
// game/net/ConsoleCatalogue.cpp, the draw functions WidgetTable.cpp's);
// data/GUIWidgetList.txt lists them for whoever lays out consoles.
//
// Main thread only.

#include "game/ui/IntRect.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ConsoleState;
class RenderManager;
class UIContext;

struct GUIBox {
    // The 2D layer of the box's outline and caption in the edit mode.
    static constexpr int32_t kLayer = 2000;

    // Percent of the window, [0] windowed and [1] enlarged. Not limited to
    // 0..100, and the edges may be stored out of order: only the pixel
    // rectangle a widget gets is ordered.
    std::array<IntRect, 2> rect{};
    std::string screenName;
    std::string widgetName;
    int32_t layer = kLayer;
    // Placed by the mission or the crew's edit mode in this run; a box made
    // at its default, or read from the file, may be laid out again.
    bool arranged = false;
};

// Draws a widget inside its box's pixel rectangle (left <= right, top <=
// bottom), given the console's state, where the widget keeps its own, and
// the widget name of the box.
using WidgetDrawFn = void (*)(ConsoleState& console, IntRect& rect, std::string widgetName);

// Which layout of the boxes shows, what it was chosen by, and the edit
// mode's drag.
struct GUIBoxEditState {
    // What a drag takes hold of: one corner, or the whole box.
    enum Part : int32_t { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3, kWholeBox = 4 };

    int32_t layoutIndex = 0;  // 0 the window as first opened, 1 enlarged
    // The box grabbed last in this run; boxes are never removed once made.
    GUIBox* grabbedBox = nullptr;
    int32_t grabbedPart = kTopLeft;
    bool dragging = false;
    IntPoint grabMouse{};  // the mouse as the drag began, pixels
    IntPoint grabPoint{};  // the grabbed corner as the drag began, pixels (0, 0 for the whole box)
    int32_t lastWidth = 0;  // window width at the last layout update, pixels
    IntRect savedRect{};    // the box's rectangle (percent) as a whole-box drag began
    // The box state the mission was told last, so that it hears of a change once.
    struct Report {
        std::string widgetName, screenName;
        int32_t layoutIndex = -1;
        IntRect rect{};
        bool operator==(const Report&) const = default;
    };
    Report lastReport;
};

class GUIBoxManager {
public:
    // Boxes are found by the pair (screen name, widget name).
    using BoxKey = std::pair<std::string, std::string>;
    using BoxMap = std::map<BoxKey, GUIBox>;

    // A box edge is kept within this many percent of the window either way:
    // far enough for any box partly outside the window, near enough that
    // converting it to pixels never overflows.
    static constexpr int32_t kMaxPercent = 1000;
    // The default grid fills this part of the window, inset by this much.
    static constexpr int32_t kGridInset = 10;
    static constexpr int32_t kGridSpan = 80;

    // --- The widgets.
    // Registers (or replaces) a widget with its documentation line.
    static void RegisterWidget(const std::string& widgetName, WidgetDrawFn draw, const std::string& documentation);
    // The widget's draw function; null for a name that is not registered.
    static WidgetDrawFn FindWidget(const std::string& widgetName);
    // Every registered name with its documentation, in byte order of the names.
    static const std::map<std::string, std::string>& WidgetDocumentation();
    // Writes data/GUIWidgetList.txt: each widget name, eight blanks and its
    // documentation, one line each, in the order above. Unwritable: skipped.
    static void SaveWidgetList();

    // --- The boxes.
    // Draws the box of the widget on the screen, made at the default
    // rectangle (percent) when the pair has no box yet. A widget that is not
    // registered draws nothing; its box stays and is saved.
    static void DrawBox(ConsoleState& console, const std::string& screenName, const std::string& widgetName,
                        const IntRect& defaultRect);
    // Draws every box of the list in order (see the file comment). With
    // onlyWidget set, only the boxes of that widget are drawn, at their places.
    // A list that brings a widget the screen has no box for is a new layout
    // of the screen (a console name reused with other widgets): the boxes of
    // its widgets that nobody arranged move to their cells of the list's
    // grid first, so that no new box lands on an old one.
    static void DrawConsoleBoxes(ConsoleState& console, const std::string& screenName,
                                 const std::vector<std::string>& widgetNames,
                                 const std::string& onlyWidget = std::string());
    // The default rectangle, in percent, of widget index of count (index <
    // count): a grid of max(1, floor(sqrt(count))) rows and as many columns
    // as it takes to hold them all, over the middle 80 % of the window.
    static IntRect DefaultBoxRect(size_t index, size_t count);
    // Sets both rectangles of the pair's box (left, top, right, bottom of
    // [0], then of [1]), each edge truncated toward zero and kept within
    // kMaxPercent; a value that is not a number counts as 0. Makes the box
    // when missing.
    static void SetBoxRects(const std::string& screenName, const std::string& widgetName,
                            const std::array<float, 8>& edges);
    // The box's rectangle of the layout (0 or 1) in window pixels, edges in
    // the order stored.
    static IntRect BoxRectToPixels(const GUIBox& box, int32_t layoutIndex);
    // The pair's box, or null.
    static GUIBox* FindBox(const std::string& screenName, const std::string& widgetName);
    static const BoxMap& Boxes();

    // --- The layout files: data/GUIBoxData.txt, the crew's, and
    // data/GUIBoxDefaults.txt, the game's own for its stations, in the same
    // form. Replaces every box by those of the game's file and then the
    // crew's, a box of both standing where the crew's puts it; missing files
    // add none. The edit mode of the state lets go of any box it held.
    static void Load(GUIBoxEditState& state);
    // Rewrites the file whole (the old one stays until the new one is
    // complete). A box whose names hold a line break stays out of it, as no
    // line-by-line file could read it back. Unwritable: the boxes live in
    // memory only.
    static void Save();

    // --- The layout index and the edit mode.
    // Whether the edit-mode hot key (GUI_WIDGET control, numeric minus) is
    // held; widgets keep their mouse controls still while it is.
    static bool IsEditKeyHeld();
    // Once a frame after the boxes: the layout index follows the window; while
    // the edit key is held every box of the screen is outlined and captioned,
    // a corner or the whole box follows the left button, the layout file is
    // written when the button comes up, and releasing 'R' scatters the boxes
    // of the windowed layout over the window. The mission hears of the box
    // grabbed last whenever its rectangle or layout index changes and on each
    // release, through the render manager given, which tells the mission
    // and whose ticks turn the outlines' colour. A window of no size
    // (minimised) skips the editing.
    static void EditMode(UIContext& ui, GUIBoxEditState& state, const std::string& screenName, RenderManager* view);
    // Who else hears the edit mode's box reports: a test listens there.
    using BoxReporter = std::function<void(const GUIBoxEditState::Report&)>;
    static void SetBoxReporter(BoxReporter reporter);
    // A window that grew wider than it was shows layout 1; one that narrowed
    // shows layout 0. The first call always chooses layout 0.
    static void UpdateLayoutIndex(GUIBoxEditState& state);
};

