#pragma once
// The retained GUI on this machine's screen: every drawn frame the screen
// that shows a mission's script screens (a console's running scene, the
// server's own console screen) calls HandleHotKeys with the retained GUI of
// this machine's screen (ConsoleScreen::RetainedGUI). It lays the tree out
// over the window, draws each widget with its
// immediate-mode control (RetainedWidgetKinds.h), asks the script's hot keys,
// and reports what the crew did as actions: on the server they reach the
// mission at once as "gui_message" events of client 0, on a console they go
// to the server as "signal" 39, which raises the same event for that console.
//
// Layout: each widget's rectangle is taken from its parent's (the window for
// the top level): pixel offsets from the parent's top-left corner when
// `absolute`, else percent of the parent's width and height. A "subregion"
// is the parent of the widgets below it. Interactive widgets take the ids
// 20001, 20002, ... in walk order, so two widgets swap ids when they swap
// places in their list. A hidden widget is neither drawn nor given an id, and
// neither are the widgets below it; its siblings draw as usual.
//
// Actions are gathered during the walk and reported after it, in order: a
// mission that rebuilds its screen while handling one (the usual answer to a
// click) then changes a tree that nothing is walking.
//
// Main thread only, inside the scene's draw.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/net/RetainedGUISignals.h"
#include "game/ui/IntRect.h"

class Edline;
class UIContext;
class RetainedGUIManager;
struct RetainedGUIWidget;

// One walk over the tree: the tree walked, the ids it hands out and the
// actions it gathers.
struct RetainedLayoutContext {
    static constexpr int32_t kFirstId = 20001;

    RetainedLayoutContext(UIContext& drawnThrough, RetainedGUIManager& walked) : ui(drawnThrough), shown(walked) {}

    int32_t NextId() { return nextId++; }

    UIContext& ui;  // the interface context the controls draw through
    RetainedGUIManager& shown;
    int32_t nextId = kFirstId;
    std::vector<RetainedActionSignal> actions;  // reported once the walk is done
};

class RetainedGUIScreen {
public:
    // Edit fields of "typein" widgets hold at most this many characters.
    static constexpr int32_t kTypeinCapacity = 128;
    // While a slider is dragged it reports at most once per this many ticks
    // (and once more when it is let go), so a drag does not flood the mission.
    static constexpr uint64_t kSliderReportTicks = 5;

    RetainedGUIScreen();
    ~RetainedGUIScreen();
    RetainedGUIScreen(const RetainedGUIScreen&) = delete;
    RetainedGUIScreen& operator=(const RetainedGUIScreen&) = delete;

    // The frame's work: the whole tree of the retained GUI laid out over the
    // window and drawn, then the script's hot keys asked (a pressed one acts
    // on the widget of its tag, when there is one), then every action reported.
    void HandleHotKeys(UIContext& ui, RetainedGUIManager& shown);

    // Lays out and draws the shown children of the record inside the parent
    // rectangle, recursing into sub-regions; their actions join the context.
    void LayoutAndDraw(RetainedLayoutContext& context, const IntRect& parent, RetainedGUIWidget& record);

    // Reports one action: to the mission on the server, to the server from a
    // console (nothing while a console is not connected).
    static void OnWidgetAction(const RetainedActionSignal& action);

    // The edit field behind the "typein" widgets of the tag, made with the
    // font on first use; it stays for the rest of the run.
    Edline& TypeinField(const std::string& tag, const std::string& font);

private:
    std::map<std::string, std::unique_ptr<Edline>> typeinFields;  // by widget tag
};
