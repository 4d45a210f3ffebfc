// The controller set-up panel: one device at a time, drawn with the
// immediate-mode controls, editing the device's record directly; and the
// preview object the game axes steer.

#include "engine/base/QEL3DObject.h"
#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelJoystick.h"
#include "game/render/Camera.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr glm::vec4 kWarning{1.0f, 0.45f, 0.35f, 1.0f};

// The panel: a header row, then the sections, each under its title.
constexpr int32_t kPanelWidth = 620;
constexpr int32_t kHeaderHeight = 25;
constexpr int32_t kTitleHeight = 24;
constexpr int32_t kSectionGap = 8;
constexpr int32_t kAxisRowHeight = 30;
constexpr int32_t kControlHeight = 26;
constexpr int32_t kButtonCellWidth = 60;
constexpr int32_t kButtonCellHeight = 66;
constexpr int32_t kButtonCellsPerRow = 7;
constexpr int32_t kHatCellWidth = 150;
constexpr int32_t kHatCellsPerRow = 4;

// Control ids: a block per section, clear of the drop-downs' row ids (each
// drop-down's id + kDropDownRowIdOffset + row) and of the scenes' own.
constexpr int32_t kPreviousDeviceId = 3001;
constexpr int32_t kNextDeviceId = 3002;
constexpr int32_t kDeviceEnabledId = 3003;
constexpr int32_t kFirstAxisId = 3100;  // four per axis
constexpr int32_t kFirstButtonId = 3300;  // two per button
constexpr int32_t kFirstHatId = 3600;  // two per hat direction

// The preview: the window's projection around it, the target's inside.
constexpr float kFieldOfView = 1.0471976f;  // π/3
constexpr float kWindowNearPlane = 1.0f;
constexpr float kWindowFarPlane = 10000.0f;
constexpr float kPreviewNearPlane = 3.0f;
constexpr float kPreviewFarPlane = 30000.0f;
constexpr glm::vec3 kPreviewEye{-1000.0f, -400.0f, 0.0f};
constexpr float kLightDirection[4] = {0.6f, 0.7f, -0.4f, 0.0f};
constexpr float kAmbientColour[4] = {0.3f, 0.3f, 0.35f, 1.0f};
// The preview stands this far below the panel's top and beside it.
constexpr int32_t kPreviewDrop = 200;
constexpr int32_t kPreviewMargin = 20;

// Half a radian per unit of axis; the throttle moves 95 units along -z.
constexpr float kTurnPerUnit = 0.5f;
constexpr float kThrottleTravel = -95.0f;

float Aspect(int width, int height)
{
    return height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
}

void Text(UIContext& ui, const std::string& text, const IntRect& box, const glm::vec4& colour)
{
    ui.DrawText(ui.GetFont("gui-1"), box, text, colour, kLayer, 0);
}

// Where the label stands in the list; -1 when it is not there.
int32_t IndexOf(const std::vector<std::string>& list, const std::string& label)
{
    const auto found = std::find(list.begin(), list.end(), label);
    return found == list.end() ? -1 : static_cast<int32_t>(std::distance(list.begin(), found));
}

// A drop-down showing the slot's choice from the list; a choice replaces it.
bool DrawChoice(UIContext& ui, int32_t id, std::string& slot, const std::vector<std::string>& list,
                const std::string& font)
{
    std::string label = slot;
    int32_t selected = IndexOf(list, slot);
    if (!uiDropDown(ui, id, label, selected, list, font, kLayer) || selected < 0 ||
        selected >= static_cast<int32_t>(list.size()))
        return false;
    slot = list[static_cast<size_t>(selected)];
    return true;
}

void SetRect(UIContext& ui, int32_t left, int32_t top, int32_t width, int32_t height)
{
    ui.SetCurrentRectEdges(left, top, left + width, top + height);
}

// A button's or hat direction's cell: its number, lit while down (for
// display only), over the drop-down of its action. True when the action changed.
bool DrawActionCell(UIContext& ui, int32_t id, int32_t number, bool down, int32_t x, int32_t y, int32_t width,
                    std::string& action, const std::vector<std::string>& actions, const std::string& font)
{
    SetRect(ui, x, y, width - 4, kControlHeight);
    uiCheckButton(ui, id, std::to_string(number), "gui-1", down, true, kLayer);
    SetRect(ui, x, y + kControlHeight + 4, width - 4, kControlHeight);
    return DrawChoice(ui, id + 1, action, actions, font);
}

}  // namespace

