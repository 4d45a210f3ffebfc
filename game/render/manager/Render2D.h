#pragma once
// The consoles' 2D radar: a top-down map of space around the focus ship,
// drawn with sprites, lines and text into its own render target and copied
// into the widget's rectangle. World x runs right, world z up; height shows
// only in read-outs and elevation arrows.
//
// The render manager holds the one Render2D, so every radar widget of the
// console shares its zoom, centre and selections. A widget draws it with its
// console kind, which decides what a click selects and what extras show:
//
//   void ViewScience2DDraw(ConsoleState& console, IntRect& rect, std::string)
//   {
//       if (console.renderer)
//           console.renderer->render2D.Draw(rect, Render2D::kScienceKind);
//   }
//
// The scale (pixels per world unit) is the render manager's radarScale, set
// by SetRadarZoom, the zoom buttons and the wheel. One frame draws, in order:
// background and rings and grid, nav points and proxies, the objects with
// their shields, arcs and reticles, the effects, the labels (nav points'
// texts, then contacts' names and read-outs, clear of each other and of every
// icon), the click selection and the pointer read-out, the speech bubbles;
// then the copy into the widget, the hold indicator or menu, and the hold
// request. A click selects at once (ClickTimer) and tells the server (signal
// 13); a hold of a second, or a right-click, asks the server for a quick menu
// (signal 99), whose buttons answer with signal 100.
//
// Main thread only. Split over Render2D.cpp (state, mapping, frame, pointer),
// Render2DObjects.cpp (icons), Render2DLabels.cpp (names and read-outs),
// Render2DShapes.cpp (arcs, shields, rings, grid, arrows, effects) and
// Render2DSelection.cpp (picking, reticles, selection, scan requests, hold
// menu).

#include "game/render/manager/ClickTimer.h"
#include "game/render/manager/LabelStack.h"
#include "game/render/manager/Ring2DRenderer.h"
#include "game/ui/IntRect.h"
#include "game/ui/UILabelLayout.h"
#include "game/world/SimulationTimer.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

class ObjectTypeDrawData;
class Qel2dBitmap;
class RenderManager;
class SpaceObject;
struct Navpoint;
struct NavProxy;
struct EffectEventRecord;

class Render2D {
public:
    // The console kinds a widget draws the radar as.
    static constexpr const char* kNormalKind = "normal";
    static constexpr const char* kScienceKind = "science";
    static constexpr const char* kCommsKind = "comms";
    static constexpr const char* kWeaponsKind = "weapons";
    static constexpr const char* kGameMasterKind = "gamemaster";

    // Draw layers, lowest first: fills, background and grid, terrain, ships,
    // labels, read-outs and reticles, the hold menu.
    static constexpr int kFillLayer = 999;
    static constexpr int kBackLayer = 1000;
    static constexpr int kTerrainLayer = 1001;
    static constexpr int kShipLayer = 1002;
    static constexpr int kLabelLayer = 1003;
    static constexpr int kReadoutLayer = 1004;
    static constexpr int kMenuLayer = 1010;

    // The wheel keeps the scale here: closer shows a ship as a smear, farther
    // shows the whole map as a dot.
    static constexpr float kMinWheelScale = 0.005f;
    static constexpr float kMaxWheelScale = 1.5f;
    // Objects this far outside the view still draw, so icons and labels slide
    // in from the edge instead of popping up.
    static constexpr int32_t kCullMargin = 300;
    // A press that travels farther than this is no longer a hold.
    static constexpr float kHoldTravel = 20.0f;
    static constexpr int64_t kHoldTicks = 30;      // one second at 33 ms ticks
    static constexpr uint32_t kHoldMilliseconds = 1000;  // the same second, by the input events' clock
    static constexpr int64_t kHoldFadeTicks = 60;  // the completed hold's square fades this long
    static constexpr float kPickRadiusSquared = 900.0f;  // 30 pixels
    static constexpr uint32_t kSelectionWindowMs = 2000;
    static constexpr uint32_t kSelectionElapsedMs = 10;
    // The scan ring of the current scan target.
    static constexpr float kScanRingRadius = 50.0f;
    static constexpr int32_t kScanRingSegments = 50;

    // What WorldToScreen and ScreenToWorld give.
    struct ScreenPoint {
        glm::vec2 pos{0.0f};  // radar-target pixels
        float angle = 0.0f;   // icon angle, radians
    };
    struct WorldPoint {
        glm::vec3 pos{0.0f};
        float angle = 0.0f;
    };
    // One beam's arc: angles in radians, range in world units.
    struct BeamArc {
        float start = 0.0f;
        float end = 0.0f;
        float range = 0.0f;
        glm::vec4 colour{1.0f};
    };

    explicit Render2D(RenderManager& owner);

    // Once the render manager has its radar target: the view draws from now on.
    void Setup();
    // One frame of the view in the widget's rectangle (window pixels).
    void Draw(const IntRect& rect, const std::string& kind);
    // A new simulation: the hold and its menu go.
    void Reset();
    // The server's quick menu (signal 99); the first option is its title.
    void ShowHoldMenu(uint64_t subject, uint64_t object, uint64_t extra, const std::vector<std::string>& options);

