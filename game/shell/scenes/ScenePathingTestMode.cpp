// The pathing test: the octree path search on one of two obstacle layouts,
// run a step, ten, a hundred or to the end at the press of a button, and
// drawn in the developer orbit view: the blocked leaves as glowing boxes, the
// points the search closed, the cells of the found path and the path itself,
// with the number of steps taken.

#include "engine/base/QEL3DObject.h"
#include "game/render/GenericBox.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/OctreePathSearch.h"
#include "helper/CRand.h"

#include <glm/geometric.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

const glm::vec3 kOpenSpaceMin{-1000.0f, -1000.0f, -1000.0f};
const glm::vec3 kOpenSpaceMax{1000.0f, 1000.0f, 1000.0f};
// Both layouts search a slab, flat in y.
const glm::vec3 kSlabMin{-1000.0f, -200.0f, -1000.0f};
const glm::vec3 kSlabMax{1000.0f, 200.0f, 1000.0f};

// The hollow sphere: a ball, its hollow, and the mouth that opens it.
const glm::vec3 kHollowCentre{31.0f, 33.0f, 35.0f};
constexpr float kBallRadius = 100.0f;
constexpr float kHollowRadius = 40.0f;
const glm::vec3 kMouthCentre{81.0f, 33.0f, 35.0f};
constexpr float kMouthRadius = 70.0f;
// Outside the space, so the search enters it clamped.
const glm::vec3 kHollowStart{-1210.0f, 101.0f, -1966.0f};

// The X wall: balls across x = 0, the goal beyond it and the start before it.
constexpr int kWallBalls = 40;
constexpr float kWallBallRadius = 70.0f;
constexpr float kWallDepth = 400.0f;  // the slab |x| <= 200 the balls stand in
constexpr float kGoalX = 700.0f;
constexpr float kStartX = -1100.0f;

// Floor markers every 100 units over ±700; path markers every 10 units.
constexpr float kGridReach = 700.0f;
constexpr float kGridStep = 100.0f;
constexpr float kPathMarkerStep = 10.0f;
constexpr int kBluePathMarkerEvery = 10;
constexpr int kTicksPerMarkerShift = 3;
// The marker mesh is 3 units across its radius: floor markers 12 units, path
// markers 6, closed points 5, so each reads with the whole space in view and
// none hides another (DevViewPass::kMarkerRadius).
constexpr float kGridMarkerScale = 4.0f;
constexpr float kPathMarkerScale = 2.0f;
constexpr float kClosedMarkerScale = 1.6f;

const glm::vec4 kRed{1.0f, 0.0f, 0.0f, 1.0f};
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kBlue{0.0f, 0.0f, 1.0f, 1.0f};
const glm::vec4 kYellow{1.0f, 1.0f, 0.0f, 1.0f};
const glm::vec4 kMagenta{1.0f, 0.0f, 1.0f, 1.0f};
// A path cell's outline: teal, half seen through.
const glm::vec4 kPathCellColour{0.1f, 0.4f, 0.4f, 0.6f};

enum ButtonId : int32_t {
    kHollowId = 11,
    kWallId = 12,
    kStepId = 13,
    kStep10Id = 14,
    kStep100Id = 15,
    kShowClosedId = 16,
    kCompleteId = 17,
    kExitId = 18,
};
constexpr int32_t kButtonGap = 1;
constexpr int32_t kExitGap = 2;
constexpr int kLayer = 1000;
const IntRect kStepTextBox{2, 2, 1000, 1000};

struct PathingTest {
    std::unique_ptr<OctreePathSearch> search;
    std::unique_ptr<QEL3DObject> sphere;
    std::unique_ptr<GenericBox> boxDrawer;
    std::vector<glm::vec3> pathPoints;
    std::vector<const OctreePathNode*> pathNodes;
    int32_t tickCounter = 0;
    bool showClosed = true;
};
PathingTest test;

float Unit(int value)
{
    return static_cast<float>(value) / static_cast<float>(CRAND_MAX);
}