void ControllerInput::DrawSetupScreen(UIContext& ui, const IntRect& position, float angle, float scale)
{
    const int32_t count = gInputFactory ? gInputFactory->GetNumJoysticks() : 0;
    QelJoystick* joystick = count > 0 ? gInputFactory->GetJoystick(std::clamp(currentDevice, 0, count - 1)) : nullptr;
    const int32_t left = position.left;
    if (joystick == nullptr) {
        Text(ui, "No controller detected",
             IntRect{left, position.top, left + kPanelWidth, position.top + kHeaderHeight}, kWhite);
        return;
    }
    currentDevice = std::clamp(currentDevice, 0, count - 1);
    ControllerInputRecord* record = GetRecord(joystick->GetName(), joystick);
    int32_t top = DrawSetupHeader(ui, *joystick, record, left, position.top);
    if (!joystick->IsConnected() || record == nullptr)
        return;
    if (controllerDisabled || !record->enabled) {
        Text(ui, controllerDisabled ? "ALL DISABLED" : "THIS DEVICE DISABLED",
             IntRect{left, top, left + kPanelWidth, top + kTitleHeight}, kWarning);
        return;
    }
    int32_t buttons = 0, axes = 0, hats = 0;
    joystick->GetCounts(buttons, axes, hats);
    top = DrawAxisRows(ui, *joystick, *record, std::clamp(axes, 0, ControllerInputRecord::kSlots), left, top);
    top = DrawButtonCells(ui, *joystick, *record, std::clamp(buttons, 0, ControllerInputRecord::kSlots), left, top);
    DrawHatCells(ui, *joystick, *record, left, top);
    DrawPreview(IntRect{left + kPanelWidth + kPreviewMargin, position.top + kPreviewDrop,
                        ui.WindowWidth() - kPreviewMargin, ui.WindowHeight() - kPreviewMargin},
                angle, scale);
}

// "n: name", the arrows to the previous and next device (either saves every
// record), and the device's own switch.
int32_t ControllerInput::DrawSetupHeader(UIContext& ui, QelJoystick& joystick, ControllerInputRecord* record,
                                         int32_t left, int32_t top)
{
    const int32_t count = gInputFactory->GetNumJoysticks();
    Text(ui, std::to_string(currentDevice + 1) + ": " + joystick.GetName(),
         IntRect{left, top, left + 400, top + kHeaderHeight}, kWhite);
    SetRect(ui, left + 410, top, kHeaderHeight, kHeaderHeight);
    const bool previous = uiArrowButton(ui, kPreviousDeviceId, 3, true, kLayer);
    SetRect(ui, left + 440, top, kHeaderHeight, kHeaderHeight);
    const bool next = uiArrowButton(ui, kNextDeviceId, 1, true, kLayer);
    if (previous || next) {
        currentDevice = next ? (currentDevice + 1) % count : (currentDevice + count - 1) % count;
        SaveAll();
    }
    if (record != nullptr) {
        SetRect(ui, left + 475, top, kPanelWidth - 475, kHeaderHeight);
        if (uiCheckButton(ui, kDeviceEnabledId, "Device Enabled", "gui-1", record->enabled, true, kLayer)) {
            record->enabled = !record->enabled;
            record->mapsBuilt = false;
        }
    }
    return top + kHeaderHeight + kSectionGap;
}

// Per axis: its number, its raw value, its game axis, "Invert" and its dead zone.
int32_t ControllerInput::DrawAxisRows(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record, int32_t axes,
                                      int32_t left, int32_t top)
{
    Text(ui, "Axis Set", IntRect{left, top, left + kPanelWidth, top + kTitleHeight}, ui.mainColour);
    top += kTitleHeight;
    for (int32_t a = 0; a < axes; ++a, top += kAxisRowHeight) {
        const int32_t id = kFirstAxisId + 4 * a;
        Text(ui, std::to_string(a), IntRect{left, top + 2, left + 24, top + kAxisRowHeight}, kWhite);
        float raw = joystick.GetAxis(a);
        SetRect(ui, left + 28, top, 150, kControlHeight);
        uiSlider(ui, id, -1.0f, 1.0f, raw, kLayer, "justbar");
        SetRect(ui, left + 186, top, 150, kControlHeight);
        bool changed = DrawChoice(ui, id + 1, record.axisAssignments[a], record.axisLabelList, "gui-1");
        SetRect(ui, left + 344, top, 100, kControlHeight);
        if (uiCheckButton(ui, id + 2, "Invert", "gui-1", record.axisSigns[a] < 0, true, kLayer)) {
            record.axisSigns[a] = record.axisSigns[a] < 0 ? 1 : -1;
            changed = true;
        }
        SetRect(ui, left + 452, top, kPanelWidth - 452, kControlHeight);
        const float deadZone = record.axisDeadZones[a];
        uiSlider(ui, id + 3, 0.0f, ControllerInputRecord::kMaxDeadZone, record.axisDeadZones[a], kLayer, "float");
        if (changed || record.axisDeadZones[a] != deadZone)
            record.mapsBuilt = false;
    }
    return top + kSectionGap;
}

// Seven cells to a row: the button lit while down, and its action.
int32_t ControllerInput::DrawButtonCells(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record,
                                         int32_t buttons, int32_t left, int32_t top)
{
    Text(ui, "Buttons", IntRect{left, top, left + kPanelWidth, top + kTitleHeight}, ui.mainColour);
    top += kTitleHeight;
    for (int32_t i = 0; i < buttons; ++i) {
        const int32_t x = left + (i % kButtonCellsPerRow) * kButtonCellWidth;
        const int32_t y = top + (i / kButtonCellsPerRow) * kButtonCellHeight;
        const int32_t id = kFirstButtonId + 2 * i;
        if (DrawActionCell(ui, id, i, joystick.IsButtonDown(i), x, y, kButtonCellWidth, record.buttonActions[i],
                           record.buttonLabelList, "smallest"))
            record.mapsBuilt = false;
    }
    const int32_t rows = (buttons + kButtonCellsPerRow - 1) / kButtonCellsPerRow;
    return top + rows * kButtonCellHeight + kSectionGap;
}

