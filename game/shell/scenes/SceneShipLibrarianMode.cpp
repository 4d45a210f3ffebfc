// The ship librarian: one hull of the ship data at a time in the developer
// orbit view, with its exhaust (blue) and beam (green) ports, its shield and,
// on request, two reference ships for size. It lists every hull key, prints
// the hull's size in mesh and in scaled units, tunes the mesh scale and the
// port positions and writes them back into data/shipData.yaml, and copies
// the point under the mouse on the hull to the clipboard, ready to paste
// into a port list. While it runs it reloads the ship data whenever the file
// is newer than its marker file data/timeMarker.txt, so outside edits (and
// its own writes) show at once; R reloads at once. What goes wrong (a file
// that does not load, a write that fails) is said in its log, and the ship
// data in memory stays as it was.

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/ShipData.h"
#include "game/world/ShipDataFileUpdate.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/matrix.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kShipDataPath = "data/shipData.yaml";
constexpr const char* kMarkerPath = "data/timeMarker.txt";
constexpr const char* kMarkerFileTag = "timeMarker";
// About two seconds of ticks between looks at the two files' times.
constexpr int32_t kMarkerCheckTicks = 61;
constexpr int32_t kReloadKey = qel::vk::kLetterA + ('R' - 'A');

constexpr const char* kReferenceShip = "fleet_light_cruiser";
constexpr const char* kReferenceStation = "starbase_civil";
const glm::vec3 kReferenceShipAt{100.0f, 0.0f, 0.0f};
const glm::vec3 kReferenceStationAt{0.0f, 0.0f, 200.0f};

// Floor markers every 25 units over ±175; the marker mesh is 3 units across
// its radius, so floor markers are 1.5 units and port markers 1.2.
constexpr float kGridReach = 175.0f;
constexpr float kGridStep = 25.0f;
constexpr float kGridFarZ = 100.0f;
constexpr float kGridMarkerScale = 0.5f;
constexpr float kPortMarkerScale = 0.4f;

const glm::vec4 kRed{1.0f, 0.0f, 0.0f, 1.0f};
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kGreen{0.0f, 1.0f, 0.0f, 1.0f};
const glm::vec4 kBlue{0.0f, 0.0f, 1.0f, 1.0f};
const glm::vec4 kShieldColour{0.7f, 0.7f, 1.0f, 0.5f};
const glm::vec4 kTitleColour{0.7f, 0.7f, 1.0f, 1.0f};
const glm::vec4 kHelpColour{1.0f, 0.7f, 1.0f, 1.0f};
const glm::vec4 kLogColour{1.0f, 1.0f, 0.6f, 1.0f};
const glm::vec4 kErrorColour{1.0f, 0.45f, 0.35f, 1.0f};

constexpr float kPointAdjustMin = 0.1f, kPointAdjustMax = 20.0f;
constexpr float kMeshAdjustMin = 0.1f, kMeshAdjustMax = 8.0f;
constexpr float kScrollPerWheel = 1.0f / 5000.0f;
// Rows the list shows from its start when scrolled to the end.
constexpr int32_t kListTailRows = 11;

enum ControlId : int32_t {
    kExitId = 10,
    kShowGridId = 11,
    kShowShieldId = 12,
    kShowReferenceId = 13,
    kPointAdjustId = 14,
    kMeshAdjustId = 15,
    kUpdateId = 16,
    kListSliderId = 101,
    kFirstRowId = 102,
};
constexpr int kLayer = 1000;
constexpr int kTextLayer = 1001;
constexpr int kPickFrameLayer = 1002;
constexpr int kPickTextLayer = 1003;
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;
constexpr int32_t kPickBoxWidth = 400;
constexpr int32_t kPickBoxHeight = 40;
constexpr size_t kLogLinesShown = 4;
constexpr int32_t kLogLineHeight = 20;

struct Librarian {
    std::vector<std::string> hullKeys;  // filled once, at the first enter that finds it empty
    int32_t currentHull = 0;
    bool showGrid = true;
    bool showShield = true;
    bool showReferenceShips = false;
    float pointScaleAdjust = 1.0f;
    float meshscaleAdjust = 1.0f;
    float listScroll = 1.0f;  // 1 shows the start of the list
    int32_t markerCheckCounter = 0;
    std::unique_ptr<QEL3DObject> sphere;
    std::string clipboardText;  // the point under the mouse, rebuilt every frame
    TextLog log;                // what the reloads and writes came to
};
Librarian librarian;