// A point of the X wall's dice: z over the whole depth, y over the slab,
// x over kWallDepth from the left edge given.
glm::vec3 RandomPoint(float xFrom)
{
    const float z = Unit(crand()) * 2000.0f - 1000.0f;
    const float y = Unit(crand()) * 400.0f - 200.0f;
    const float x = Unit(crand()) * kWallDepth + xFrom;
    return {x, y, z};
}

void NewSearch(const glm::vec3& min, const glm::vec3& max)
{
    test.pathPoints.clear();
    test.pathNodes.clear();
    test.search = std::make_unique<OctreePathSearch>(min, max);
}

void NewHollowSphereTest()
{
    NewSearch(kSlabMin, kSlabMax);
    test.search->MarkSphere(kHollowCentre, kBallRadius, false);
    test.search->MarkSphere(kHollowCentre, kHollowRadius, true);
    test.search->MarkSphere(kMouthCentre, kMouthRadius, true);
    test.search->StartSearch(kHollowStart, kHollowCentre);
}

void NewXWallTest()
{
    NewSearch(kSlabMin, kSlabMax);
    for (int ball = 0; ball < kWallBalls; ++ball)
        test.search->MarkSphere(RandomPoint(-kWallDepth / 2.0f), kWallBallRadius, false);
    RandomPoint(0.0f);  // three values drawn and left
    const glm::vec3 goal = RandomPoint(kGoalX);
    const glm::vec3 start = RandomPoint(kStartX);
    test.search->StartSearch(start, goal);
}

// Up to count steps; a search that ended builds its path (again, when it
// had ended before: the lists grow by another copy).
void RunSteps(int32_t count)
{
    if (!test.search)
        return;
    for (int32_t step = 0; step < count; ++step)
        if (test.search->Step()) {
            test.search->BuildPath(test.pathPoints, test.pathNodes);
            return;
        }
}

void DrawFloor(const DevViewPass& pass)
{
    for (float x = -kGridReach; x <= kGridReach; x += kGridStep)
        for (float z = -kGridReach; z <= kGridReach; z += kGridStep)
            pass.DrawMarker(*test.sphere, {x, 0.0f, z}, kGridMarkerScale, x <= 0.0f ? kRed : kWhite);
}

// Markers every 10 units along each leg; every tenth is blue, and the
// pattern crawls along the path by one marker every 3 ticks.
void DrawPath(const DevViewPass& pass)
{
    for (size_t i = 0; i + 1 < test.pathPoints.size(); ++i) {
        const glm::vec3 from = test.pathPoints[i];
        const glm::vec3 leg = test.pathPoints[i + 1] - from;
        const float length = glm::length(leg);
        if (!(length > 0.0f))
            continue;
        const glm::vec3 direction = leg / length;
        for (float t = 0.0f; t < length; t += kPathMarkerStep) {
            const int phase = static_cast<int>(static_cast<float>(test.tickCounter / kTicksPerMarkerShift) + t / kPathMarkerStep);
            pass.DrawMarker(*test.sphere, from + direction * t, kPathMarkerScale,
                            phase % kBluePathMarkerEvery == 0 ? kBlue : kYellow);
        }
    }
}

void DrawSearch(const DevViewPass& pass)
{
    if (!test.search)
        return;
    if (test.showClosed && test.sphere)
        for (const glm::vec3& closed : test.search->ClosedPoints())
            pass.DrawMarker(*test.sphere, closed, kClosedMarkerScale, kMagenta);
    if (test.boxDrawer)
        test.search->DrawBlocked([&](const glm::vec3& min, const glm::vec3& max) {
            pass.GlowBox(*test.boxDrawer, min, max, OctreePathSearch::kBlockedColour);
        });
}

void DrawOverlay(UIContext& ui, const DevViewPass& pass)
{
    if (test.search && test.showClosed)
        for (const OctreePathNode* node : test.pathNodes)
            pass.OutlineBox(ui, node->cellMin, node->cellMax, kPathCellColour);
}

