#include "game/widgets/MainScreenControl.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/NetworkIds.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/SpaceObject.h"

#include <algorithm>

namespace {

// The buttons' layout is drawn for a box this many pixels high; a box
// narrower than 1000 pixels (700 / 0.7) shrinks it by its width instead.
constexpr float kLayoutHeight = 700.0f;
constexpr float kWidthShare = 0.7f;

constexpr const char* kView3D = "3d_view";

// What a button or key asks for. Empty fields keep the render manager's
// current angle or camera mode at the moment it acts.
struct Choice {
    const char* view;
    const char* angle;
    const char* camMode;
};

// An image button: its id, bitmap, centre in layout units from the box's
// centre, choice, and caption in the clear strip its art keeps for it
// (tools/gui-art, in the bitmap's pixels).
struct ImageButton {
    int32_t id;
    const char* bitmap;
    float x, y;
    Choice choice;
    const char* caption;
    IntRect captionBox;
};

// Caption strips of the art: along the bottom of the camera modes' and the
// views' frames, on the inner side of the angle arrows.
constexpr IntRect kCameraModeCaption{8, 76, 96, 100};
constexpr IntRect kViewCaption{8, 76, 142, 100};
constexpr IntRect kFrontCaption{10, 52, 140, 76};
constexpr IntRect kBackCaption{10, 4, 140, 28};
constexpr IntRect kLeftCaption{52, 63, 108, 87};
constexpr IntRect kRightCaption{4, 63, 60, 87};

// The captions' type: as tall as the art draws them at full size, never
// smaller than reads on a console screen nor larger than the box needs.
constexpr const char* kCaptionFont = "DejaVuSansCondensed-Bold";
constexpr float kCaptionPixels = 14.0f;
constexpr int kMinCaptionPixels = 10;
constexpr int kMaxCaptionPixels = 22;

constexpr int32_t kTrackingButtonId = 1607;
constexpr float kColumnX = -130.0f;

// The four angles around the column of camera modes, the views at the right.
// The angle buttons keep the camera mode the frame began with.
constexpr ImageButton kButtons[] = {
    {1601, "mainScn/asset 10", kColumnX, -270.0f, {kView3D, "front", nullptr}, "FRONT", kFrontCaption},
    {1602, "mainScn/asset 9", 140.0f, 0.0f, {kView3D, "right", nullptr}, "RIGHT", kRightCaption},
    {1603, "mainScn/asset 8", -400.0f, 0.0f, {kView3D, "left", nullptr}, "LEFT", kLeftCaption},
    {1604, "mainScn/asset 7", kColumnX, 270.0f, {kView3D, "back", nullptr}, "BACK", kBackCaption},
    {1605, "mainScn/asset 3", kColumnX, -158.0f, {kView3D, nullptr, "first_person"}, "INSIDE", kCameraModeCaption},
    {1606, "mainScn/asset 2", kColumnX, 0.0f, {kView3D, nullptr, "chase"}, "CHASE", kCameraModeCaption},
    {kTrackingButtonId, "mainScn/asset 1", kColumnX, 158.0f, {kView3D, nullptr, "tracking"}, "TRACK",
     kCameraModeCaption},
    {1608, "mainScn/asset 6", 350.0f, -150.0f, {"tactical", nullptr, nullptr}, "TACTICAL", kViewCaption},
    {1609, "mainScn/asset 5", 380.0f, 0.0f, {"lrs", nullptr, nullptr}, "LONG RANGE", kViewCaption},
    {1610, "mainScn/asset 4", 350.0f, 150.0f, {"data", nullptr, nullptr}, "SHIP DATA", kViewCaption},
};

struct HotKeyRow {
    const char* name;
    int32_t defaultKey;
    const char* description;
    Choice choice;
};

constexpr int32_t Letter(char letter)
{
    return qel::vk::kLetterA + (letter - 'A');
}

constexpr int32_t Digit(int digit)
{
    return qel::vk::kDigit0 + digit;
}

constexpr HotKeyRow kHotKeys[] = {
    {"look_forward", Letter('U'), "changes camera angle to front", {kView3D, "front", nullptr}},
    {"look_right", Letter('I'), "changes camera angle to right", {kView3D, "right", nullptr}},
    {"look_left", Letter('Y'), "changes camera angle to left", {kView3D, "left", nullptr}},
    {"look_back", Letter('P'), "changes camera angle to back", {kView3D, "back", nullptr}},
    {"camera_inside", Digit(7), "changes camera view to inside the player ship", {kView3D, nullptr, "first_person"}},
    {"camera_chase", Digit(8), "changes camera view to outside the player ship", {kView3D, nullptr, "chase"}},
    {"camera_tracking", Digit(9), "changes camera view to track the weapon target", {kView3D, nullptr, "tracking"}},
    {"camera_cinematic", Digit(0), "changes camera view to cinematic mode", {kView3D, nullptr, "cinematic"}},
    {"mode_tactical", Letter('J'), "changes main screen to tactical view", {"tactical", nullptr, nullptr}},
    {"mode_long_range", Letter('K'), "changes main screen to long range 2d view", {"lrs", nullptr, nullptr}},
    {"mode_ship_data", Letter('L'), "changes main screen to internal ship view", {"data", nullptr, nullptr}},
};

QelBitmapFont* CaptionFont(float scale)
{
    if (!gGraphicsFactory)
        return nullptr;
    const int pixels = std::clamp(static_cast<int>(kCaptionPixels * scale), kMinCaptionPixels, kMaxCaptionPixels);
    return gGraphicsFactory->LoadFont(kCaptionFont, pixels);
}

void Send(RenderManager& renderer, const Choice& choice, const std::string& camModeDefault)
{
    ViewMainScreenSend(renderer, choice.view, choice.angle ? choice.angle : renderer.cam_angle,
                       choice.camMode ? choice.camMode : camModeDefault);
}

// The camera follows the weapons target: the ship's "weapon_target_UID"
// becomes its "camera_target_UID", here and on the server. A value that names
// no space object is not copied.
void TrackWeaponTarget()
{
    SpaceObject* ship = ConsolePlayerShip();
    if (!ship)
        return;
    const uint64_t target = ReadUInt64(ship->data_set, shipkeys::kWeaponTargetUid);
    if (!IsNoneOrSpaceObjectId(target))
        return;
    WriteUInt64(ship->data_set, playership::kCameraTargetUID, target);
    SendSignal(UInt64ValueFromClientSignal{std::string(playership::kCameraTargetUID.name), target, 0});
}

}  // namespace