void Say(const glm::vec4& colour, const std::string& text)
{
    librarian.log.Add(colour, text);
}

const std::string& CurrentKey()
{
    static const std::string none;
    const auto index = static_cast<size_t>(librarian.currentHull);
    return index < librarian.hullKeys.size() ? librarian.hullKeys[index] : none;
}

void SaveMarkerFile()
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO(kMarkerFileTag);
    if (file->Open("data", "timeMarker", "txt", false, true, false, false)) {
        file->WriteString("ship data last read by the ship librarian\n");
        file->Close();
    }
}

// The main list read again. A file that does not load is reported and the
// records in memory stay, so the view goes on showing the last good data.
void Reload()
{
    ShipData& ships = ShipData::Instance();
    ShipData::RecordList records;
    ShipData::KeyMap keys;
    try {
        ShipData::Load(records, keys, ShipData::kMainDocument);
    } catch (const std::exception& error) {
        Say(kErrorColour, std::string("The ship data did not load: ") + error.what());
        SaveMarkerFile();
        return;
    }
    ships.ClearRecords(ships.mainRecords);
    ships.mainRecords = std::move(records);
    ships.mainKeys = std::move(keys);
    SaveMarkerFile();
    Say(kLogColour, std::string("Reloaded ") + kShipDataPath + ".");
}

void Enter(RenderManager* view)
{
    if (librarian.hullKeys.empty()) {
        librarian.currentHull = 0;
        for (const auto& [key, record] : ShipData::Instance().mainKeys)
            librarian.hullKeys.push_back(key);
    }
    librarian.sphere = LoadDevMarkerSphere();
    ShipData::Instance().Find(kReferenceShip);
    if (view)
        view->GetObjectTypeDrawData(kReferenceShip);
    SaveMarkerFile();
}

void Tick(UIContext& ui, DevOrbitView& orbit)
{
    if (QelKeyboard* keyboard = ui.Keyboard())
        orbit.ApplyHeldKeys(*keyboard);
    if (++librarian.markerCheckCounter < kMarkerCheckTicks)
        return;
    librarian.markerCheckCounter = 0;
    if (QelFileServices::Instance().CompareFileTimes(kShipDataPath, kMarkerPath) == 1)
        Reload();
}

void Frame(UIContext& ui)
{
    if (QelKeyboard* keyboard = ui.Keyboard(); keyboard && keyboard->IsKeyReleased(kReloadKey))
        Reload();
}

