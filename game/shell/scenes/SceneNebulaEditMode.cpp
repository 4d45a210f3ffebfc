// The nebula and gas-giant visualiser: one nebula volume, or one gas giant,
// at the origin of the developer orbit view, beside a row of reference
// ships for scale, with a slider for every parameter of the thing shown.
// "Edit Mode" switches between the two (each keeps its own values); holding
// Space hides the controls. The picture keeps its square shape: the longer
// side of the window is filled.

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/Camera.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/QelVolumeManager.h"
#include "game/render/manager/Render3D.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/ShipData.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr const char* kTargetName = "SceneNebulaEditMode::sneRenderTarget";
constexpr const char* kNebulaTargetName = "SceneNebulaEditMode::nebulaTarget";
constexpr int kTargetSize = 1024;
// The volumes are marched at half the picture's resolution, as the 3D view does.
constexpr int kNebulaDivisor = 2;
constexpr int32_t kNoiseOctaves = 1;
constexpr int32_t kFirstSeed = 0;
// The first seed's cloud is so thin that almost all of it is clear space:
// its base noise is raised to this, so the visualiser opens on a nebula to
// look at.
constexpr float kFirstBaseAmplitude = 2.5f;

constexpr const char* kReferenceShip = "fleet_light_cruiser";
constexpr int kReferenceShips = 10;
constexpr float kReferenceSpacing = 2000.0f;

constexpr int32_t kEditModeId = 10;
constexpr int32_t kExitId = 11;
constexpr int32_t kFirstSliderId = 200;
const IntRect kFirstRow{0, 0, 200, 20};
constexpr int kPictureLayer = 999;
constexpr int kHelpLayer = 1001;
const glm::vec4 kHelpColour{1.0f, 0.7f, 1.0f, 1.0f};
constexpr const char* kHelp = "ins/del or q/e = zoom,   wasd rotate, space hides GUI";

struct NebulaEditor {
    std::unique_ptr<QelVolumeManager> volumes;
    std::unique_ptr<QelGasGiant> gasGiant;
    bool gasGiantMode = false;
    NebulaVolumeParams nebula;
    PlanetParams planet;
};
NebulaEditor editor;

NebulaVolumeParams FirstNebula(const QelVolumeManager& volumes)
{
    NebulaVolumeParams nebula = volumes.RandomizeParameters(kFirstSeed);
    nebula.radius = 1500.0f;
    nebula.emission[0] = nebula.emission[1] = nebula.emission[2] = 0.8f;
    nebula.density = 13.0f;
    nebula.baseAmplitude = std::max(nebula.baseAmplitude, kFirstBaseAmplitude);
    return nebula;
}

PlanetParams FirstPlanet()
{
    PlanetParams planet;
    planet.radius = 100.0f;
    const float emissive[3] = {0.1f, 0.2f, 0.1f};
    const float upperCloud[3] = {0.1f, 0.9f, 0.1f};
    for (int i = 0; i < 3; ++i) {
        planet.emissiveColor[i] = emissive[i];
        planet.upperCloudColor[i] = upperCloud[i];
    }
    planet.fresnel = 5.2f;
    planet.fresnelBias = 0.15f;
    planet.bandScale = 0.4f;
    planet.windSpeed1 = 1.0f;
    planet.windSpeed2 = 1.0f;
    planet.upperCloudStrength = 0.78f;
    planet.upperCloudExponent = 2.16f;
    return planet;
}

void Enter()
{
    editor.volumes = std::make_unique<QelVolumeManager>();
    editor.volumes->Setup(kNoiseOctaves, NebulaVolumeRanges{});
    editor.nebula = FirstNebula(*editor.volumes);
    editor.gasGiant = std::make_unique<QelGasGiant>();
    editor.planet = FirstPlanet();
}

void Leave()
{
    editor.volumes.reset();
    editor.gasGiant.reset();
}

void DrawReferenceShips(RenderManager& renderer, const glm::mat4& view, const glm::vec3& eye)
{
    const ShipDataRecord* record = ShipData::Instance().Find(kReferenceShip);
    ObjectTypeDrawData* drawData = renderer.GetObjectTypeDrawData(kReferenceShip);
    if (!record || !drawData->mesh)
        return;
    LightShipsFrom(&renderer, eye);
    for (int ship = 0; ship < kReferenceShips; ++ship) {
        const glm::mat4 model =
            glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(kReferenceSpacing * static_cast<float>(ship), 0, 0)),
                       glm::vec3(record->meshScale));
        drawData->mesh->Draw(model, view, nullptr, "Redwood");
    }
}