float MainScreenControlScale(const IntRect& rect)
{
    return std::min(static_cast<float>(rect.Height()) / kLayoutHeight,
                    static_cast<float>(rect.Width()) * kWidthShare / kLayoutHeight);
}

void ViewMainScreenSend(RenderManager& renderer, const std::string& view, const std::string& angle,
                        const std::string& camMode)
{
    // The mission may have left a part empty: such a choice names no view.
    if (view.empty() || angle.empty() || camMode.empty())
        return;
    if (renderer.console.consoleName.find("weap") == std::string::npos) {
        renderer.main_screen_view = view;
        renderer.cam_mode = camMode;
        renderer.cam_angle = angle;
    }
    SendWithSound("gui_main_screen", MainScreenViewRequestSignal{view, angle, camMode});
}

void ViewMainScreenControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    if (!console.renderer)
        return;
    RenderManager& renderer = *console.renderer;
    UIContext& ui = console.UI();
    if (ui.MouseInside(rect))
        console.mouseOverControl = true;
    const std::string camModeAtStart = renderer.cam_mode;

    const IntPoint centre = rect.Center();
    const float scale = MainScreenControlScale(rect);
    QelBitmapFont* captionFont = CaptionFont(scale);
    for (const ImageButton& button : kButtons) {
        const auto x = static_cast<float>(static_cast<int32_t>(static_cast<float>(centre.x) + button.x * scale));
        const auto y = static_cast<float>(static_cast<int32_t>(static_cast<float>(centre.y) + button.y * scale));
        const BitmapCaption caption{button.caption, button.captionBox, captionFont};
        if (!uiBitmapButton(ui, button.id, button.bitmap, x, y, scale, &caption))
            continue;
        // Only the angles keep the mode the frame began with.
        Send(renderer, button.choice, button.choice.angle ? camModeAtStart : renderer.cam_mode);
        if (button.id == kTrackingButtonId)
            TrackWeaponTarget();
    }

    for (const HotKeyRow& key : kHotKeys)
        if (isHotKeyPressed(widgetName, key.name, key.defaultKey, key.description))
            Send(renderer, key.choice, renderer.cam_mode);
}