glm::mat4 TurnOf(const ShipDataRecord& record)
{
    return glm::rotate(glm::mat4(1.0f), record.meshRotate * glm::half_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::mat4 HullModel(const ShipDataRecord& record, float scale)
{
    return glm::scale(glm::mat4(1.0f), glm::vec3(scale)) * TurnOf(record);
}

void DrawFloor(const DevViewPass& pass)
{
    for (float x = -kGridReach; x <= kGridReach; x += kGridStep)
        for (float z = -kGridReach; z <= kGridReach; z += kGridStep) {
            const glm::vec4& colour = z >= kGridFarZ ? kGreen : (x <= 0.0f ? kRed : kWhite);
            pass.DrawMarker(*librarian.sphere, {x, 0.0f, z}, kGridMarkerScale, colour);
        }
}

void DrawPorts(const DevViewPass& pass, const ShipDataRecord& record, float scale)
{
    const glm::mat4 turn = TurnOf(record);
    const float portScale = librarian.pointScaleAdjust * scale;
    const auto marker = [&](const glm::vec3& position, const glm::vec4& colour) {
        if (position != glm::vec3(0.0f))
            pass.DrawMarker(*librarian.sphere, glm::vec3(turn * glm::vec4(position * portScale, 1.0f)), kPortMarkerScale,
                            colour);
    };
    for (const ShipExhaustPort& port : record.exhaustPorts)
        marker(port.position, kBlue);
    for (const ShipBeamPort& port : record.beamPorts)
        marker(port.position, kGreen);
}

void DrawReferenceShip(RenderManager& view, const DevViewPass& pass, const char* key, const glm::vec3& at)
{
    const ShipDataRecord* record = ShipData::Instance().Find(key);
    ObjectTypeDrawData* drawData = view.GetObjectTypeDrawData(key);
    if (record && drawData && drawData->mesh)
        drawData->mesh->Draw(glm::translate(glm::mat4(1.0f), at) * HullModel(*record, record->meshScale), pass.View(),
                             nullptr, "Redwood");
}

// The hull, its ports, its shield and the reference ships; the hull's model
// matrix for the picking.
glm::mat4 DrawHull(RenderManager* view, const DevViewPass& pass, const ShipDataRecord& record,
                   ObjectTypeDrawData* drawData)
{
    const float scale = record.meshScale * librarian.meshscaleAdjust;
    const glm::mat4 model = HullModel(record, scale);
    pass.LightShips(view);
    if (drawData && drawData->mesh)
        drawData->mesh->Draw(model, pass.View(), nullptr, "Redwood");
    if (librarian.sphere)
        DrawPorts(pass, record, scale);
    if (librarian.showShield && drawData && drawData->pointSandwich)
        drawData->pointSandwich->DrawFlat(model, pass.View(), kShieldColour);
    if (librarian.showReferenceShips && view) {
        DrawReferenceShip(*view, pass, kReferenceShip, kReferenceShipAt);
        DrawReferenceShip(*view, pass, kReferenceStation, kReferenceStationAt);
    }
    return model;
}

std::string Fixed3(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

// The hull under the mouse: its local point (the units of the port lists)
// shown beside the mouse and kept for the clipboard; a click puts it there.
void PickPoint(UIContext& ui, const DevViewPass& pass, const glm::mat4& model, const ObjectTypeDrawData* drawData)
{
    int32_t x = 0, y = 0;
    if (!drawData || !drawData->mesh || !ui.MousePosition(x, y))
        return;
    const glm::mat4 toWorld = glm::inverse(pass.Projection() * pass.View());
    const float ndcX = 2.0f * static_cast<float>(x) / static_cast<float>(pass.Width()) - 1.0f;
    const float ndcY = 1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(pass.Height());
    const glm::vec4 nearPoint = toWorld * glm::vec4(ndcX, ndcY, 0.0f, 1.0f);
    const glm::vec4 farPoint = toWorld * glm::vec4(ndcX, ndcY, 1.0f, 1.0f);
    const glm::mat4 toLocal = glm::inverse(model);
    const glm::vec3 origin = glm::vec3(toLocal * (nearPoint / nearPoint.w));
    const glm::vec3 end = glm::vec3(toLocal * (farPoint / farPoint.w));
    const glm::vec3 direction = glm::normalize(end - origin);
    if (!std::isfinite(direction.x))
        return;
    for (const QEL3DDrawUnit& unit : drawData->mesh->units) {
        float distance = 0.0f;
        glm::vec3 hit, normal;
        if (!unit.RayCast(origin, direction, distance, hit, normal))
            continue;
        const IntRect box{x, y, x + kPickBoxWidth, y + kPickBoxHeight};
        uiFrame(ui, 1, static_cast<float>(box.left), static_cast<float>(box.top), static_cast<float>(box.right),
                static_cast<float>(box.bottom), ui.dimColour, kPickFrameLayer);
        ui.DrawText(ui.GetFont("gui-2"), box,
                    "PT x:" + Fixed3(hit.x) + "   y:" + Fixed3(hit.y) + "   z:" + Fixed3(hit.z), kWhite,
                    kPickTextLayer, kAlignCentre);
        librarian.clipboardText = "[ " + Fixed3(hit.x) + ", " + Fixed3(hit.y) + ", " + Fixed3(hit.z) + " ],";
    }
    if (!librarian.clipboardText.empty() && ui.LeftReleased() && gInputFactory)
        gInputFactory->SetClipboardText(librarian.clipboardText);
}

void DrawTexts(UIContext& ui, const ShipDataRecord& record, const ObjectTypeDrawData* drawData)
{
    const int32_t w = ui.WindowWidth();
    const int32_t h = ui.WindowHeight();
    ui.DrawText(ui.GetFont("gui-2"), IntRect{2, 2, w, h},
                "HULL " + std::to_string(librarian.currentHull) + "^" + CurrentKey(), kTitleColour, kLayer, kAlignLeft);
    ui.DrawText(ui.GetFont("gui-1"), IntRect{2, h - 120, w, h},
                "ins/del or q/e = zoom,   wasd rotate,   R reloads the ship data^"
                "choose the hull in the list on the right^click to copy coords to clipboard",
                kHelpColour, kTextLayer, kAlignLeft);
    glm::vec3 low{0.0f}, high{0.0f};
    if (drawData && drawData->mesh)
        drawData->mesh->GetBounds(low, high);
    const glm::vec3 raw = high - low;
    const glm::vec3 scaled = raw * record.meshScale * librarian.meshscaleAdjust;
    QelBitmapFont* font = ui.GetFont("gui-1");
    const auto size = [&](const char* axis, float rawSize, float scaledSize, int32_t shift) {
        ui.DrawText(font, IntRect{w - 700 - shift, h - 60, w - shift, h},
                    std::string(axis) + "^" + std::to_string(static_cast<int32_t>(rawSize)) + "^" +
                        std::to_string(static_cast<int32_t>(scaledSize)),
                    kWhite, kTextLayer, kAlignRight);
    };
    size("Z", raw.z, scaled.z, 0);
    size("Y", raw.y, scaled.y, 70);
    size("X", raw.x, scaled.x, 140);
    char meshscale[48];
    std::snprintf(meshscale, sizeof meshscale, "%f", static_cast<double>(record.meshScale));
    ui.DrawText(font, IntRect{w - 910, h - 60, w - 210, h},
                std::string("hull size (meters)^raw from file^times meshscale: ") + meshscale, kWhite, kTextLayer,
                kAlignRight);
    // The newest lines of the log, above the help.
    const size_t shown = std::min(librarian.log.Count(), kLogLinesShown);
    for (size_t i = 0; i < shown; ++i) {
        const TextLogLine& line = librarian.log.Line(librarian.log.Count() - shown + i);
        const int32_t top = h - 120 - static_cast<int32_t>(shown - i) * kLogLineHeight;
        ui.DrawText(font, IntRect{2, top, w - 320, top + kLogLineHeight}, line.text, line.colour, kTextLayer,
                    kAlignLeft);
    }
}

// The slider that scrolls the list and the rows of keys from where it points.
void DrawHullList(UIContext& ui)
{
    const int32_t w = ui.WindowWidth();
    const int32_t h = ui.WindowHeight();
    const int32_t listBottom = h / 2 + 300;
    ui.SetCurrentRectEdges(w - 25, h / 2 - 100, w - 2, listBottom);
    uiSlider(ui, kListSliderId, 0.0f, 1.0f, librarian.listScroll, kTextLayer, "");
    ui.SetCurrentRectEdges(w - 250, h / 2 - 100, w - 26, h / 2 - 75);
    const auto count = static_cast<int32_t>(librarian.hullKeys.size());
    int32_t index = static_cast<int32_t>(static_cast<float>(count - kListTailRows) * (1.0f - librarian.listScroll));
    for (int32_t id = kFirstRowId; ui.CurrentRect().bottom <= listBottom && index >= 0 && index < count; ++id, ++index) {
        if (uiButton(ui, id, librarian.hullKeys[static_cast<size_t>(index)], "gui-1", true, kLayer)) {
            librarian.currentHull = index;
            librarian.pointScaleAdjust = 1.0f;
            librarian.meshscaleAdjust = 1.0f;
        }
        ui.ShiftRectY(1, 0);
    }
}

void WriteBack()
{
    const ShipDataFileUpdate update =
        UpdateShipDataFile(CurrentKey(), librarian.meshscaleAdjust, librarian.pointScaleAdjust);
    Say(update.written ? kLogColour : kErrorColour, update.message);
    if (update.written) {
        librarian.pointScaleAdjust = 1.0f;
        librarian.meshscaleAdjust = 1.0f;
        Reload();
    }
}

void Caption(UIContext& ui, const char* text)
{
    ui.DrawText(ui.GetFont("gui-1"), ui.CurrentRect(), text, kWhite, kTextLayer, kAlignCentre);
    ui.ShiftRectY(1, 2);
}

// The two columns of buttons and sliders; true when "Exit" was clicked.
bool DrawButtons(UIContext& ui)
{
    const int32_t w = ui.WindowWidth();
    ui.SetCurrentRectEdges(w - 300, 2, w - 2, 35);
    ui.PushRect();
    if (DevToolExit(ui, kExitId)) {
        ui.PopRect();
        return true;
    }
    const struct {
        ControlId id;
        const char* label;
        bool& flag;
    } toggles[] = {{kShowGridId, "Show Grid", librarian.showGrid},
                   {kShowShieldId, "Show Shield", librarian.showShield},
                   {kShowReferenceId, "Show Reference Ships", librarian.showReferenceShips}};
    for (const auto& toggle : toggles) {
        ui.ShiftRectY(1, 2);
        if (uiCheckButton(ui, toggle.id, toggle.label, "gui-1", toggle.flag, true, kLayer)) {
            PlayGUISound("gui_button");
            toggle.flag = !toggle.flag;
        }
    }
    ui.PopRect();
    ui.ShiftRectX(-1, -3);
    ui.PushRect();
    Caption(ui, "Hull Point Scale Adjust");
    uiSlider(ui, kPointAdjustId, kPointAdjustMin, kPointAdjustMax, librarian.pointScaleAdjust, kLayer, "float");
    ui.ShiftRectY(1, 2);
    Caption(ui, "Meshscale Adjust");
    uiSlider(ui, kMeshAdjustId, kMeshAdjustMin, kMeshAdjustMax, librarian.meshscaleAdjust, kLayer, "float");
    ui.ShiftRectY(1, 12);
    const IntRect row = ui.CurrentRect();
    ui.SetCurrentRectEdges(row.left, row.top, row.right, row.bottom + 10);
    if (uiButton(ui, kUpdateId, "Update shipdata.yaml", "gui-1", true, kLayer)) {
        PlayGUISound("gui_button");
        WriteBack();
    }
    ui.PopRect();
    return false;
}

bool DrawShipLibrarian(UIContext& ui, const DevOrbitView& orbit, RenderManager* view)
{
    librarian.clipboardText.clear();
    const std::string key = CurrentKey();
    const ShipDataRecord* record = ShipData::Instance().Find(key);
    ObjectTypeDrawData* drawData = view && !key.empty() ? view->GetObjectTypeDrawData(key) : nullptr;
    DevViewPass pass;
    glm::mat4 model{1.0f};
    const bool drawn = pass.Begin(orbit);
    if (drawn) {
        if (librarian.showGrid && librarian.sphere)
            DrawFloor(pass);
        if (record)
            model = DrawHull(view, pass, *record, drawData);
        pass.End();
    }
    if (record)
        DrawTexts(ui, *record, drawData);
    DrawHullList(ui);
    if (DrawButtons(ui))
        return true;
    if (drawn && record)
        PickPoint(ui, pass, model, drawData);
    return false;
}

SceneFunction Draw(UIContext& ui, DevOrbitView& orbit, RenderManager* view)
{
    orbit.Drag(ui);
    if (DrawShipLibrarian(ui, orbit, view))
        return SceneDevToolsMode;
    // Over the controls the wheel scrolls the list; elsewhere it zooms.
    const int32_t wheel = TakeMouseWheel();
    if (wheel != 0 && ui.hotId == 0)
        orbit.Zoom(wheel);
    else if (wheel != 0)
        librarian.listScroll =
            std::clamp(librarian.listScroll + static_cast<float>(wheel) * kScrollPerWheel, 0.0f, 1.0f);
    return SceneShipLibrarianMode;
}

}  // namespace

SceneFunction SceneShipLibrarianMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    DevOrbitView& orbit = ShellState::Of(scenes).orbitView;
    switch (event) {
    case SCENE_ENTER: Enter(view); break;
    case SCENE_LEAVE: librarian.sphere.reset(); break;
    case SCENE_FRAME: Frame(ui); break;
    case SCENE_TICK: Tick(ui, orbit); break;
    case SCENE_DRAW: return Draw(ui, orbit, view);
    default: break;
    }
    return SceneShipLibrarianMode;
}