    ScreenPoint WorldToScreen(const glm::vec3& world, float angle) const;
    WorldPoint ScreenToWorld(const glm::vec2& screen, float angle) const;
    static glm::vec2 PolarToScreen(float bearing, float radius);
    // The heading a radar icon of the object shows, radians.
    static float IconHeading(const SpaceObject& object);
    // The heading that is "up" on a relative radar: the ship's own.
    static float ViewHeadingOf(const SpaceObject& object);

    // --- Shapes in world units (Render2DShapes.cpp).
    void DrawBeamArcs(const SpaceObject& ship, std::vector<BeamArc>& arcs) const;
    void DrawRangeRings(const glm::vec2& centre, const glm::vec4& ringColour, const glm::vec4& farColour);
    void DrawGrid(float worldX, float worldZ, const glm::vec4& colour, const IntRect& clip);
    void PlaceGridNames();
    void DrawElevationArrows(const glm::vec2& screen, const glm::vec3& world, const SpaceObject& focus,
                             const glm::vec4& colour, int layer);
    // The name of the grid cell, "A19" style.
    static std::string GridCellName(int32_t column, int32_t row);
    // The first column (and row) of the 11 the grid draws around a point.
    static int32_t GridFirstCell(float world);

    // --- Labels and read-outs (Render2DLabels.cpp).
    // Contacts are labelled nearest the focus ship first, this many at most a
    // frame: a radar that shows more has no room for their names anyway (a
    // name and its read-outs take some 3,000 of the target's pixels, and
    // names climb clear of each other), and each one tried costs the frame
    // its search and its text.
    static constexpr size_t kMaxLabelledContacts = 150;
    // The name, climbing clear of the labels and icons placed before it; a
    // name that finds no free place within its climb is filed but not drawn.
    void DrawLabel(const std::string& text, const glm::vec2& screen, const glm::vec4& colour);
    void DrawRangeBearing(const glm::vec2& screen, const glm::vec3& world, const SpaceObject& focus,
                          const glm::vec4& colour);
    // "2999", "3K": a target's distance beside it.
    static std::string RangeText(float distance);
    // "999", "1K": the pointer read-out's distance.
    static std::string PointerRangeText(float distance);

    // --- View state.
    bool enabled = false;
    IntPoint dragStartCentre;
    IntPoint dragStartPointer;
    bool dragging = false;
    int64_t pressTick = 0;  // last tick the left button was up over the view
    int64_t holdTick = 0;   // tick the last hold completed
    bool menuOpen = false;
    bool holdDone = false;
    bool pressed = false;
    bool isClick = true;
    glm::vec2 holdPoint{0.0f};  // window pixels
    std::vector<std::string> holdMenuOptions;
    IntRect menuArea;  // window pixels the open menu covered when last drawn
    uint64_t holdMenuSubject = 0, holdMenuObject = 0, holdMenuExtra = 0;
    glm::vec3 viewCentre{0.0f};
    float viewHeading = 0.0f;  // radians; the focus ship's, for relative positions
    simulationTimer scanRequestTimer;
    Ring2DRenderer ringRenderer;
    IntRect viewRect;  // the part of the target copied last frame
    LabelStack placedLabels;  // the contacts' names, climbing clear of each other
    // The names and read-outs of the frame as drawn, and the icons they keep
    // off, kept clear of each other.
    LabelLayout labels;
    // A grid cell's name, placed once the objects are labelled.
    struct GridName {
        IntRect box;
        std::string text;
        glm::vec4 colour{0.0f};
    };
    std::vector<GridName> gridNames;
    std::unordered_set<uint64_t> frameObjects[2];  // ids drawn this frame and the last
    int32_t currentFrameObjects = 0;
    std::set<int32_t> seenNavProxies;  // nav proxies whose object showed itself
    std::set<int32_t> seenSides;       // side keys of the objects labelled so far
    ClickTimer weaponsSelection, scienceSelection, commsSelection, normalSelection;

    // Drawing into the radar's render target, cleared to transparent, with
    // the radar's perspective; EndTarget flushes it and returns to the
    // screen. The comms message list draws through the same target.
    void BeginTarget();
    void EndTarget();

private:
    // What one frame works with.
    struct Frame {
        IntRect rect;
        std::string kind;
        IntRect cull;
        bool inputAllowed = false;
        bool pointerOver = false;
        glm::vec2 pointer{0.0f};   // radar-target pixels
        glm::vec2 windowPointer{0.0f};
        float terrainLimit = 0.0f;
        bool mainConsole = false;  // the console's type names "main"
        bool scienceConsole = false;
        SpaceObject* focus = nullptr;
        SpaceObject* own = nullptr;
        SpaceObject* sideShip = nullptr;
        bool clicked = false;
        bool holdRequested = false;
        const SpaceObject* pickCandidate = nullptr;
        float pickBest = kPickRadiusSquared;
        uint64_t scanId = 0;
        float scanPercent = 0.0f;
        int64_t tick = 0;
    };

