#pragma once
// The retained GUI's tree: every widget a mission script has placed on this
// machine's screen, under a root record whose lists hold the top-level
// widgets, and the script's own hot keys. A console fills it from "signal"
// 35, 37, 38, 83 and 94; on the server's machine the script functions
// addressed to client 0 call it directly. The screens draw it every frame and
// report what the crew does with it (that half lives with the drawing).
//
// Building is double-buffered. A clear of a subtree empties the background
// lists below it; widgets added while it is building gather there, and the
// old ones stay visible; the complete moves every background list into its
// visible list at once:
//
//     SetBuilding(true, "nav")    old children of "nav" stay visible
//     AddWidget(... "nav" ...)    new ones gather in the background
//     SetBuilding(false, "nav")   the new ones replace the old together
//
// Widgets are found by tag, depth first, the first match winning: appends
// never replace, so two widgets may share a tag.
//
// Main thread only: the client's dispatch, the script calls and the drawing
// all run there.

#include "game/guimodel/RetainedGUIWidget.h"

#include <cstdint>
#include <string>
#include <vector>

class Qel2dBitmap;
class ScriptHotKeyService;

// A hot key a mission added: pressing it acts on the widget of its tag.
struct ScriptHotKey {
    std::string context;  // the hot key's context (the script's category)
    std::string tag;      // the widget it acts on, and the hot key's name
    std::string keyName;  // the "KEY_" tag the script gave
    int32_t code = 0;     // its virtual-key code; 0 when the tag names no key
};

class RetainedGUIManager {
public:
    // How deep widgets may nest below the root. Screens use a handful of
    // levels; every walk of the tree (search, commit, copy, dump) recurses
    // once per level, so a script nesting without end would exhaust the stack.
    static constexpr int kMaxDepth = 32;
    // Side of the render target of "3dship" widgets, pixels.
    static constexpr int kShipTargetSize = 500;

    RetainedGUIManager() = default;
    virtual ~RetainedGUIManager() = default;
    RetainedGUIManager(const RetainedGUIManager&) = delete;
    RetainedGUIManager& operator=(const RetainedGUIManager&) = delete;

    // Depth-first search below the record, never the record itself: through
    // the background list of a building record, else its visible list; each
    // child is compared before its own children are searched. An empty tag
    // finds the first descendant whose tag is empty. Null when none has it.
    static RetainedGUIWidget* FindByTag(RetainedGUIWidget& record, const std::string& tag);
    RetainedGUIWidget* FindByTag(const std::string& tag) { return FindByTag(root, tag); }

    // Places a widget; true when it updated one in place:
    // - with a parent tag: appended to that parent's background list while the
    //   parent is building, else to its visible list; when no widget has the
    //   tag, to the root's visible list;
    // - without one, while the root is building: appended to its background list;
    // - without one otherwise: the first widget with the same tag becomes the
    //   record, children and building state included (a new record is
    //   building until a complete reaches it), and the answer is true; when
    //   none has the tag nothing changes.
    // A widget whose numbers do not fit (RetainedGUIWidget::NumbersFit), or
    // that would nest deeper than kMaxDepth, is left out (each fault logged once).
    bool AddWidget(RetainedGUIWidget record);

    // "send_gui_clear" (clear true) and "send_gui_complete" (clear false) of
    // the subtree under the widget with the tag, or of the whole tree for an
    // empty tag; a tag no widget has changes nothing. Clearing the whole tree
    // also forgets the script's hot keys.
    void SetBuilding(bool clear, const std::string& tag);

    // Brings the record and everything below it into the building state
    // given: a clear empties each background list, a complete moves each
    // background list into the visible list. A record already in that state
    // is left alone with everything below it.
    static void CommitTree(RetainedGUIWidget& record, bool building);

    // Shows or hides the first widget with the tag; an unknown tag is ignored.
    void SetHidden(const std::string& tag, bool shown);

    // Adds a script hot key for the widget of the tag, unless one for that
    // tag exists; the hot-key service gives its code and lists it.
    void AddHotKey(const std::string& context, const std::string& tag, const std::string& keyName,
                   const std::string& description);
    // Forgets every hot key of the tag, keeping the order of the rest.
    void RemoveHotKey(const std::string& tag);

    // The debug text of "get_debug_gui_tree": the leading text, a title, then
    // one line per widget of the visible (or background) lists, indented by
    // "- " per level: "[parentTag, ]tag, text, data".
    std::string DumpTree(const std::string& leadingText, bool visibleList) const;

    // Makes, once, the 500 x 500 render target "RetainedGUIManager::Draw"
    // through which "3dship" widgets show their ship model; the render
    // manager's set-up calls it. Without a graphics service there is none.
    void Draw();
    Qel2dBitmap* ShipTarget() const { return shipTarget; }

    // The root record (tag empty): its lists hold the top-level widgets. The
    // drawing reads it and writes the values the crew changes.
    RetainedGUIWidget& Root() { return root; }
    const RetainedGUIWidget& Root() const { return root; }
    const std::vector<ScriptHotKey>& HotKeys() const { return hotKeys; }

    // The hot keys of the shell; null: codes 0, nothing listed.
    void SetHotKeyService(ScriptHotKeyService* service) { hotKeyService = service; }

private:
    void Append(std::vector<RetainedGUIWidget>& list, int listDepth, RetainedGUIWidget&& record);
    static void Report(bool& reported, const char* format, const std::string& tag);

    RetainedGUIWidget root;
    std::vector<ScriptHotKey> hotKeys;
    ScriptHotKeyService* hotKeyService = nullptr;
    Qel2dBitmap* shipTarget = nullptr;  // held by the graphics service
    bool reportedTooDeep = false;
    bool reportedBadNumbers = false;
};