// Four cells to a row: the hat direction lit while the hat points there, and its action.
void ControllerInput::DrawHatCells(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record, int32_t left,
                                   int32_t top)
{
    Text(ui, "Hat", IntRect{left, top, left + kPanelWidth, top + kTitleHeight}, ui.mainColour);
    top += kTitleHeight;
    for (int32_t j = 0; j < ControllerInputRecord::kHatDirections; ++j) {
        const int32_t x = left + (j % kHatCellsPerRow) * kHatCellWidth;
        const int32_t y = top + (j / kHatCellsPerRow) * kButtonCellHeight;
        const int32_t id = kFirstHatId + 2 * j;
        if (DrawActionCell(ui, id, j, joystick.IsPovDirection(j), x, y, kHatCellWidth, record.hatActions[j],
                           record.buttonLabelList, "gui-1"))
            record.mapsBuilt = false;
    }
}

void ControllerInput::ReadAxes()
{
    const glm::mat4 identity(1.0f);
    glm::mat4 yaw = identity, pitch = identity, roll = identity, throttle = identity;
    float value = 0.0f;
    if (GetAxisValue("Yaw", value))
        yaw = glm::rotate(identity, kTurnPerUnit * value, glm::vec3(0.0f, 1.0f, 0.0f));
    if (GetAxisValue("Pitch", value))
        pitch = glm::rotate(identity, kTurnPerUnit * value, glm::vec3(1.0f, 0.0f, 0.0f));
    if (GetAxisValue("Roll", value))
        roll = glm::rotate(identity, kTurnPerUnit * value, glm::vec3(0.0f, 0.0f, 1.0f));
    if (GetAxisValue("Throttle", value))
        throttle = glm::translate(identity, glm::vec3(0.0f, 0.0f, kThrottleTravel * value));
    axesTransform = pitch * yaw * roll * throttle;
}

// The object, lit, into the preview target; then the target, its shape kept,
// centred in the area. The window's projection is put back.
void ControllerInput::DrawPreview(const IntRect& area, float angle, float scale)
{
    QelGraphicsFactoryBase* graphics = gGraphicsFactory;
    if (graphics == nullptr || previewTarget == nullptr || previewObject == nullptr || !area.IsOpen())
        return;
    const int targetWidth = previewTarget->GetWidth();
    const int targetHeight = previewTarget->GetHeight();
    const float windowAspect = Aspect(graphics->GetWidth(), graphics->GetHeight());
    Camera camera;
    const glm::mat4 view = camera.LookAt(kPreviewEye, glm::vec3(0.0f));
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    graphics->Flush2D();
    previewTarget->SetAsRenderTarget(true, true, clear);
    graphics->Flush2DAndClearDepth(previewTarget);
    graphics->SetPerspective(kFieldOfView, Aspect(targetWidth, targetHeight), kPreviewNearPlane, kPreviewFarPlane);
    if (QelDrawProcess* phong = graphics->GetShader("Phong")) {
        phong->SetParameter("lightDir", kLightDirection[0], kLightDirection[1], kLightDirection[2],
                            kLightDirection[3]);
        phong->SetParameter("ambientColor", kAmbientColour[0], kAmbientColour[1], kAmbientColour[2],
                            kAmbientColour[3]);
        const glm::mat4 identity(1.0f);
        const glm::mat4 model = axesTransform * glm::rotate(identity, angle, glm::vec3(0.0f, 1.0f, 0.0f)) *
                                glm::scale(identity, glm::vec3(scale));
        previewObject->Draw(model, view, nullptr, "Phong");
    }
    previewTarget->SetAsRenderTarget(false, false, clear);
    graphics->SetPerspective(kFieldOfView, windowAspect, kWindowNearPlane, kWindowFarPlane);

    const float areaWidth = static_cast<float>(area.right - area.left);
    const float areaHeight = static_cast<float>(area.bottom - area.top);
    const float fit = std::min(areaWidth / static_cast<float>(std::max(targetWidth, 1)),
                               areaHeight / static_cast<float>(std::max(targetHeight, 1)));
    const float width = fit * static_cast<float>(targetWidth);
    const float height = fit * static_cast<float>(targetHeight);
    const float x = static_cast<float>(area.left) + (areaWidth - width) / 2.0f;
    const float y = static_cast<float>(area.top) + (areaHeight - height) / 2.0f;
    previewTarget->SetSourceRect(0.0f, 0.0f, static_cast<float>(targetWidth), static_cast<float>(targetHeight));
    previewTarget->SetDestRect(x, y, x + width, y + height);
    previewTarget->DrawQuad(&kWhite[0], kLayer, false);
}