    // Render2D.cpp: the frame's steps.
    void DrawIntoTarget();
    void ReadFrameInputs(const IntRect& rect, const std::string& kind);
    void HandlePointer();
    void WheelZoom(int32_t wheel);
    void DragMap();
    void ReleaseLeft(uint32_t heldMilliseconds);
    float HoldFraction() const;
    bool FollowFocusShip();
    void DrawBackground();
    void CopyToWidget();
    template <typename Signal>
    void Send(const Signal& signal);

    // Render2DObjects.cpp.
    void DrawNavPoints();
    void DrawNavPoint(const Navpoint& point);
    void DrawNavProxies();
    void DrawNavProxy(const NavProxy& proxy, const glm::vec2& screen, bool seen, int layer);
    void DrawObjects();
    void DrawObject(const SpaceObject& object);
    bool DrawSpecialObject(const SpaceObject& object, const ScreenPoint& at, const glm::vec4& colour);
    void DrawShip(const SpaceObject& object, const ScreenPoint& at, const glm::vec4& colour);
    void DrawTerrain(const SpaceObject& object, bool nebula);
    void LabelContact(const SpaceObject& object, const glm::vec2& screen, const std::string& label,
                      const glm::vec4& colour);
    // Icons the labels keep off: the box from low to high about the point
    // (pixels, before the turn), turned as the sprite is drawn.
    void ReserveIcon(const glm::vec2& screen, const glm::vec2& low, const glm::vec2& high, float angle);
    void ReserveSprite(const std::string& bitmap, const glm::vec2& screen, float angle, float scale);
    void ReserveSilhouette(const ObjectTypeDrawData& drawData, const glm::vec2& screen, float angle, float scale);
    // The box from (left, top) to (right, bottom) about the point.
    static IntRect Box(float x, float y, float left, float top, float right, float bottom);
    bool OnTarget(const IntRect& box) const;
    void DrawPointerReadout();
    void DrawSpeechBubbles();
    void RegisterSide(const SpaceObject& object);
    void EnterFrameObject(const SpaceObject& object);
    bool ScannedByOwnSide(const SpaceObject& object) const;
    void DrawSprite(const std::string& bitmap, const glm::vec2& at, float angle, float scale,
                    const glm::vec4& colour, int layer, bool additive = false);
    void DrawText(const std::string& font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                  int layer, int align);
    void PlaceReadout(const IntRect& box, const std::string& text, const glm::vec4& colour, int align);
    void QueueNavLabel(const IntRect& box, const std::string& text, const glm::vec4& colour);
    void PlaceLabels();
    bool InCull(const glm::vec2& screen) const;

    // Render2DShapes.cpp.
    void QueueArcs(const glm::vec2& screen, const std::vector<BeamArc>& arcs);
    void DrawQueuedArcs();
    void DrawShields(const SpaceObject& ship, const ScreenPoint& at, float iconScale);
    void DrawScanRing(const SpaceObject& object, const glm::vec2& screen);
    void DrawEffects();
    void DrawEffect(const EffectEventRecord& effect);
    void Line(const glm::vec2& a, const glm::vec2& b, const glm::vec4& colour, int layer, bool additive = false);

    // Render2DSelection.cpp.
    void ReadSelections();
    void OfferToPick(const SpaceObject& object, const glm::vec2& screen);
    void DrawReticles(const SpaceObject& object, const glm::vec2& screen);
    void SelectClicked();
    void RequestScan(const SpaceObject& ship);
    void DrawHoldOverlay();
    void DrawHoldMenu();
    void DrawHoldIndicator();
    void SendHoldRequest();
    const ClickTimer& HoldReportTimer() const;

    RenderManager& owner;
    Frame frame;
    uint64_t reportedBadFocus = 0;  // the focus ship whose bad position was logged
    std::vector<BeamArc> arcs;  // the current ship's, reused

    // What the object pass leaves for after it: the arcs of every ship drawn
    // together (one batch of lines).
    struct QueuedArc {
        glm::vec2 screen;  // the ship
        BeamArc arc;
    };
    std::vector<QueuedArc> queuedArcs;

    // What the label pass places once every icon of the frame is reserved:
    // the nav points' texts first, then the contacts nearest first.
    struct NavLabel {
        IntRect box;
        std::string text;
        glm::vec4 colour{1.0f};
    };
    std::vector<NavLabel> navLabels;
    struct ContactLabel {
        float distance = 0.0f;  // from the focus ship, world units
        glm::vec2 screen{0.0f};
        glm::vec3 world{0.0f};
        std::string name;
        glm::vec4 colour{1.0f};
    };
    std::vector<ContactLabel> contactLabels;
    // The inked part of each sprite art labels keep off, about its middle in
    // the art's pixels, read once from its pixels: most art is clear round
    // its edges.
    struct SpriteInk {
        glm::vec2 low{0.0f};
        glm::vec2 high{0.0f};
    };
    std::unordered_map<std::string, SpriteInk> spriteInks;
    const SpriteInk& InkOf(const std::string& name, Qel2dBitmap& art);
};