std::string Outcome()
{
    switch (test.search ? test.search->SearchOutcome() : OctreePathSearch::Outcome::Searching) {
    case OctreePathSearch::Outcome::Found: return "   path found";
    case OctreePathSearch::Outcome::Unreachable: return "   no path: nothing left to try";
    case OctreePathSearch::Outcome::GaveUp:
        return "   no path: gave up at the cap of " + std::to_string(OctreePathSearch::kMaxSteps) + " steps";
    case OctreePathSearch::Outcome::Searching: break;
    }
    return "";
}

// The column of buttons; true when "Exit" was clicked.
bool DrawButtons(UIContext& ui)
{
    SetDevToolButtonColumn(ui);
    if (uiButton(ui, kHollowId, "New Hollow Sphere Test", "gui-1", true, kLayer)) {
        PlayGUISound("gui_button");
        NewHollowSphereTest();
    }
    ui.ShiftRectY(1, kButtonGap);
    if (uiButton(ui, kWallId, "New X Wall Test", "gui-1", true, kLayer)) {
        PlayGUISound("gui_button");
        NewXWallTest();
    }
    const struct {
        ButtonId id;
        const char* label;
        int32_t steps;
    } stepButtons[] = {{kStepId, "Step AStar", 1}, {kStep10Id, "Step AStar X 10", 10}, {kStep100Id, "Step AStar X 100", 100}};
    for (const auto& button : stepButtons) {
        ui.ShiftRectY(1, kButtonGap);
        if (uiButton(ui, button.id, button.label, "gui-1", true, kLayer))
            RunSteps(button.steps);
    }
    ui.ShiftRectY(1, kButtonGap);
    if (uiCheckButton(ui, kShowClosedId, "Show Closed", "gui-1", test.showClosed, true, kLayer))
        test.showClosed = !test.showClosed;
    ui.ShiftRectY(1, kButtonGap);
    // The cap bounds the run: a search cannot go on past it.
    if (uiButton(ui, kCompleteId, "Complete AStar", "gui-1", true, kLayer))
        RunSteps(OctreePathSearch::kMaxSteps + 1);
    ui.ShiftRectY(1, kExitGap);
    return DevToolExit(ui, kExitId);
}

bool DrawPathingTest(UIContext& ui, const DevOrbitView& orbit)
{
    DevViewPass pass;
    if (pass.Begin(orbit)) {
        if (test.sphere) {
            DrawFloor(pass);
            DrawPath(pass);
        }
        DrawSearch(pass);
        pass.End();
        DrawOverlay(ui, pass);
    }
    if (DrawButtons(ui))
        return true;
    const int32_t steps = test.search ? test.search->Steps() : 0;
    ui.DrawText(ui.GetFont("gui-1"), kStepTextBox, "ticks to complete: " + std::to_string(steps) + Outcome(), kWhite,
                kLayer, 0);
    return false;
}

void Enter()
{
    test.sphere = LoadDevMarkerSphere();
    test.boxDrawer = std::make_unique<GenericBox>();
    NewSearch(kOpenSpaceMin, kOpenSpaceMax);
}

void Leave()
{
    test.search.reset();
    test.sphere.reset();
    test.boxDrawer.reset();
    test.pathPoints.clear();
    test.pathNodes.clear();
}

void Tick(UIContext& ui, DevOrbitView& orbit)
{
    ++test.tickCounter;
    if (QelKeyboard* keyboard = ui.Keyboard())
        orbit.ApplyHeldKeys(*keyboard);
}

SceneFunction Draw(UIContext& ui, DevOrbitView& orbit)
{
    orbit.Zoom(TakeMouseWheel());
    orbit.Drag(ui);
    return DrawPathingTest(ui, orbit) ? SceneFunction(SceneDevToolsMode) : SceneFunction(ScenePathingTestMode);
}

}  // namespace

SceneFunction ScenePathingTestMode(SceneEvent event, SceneState& scenes, RenderManager*)
{
    UIContext& ui = scenes.UI();
    DevOrbitView& orbit = ShellState::Of(scenes).orbitView;
    switch (event) {
    case SCENE_ENTER: Enter(); break;
    case SCENE_LEAVE: Leave(); break;
    case SCENE_TICK: Tick(ui, orbit); break;
    case SCENE_DRAW: return Draw(ui, orbit);
    default: break;
    }
    return ScenePathingTestMode;
}
