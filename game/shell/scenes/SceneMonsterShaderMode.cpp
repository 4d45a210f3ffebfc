// The monster shader test: a monster's model drawn with the wiggle shader
// over a field of marker spheres, with edit fields for the monster's wiggle
// parameters, read from its ship definition's style string. Typing another
// ship key into the first field loads that monster's values; Control+V
// pastes into the field being typed in. The view has its own orbit camera.

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/ui/Edline.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/ShipData.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

namespace {

struct ParameterRow {
    const char* label;
    const char* key;
    const char* help;
};

constexpr int kRows = 8;
const std::array<ParameterRow, kRows> kParameters = {{
    {"Monster shipData Name", "shipdata_key",
     "string that matches the shipData.json key of the monster being currently edited."},
    {"Wiggle Size Vertical Divisor", "wiggle_div_vert",
     "value of how much the vertical wiggle is divided by.  So a larger number means LESS wiggling, and never set "
     "this to zero."},
    {"Wiggle Size Horizontal Divisor", "wiggle_div_horz",
     "value of how much the horizontal wiggle is divided by.  So a larger number means LESS wiggling, and never set "
     "this to zero."},
    {"Wave Size Coefficient", "wave_size_coeff", "value of how much total wiggle the monster has."},
    {"Wave Length Divisor", "wave_length_div", "value that defines how many wiggle waves are in the monsters body."},
    {"Turn Bend Limit", "turn_bend_limit",
     "the largest amount of bend that the monster's body will show while it is turning horizontally towards its "
     "target."},
    {"Head Track Vert Limit", "head_track_vert_limit",
     "the most the head will bend VERTICALLY to follow the object it is targetting."},
    {"Head Track Horz Limit", "head_track_horz_limit",
     "the most the head will bend HORIZONTALLY to follow the object it is targetting."},
}};
constexpr const char* kDocumentationContext = "DrawMonsterShader";
constexpr const char* kFirstMonster = "monster_dragon";
constexpr int32_t kFirstFieldId = 1000;
constexpr int32_t kFieldCapacity = 128;
constexpr int kFieldCount = 9;
constexpr int32_t kExitId = 10;

constexpr float kGridReach = 175.0f;
constexpr float kGridStep = 25.0f;
// Of the 15 rows of markers along z, the last 4 are magenta; the rest blue
// on the left (x < 1) and white on the right.
constexpr int kPlainRows = 11;
constexpr float kMarkerScale = 0.5f;
constexpr int kTicksPerWave = 5;
const glm::vec4 kBlue{0.0f, 0.0f, 1.0f, 1.0f};
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kMagenta{1.0f, 0.0f, 1.0f, 1.0f};
const glm::vec4 kWarning{1.0f, 0.45f, 0.35f, 1.0f};
constexpr int32_t kFieldColumnWidth = 300;
constexpr int32_t kFieldHeight = 40;
constexpr int32_t kLabelWidth = 260;
constexpr int kLayer = 1000;
constexpr int kAlignRight = 1;
constexpr int32_t kPasteKey = qel::vk::kLetterA + ('V' - 'A');

// A little from above, so the field of markers reads as a floor.
constexpr float kInitialPitch = 0.1f;

struct MonsterTest {
    std::array<std::unique_ptr<Edline>, kFieldCount> fields;
    std::string loadedKey;
    DevOrbitView view{.pitchValue = kInitialPitch};  // this scene's own camera
    int32_t tickCount = 0;
    std::unique_ptr<QEL3DObject> sphere;
};
MonsterTest test;

Edline& Field(int index)
{
    return *test.fields[static_cast<size_t>(index)];
}

// A field's text as a number; text that is no number counts as 0.
float FieldNumber(int index)
{
    const std::string& text = Field(index).text;
    float value = 0.0f;
    const char* first = text.data();
    while (first < text.data() + text.size() && *first == ' ')
        ++first;
    std::from_chars(first, text.data() + text.size(), value);
    return std::isfinite(value) ? value : 0.0f;
}

void LoadMonsterFields()
{
    test.loadedKey = Field(0).text;
    const ShipDataRecord* record = ShipData::Instance().Find(test.loadedKey);
    KeyValueParser parser;
    parser.Parse(record ? record->monsterStyle : "");
    for (int row = 1; row < kRows; ++row) {
        const ParameterRow& parameter = kParameters[static_cast<size_t>(row)];
        Field(row).SetText(parser.Get(kDocumentationContext, parameter.key, parameter.help));
    }
}

void Enter()
{
    test.sphere = LoadDevMarkerSphere();
    for (int i = 0; i < kFieldCount; ++i)
        test.fields[static_cast<size_t>(i)] = std::make_unique<Edline>(kFirstFieldId + i, "gui-2", kFieldCapacity);
    Field(0).SetText(kFirstMonster);
    LoadMonsterFields();
}

void Paste(UIContext& ui)
{
    QelKeyboard* keyboard = ui.Keyboard();
    if (!keyboard || !gInputFactory || !keyboard->IsKeyDown(qel::vk::kControl) || !keyboard->IsKeyPressed(kPasteKey))
        return;
    std::string clipboard;
    if (!gInputFactory->GetClipboardText(clipboard))
        return;
    for (const std::unique_ptr<Edline>& field : test.fields)
        if (field && field->id == ui.textEntryOwner)
            field->SetText(clipboard);
}

void Tick(UIContext& ui)
{
    ++test.tickCount;
    if (QelKeyboard* keyboard = ui.Keyboard())
        test.view.ApplyHeldKeys(*keyboard);
}

void DrawMarkers(const DevViewPass& pass)
{
    int row = 0;
    for (float z = -kGridReach; z <= kGridReach; z += kGridStep, ++row)
        for (float x = -kGridReach; x <= kGridReach; x += kGridStep) {
            const glm::vec4& colour = row >= kPlainRows ? kMagenta : (x < 1.0f ? kBlue : kWhite);
            pass.DrawMarker(*test.sphere, {x, 0.0f, z}, kMarkerScale, colour);
        }
}

// A divisor of zero would fling the body to infinity: such a field is drawn
// with 1 and marked.
float Divisor(int index, bool& refused)
{
    const float value = FieldNumber(index);
    if (value != 0.0f)
        return value;
    refused = true;
    return 1.0f;
}

bool DrawMonster(RenderManager* view, const DevViewPass& pass)
{
    bool refused = false;
    const ShipDataRecord* record = ShipData::Instance().Find(test.loadedKey);
    ObjectTypeDrawData* drawData = view && record ? view->GetObjectTypeDrawData(record->key) : nullptr;
    QelDrawProcess* wiggle = gGraphicsFactory ? gGraphicsFactory->GetShader("RedwoodWiggle") : nullptr;
    if (!record || !drawData || !drawData->mesh || !wiggle)
        return refused;
    pass.LightShips(view, "RedwoodWiggle");
    wiggle->SetParameter("waveInfo", static_cast<float>(test.tickCount / kTicksPerWave), FieldNumber(3),
                         Divisor(4, refused), 0.0f);
    wiggle->SetParameter("waveSize", Divisor(1, refused), Divisor(2, refused), 0.0f, 0.0f);
    const float turn = record->meshRotate * glm::half_pi<float>() + test.view.yawValue;
    const glm::mat4 model = glm::rotate(glm::mat4(1.0f), turn, glm::vec3(0.0f, 1.0f, 0.0f)) *
                            glm::scale(glm::mat4(1.0f), glm::vec3(record->meshScale));
    drawData->mesh->Draw(model, pass.View(), nullptr, "RedwoodWiggle");
    return refused;
}

// The fields down the right edge, each with its label to its left; true
// when "Exit" was clicked.
bool DrawFields(UIContext& ui, bool refused)
{
    const int32_t w = ui.WindowWidth();
    ui.SetCurrentRectEdges(w - kFieldColumnWidth, 0, w, kFieldHeight);
    if (Field(0).text != test.loadedKey)
        LoadMonsterFields();
    for (int row = 0; row < kRows; ++row) {
        const ParameterRow& parameter = kParameters[static_cast<size_t>(row)];
        const IntRect box = ui.CurrentRect();
        ui.DrawText(ui.GetFont("gui-1"), IntRect{box.left - kLabelWidth, box.top + 8, box.left - 6, box.bottom},
                    parameter.label, ui.mainColour, kLayer, kAlignRight);
        uiTextBox(ui, parameter.label, Field(row), kLayer);
        ui.ShiftRectY(1, 1);
    }
    if (refused)
        ui.DrawText(ui.GetFont("gui-1"), ui.CurrentRect(), "a divisor of 0 is drawn as 1", kWarning, kLayer, 0);
    ui.ShiftRectY(1, 1);
    return DevToolExit(ui, kExitId);
}

bool DrawMonsterScene(UIContext& ui, RenderManager* view)
{
    DevViewPass pass;
    bool refused = false;
    if (pass.Begin(test.view)) {
        if (test.sphere)
            DrawMarkers(pass);
        refused = DrawMonster(view, pass);
        pass.End();
    }
    return DrawFields(ui, refused);
}

SceneFunction Draw(UIContext& ui, RenderManager* view)
{
    test.view.Zoom(TakeMouseWheel());
    test.view.Drag(ui);
    return DrawMonsterScene(ui, view) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneMonsterShaderMode);
}

}  // namespace

SceneFunction SceneMonsterShaderMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    switch (event) {
    case SCENE_ENTER: Enter(); break;
    case SCENE_LEAVE: test.sphere.reset(); break;
    case SCENE_FRAME: Paste(ui); break;
    case SCENE_TICK: Tick(ui); break;
    case SCENE_DRAW: return Draw(ui, view);
    default: break;
    }
    return SceneMonsterShaderMode;
}