// The picture: ships and the gas giant into the square target, the nebula
// into its own target reading the first one's depth; both over the window.
void DrawPicture(QelGraphicsFactoryBase& graphics, const DevOrbitView& orbit, RenderManager* renderer)
{
    Qel2dBitmap* scene = graphics.GetRenderTarget(kTargetName, kTargetSize, kTargetSize, true);
    Qel2dBitmap* nebula = graphics.GetRenderTarget(kNebulaTargetName, kTargetSize / kNebulaDivisor,
                                                   kTargetSize / kNebulaDivisor, true);
    if (!scene || !nebula || !renderer)
        return;
    const glm::vec3 eye = orbit.EyePosition();
    const glm::vec3 direction = glm::normalize(-eye);
    Camera camera;
    const glm::mat4 view = camera.LookAt(-eye, glm::vec3(0.0f));
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    graphics.Flush2D();
    scene->SetAsRenderTarget(true, true, clear);
    graphics.Flush2DAndClearDepth(scene);
    graphics.SetPerspective(DevViewPass::kFieldOfView, 1.0f, DevViewPass::kNearPlane, DevViewPass::kFarPlane);
    DrawReferenceShips(*renderer, view, eye);
    if (editor.gasGiantMode) {
        editor.gasGiant->AddInstance(glm::vec3(0.0f), editor.planet);
        editor.gasGiant->Draw(view, glm::vec4(eye, 1.0f), glm::vec4(direction, 0.0f));
    }
    graphics.Flush2D();
    scene->SetAsRenderTarget(false, false, clear);
    if (!editor.gasGiantMode) {
        nebula->SetAsRenderTarget(true, true, clear);
        graphics.Flush2DAndClearDepth(nebula);
        editor.volumes->AddVolume(glm::vec3(0.0f), editor.nebula);
        editor.volumes->Draw(view, glm::vec4(-eye, 1.0f), glm::vec4(direction, 0.0f), scene, kNebulaDivisor);
        nebula->SetAsRenderTarget(false, false, clear);
    }
    const IntRect window{0, 0, graphics.GetWidth(), graphics.GetHeight()};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const auto composite = [&](Qel2dBitmap& source, const char* shader) {
        const IntRect crop = Render3D::CropToRect(source.GetWidth(), source.GetHeight(), window);
        source.SetDrawProcess(shader ? graphics.GetShader(shader) : nullptr, true, false);
        source.SetSourceRectInt(QelRect{crop.left, crop.top, crop.right, crop.bottom});
        source.SetDestRectInt(QelRect{window.left, window.top, window.right, window.bottom});
        source.DrawQuad(white, kPictureLayer, false);
    };
    composite(*scene, nullptr);
    if (!editor.gasGiantMode)
        composite(*nebula, "VolumePostProcess");
    graphics.Flush2D();
}

// One slider row; its caption is replaced by the value as it is drawn.
void Row(UIContext& ui, const char* caption, float minimum, float maximum, float& value)
{
    std::string text = caption;
    uiSliderRow(ui, text, minimum, maximum, value);
}

void ColourRows(UIContext& ui, const char* name, float (&colour)[3], float maximum)
{
    const char* channels[3] = {" Red", " Green", " Blue"};
    for (int i = 0; i < 3; ++i)
        Row(ui, (std::string(name) + channels[i]).c_str(), 0.0f, maximum, colour[i]);
}

void PlanetRows(UIContext& ui)
{
    PlanetParams& p = editor.planet;
    Row(ui, "radius", 10.0f, 3000.0f, p.radius);
    ColourRows(ui, "baseColor", p.baseColor, 2.0f);
    ColourRows(ui, "emissiveColor", p.emissiveColor, 2.0f);
    ColourRows(ui, "upperCloudColor", p.upperCloudColor, 2.0f);
    Row(ui, "fresnelBias", 0.015f, 1.15f, p.fresnelBias);
    Row(ui, "fresnel", 1.5f, 150.5f, p.fresnel);
    Row(ui, "bandScale", 0.0f, 12.0f, p.bandScale);
    Row(ui, "windSpeed1", -100000.0f, 100000.0f, p.windSpeed1);
    Row(ui, "windSpeed2", -100000.0f, 100000.0f, p.windSpeed2);
    Row(ui, "upperCloudStrength", 0.0f, 12.0f, p.upperCloudStrength);
    Row(ui, "upperCloudExponent", 0.0f, 12.0f, p.upperCloudExponent);
}

void NebulaRows(UIContext& ui)
{
    NebulaVolumeParams& n = editor.nebula;
    ColourRows(ui, "Absorption", n.absorption, 2.0f);
    ColourRows(ui, "Emission", n.emission, 2.0f);
    ColourRows(ui, "Scattering", n.scattering, 2.0f);
    Row(ui, "Anisotropy", -0.5f, 0.5f, n.anisotropy);
    Row(ui, "Size", 500.0f, 5000.0f, n.radius);
    Row(ui, "Density", 2.0f, 20.0f, n.density);
    Row(ui, "Base Frequency", 0.2f, 3.5f, n.baseFrequency);
    Row(ui, "Base Amplitude", 0.3f, 8.0f, n.baseAmplitude);
    Row(ui, "Detail Frequency", 0.2f, 3.5f, n.detailFrequency);
    Row(ui, "Detail Amplitude", 0.25f, 5.5f, n.detailAmplitude);
    Row(ui, "Detail Lacunarity", 0.25f, 3.55f, n.detailLacunarity);
    Row(ui, "Domain Warp", 0.0f, 0.1f, n.domainWarp);
    Row(ui, "Swirl", 0.0f, 10.0f, n.swirl);
    // The seed is a whole number shown on a float slider.
    float seed = static_cast<float>(n.randomSeed);
    Row(ui, "Random Seed", 0.0f, 10000.0f, seed);
    n.randomSeed = static_cast<int32_t>(seed);
}

// The controls; true when "Exit" was clicked.
bool DrawControls(UIContext& ui)
{
    ui.SetCurrentRect(kFirstRow);
    ui.sliderRowId = kFirstSliderId;
    if (editor.gasGiantMode)
        PlanetRows(ui);
    else
        NebulaRows(ui);
    SetDevToolButtonColumn(ui);
    if (uiButton(ui, kEditModeId, "Edit Mode", "gui-1", true, kHelpLayer - 1)) {
        PlayGUISound("gui_button");
        editor.gasGiantMode = !editor.gasGiantMode;
    }
    ui.ShiftRectY(1, 1);
    return DevToolExit(ui, kExitId);
}

SceneFunction Draw(UIContext& ui, DevOrbitView& orbit, RenderManager* renderer)
{
    orbit.Zoom(TakeMouseWheel());
    orbit.Drag(ui);
    if (gGraphicsFactory && editor.volumes)
        DrawPicture(*gGraphicsFactory, orbit, renderer);
    const int32_t w = ui.WindowWidth();
    const int32_t h = ui.WindowHeight();
    ui.DrawText(ui.GetFont("gui-1"), IntRect{2, h - 20, w, h}, kHelp, kHelpColour, kHelpLayer, 0);
    QelKeyboard* keyboard = ui.Keyboard();
    if (keyboard && keyboard->IsKeyDown(qel::vk::kSpace))
        return SceneNebulaEditMode;
    return DrawControls(ui) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneNebulaEditMode);
}

void Tick(UIContext& ui, DevOrbitView& orbit)
{
    if (QelKeyboard* keyboard = ui.Keyboard())
        orbit.ApplyHeldKeys(*keyboard);
    if (editor.gasGiant)
        editor.gasGiant->timeValue += QelGasGiant::kTimeStep;
}

}  // namespace

SceneFunction SceneNebulaEditMode(SceneEvent event, SceneState& scenes, RenderManager* renderer)
{
    UIContext& ui = scenes.UI();
    DevOrbitView& orbit = ShellState::Of(scenes).orbitView;
    switch (event) {
    case SCENE_ENTER: Enter(); break;
    case SCENE_LEAVE: Leave(); break;
    case SCENE_TICK: Tick(ui, orbit); break;
    case SCENE_DRAW: return Draw(ui, orbit, renderer);
    default: break;
    }
    return SceneNebulaEditMode;
}
