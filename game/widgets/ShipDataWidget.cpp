#include "game/widgets/ShipDataWidget.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/AppData.h"
#include "game/world/ServerStringMap.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kLayer = UIContext::kControlLayer;
constexpr int kBackgroundLayer = 998;
constexpr const char* kFont = "gui-1";
constexpr const char* kBackgroundBitmap = "options_background_image";
// A shield facing's mark: whole and green, worn and yellow below 66 %,
// broken and red below 33 %.
constexpr const char* kShieldFaces[] = {"shldFace1", "shldFace2", "shldFace3"};
constexpr glm::vec4 kFaceColours[] = {{0, 1, 0, 1}, {1, 1, 0, 1}, {1, 0, 0, 1}};
// The background art covers this much of the panel's top-left, in pixels.
constexpr int32_t kBackgroundWidth = 285;
constexpr int32_t kBackgroundHeight = 215;
constexpr int32_t kRowHeight = 20;
// A value below this fraction of its full scale pulses to catch the eye.
constexpr float kPulseBelow = 0.2f;
// Energy is shown against this full scale.
constexpr float kFullEnergy = 1000.0f;
constexpr glm::vec4 kBarBackground{0.3f, 0.3f, 0.3f, 1.0f};
constexpr glm::vec4 kNameLogColour{0.0f, 1.0f, 1.0f, 1.0f};
// The silhouette and the shield faces share one centre, left in the panel.
constexpr float kPictureOffsetX = 34.0f;
constexpr float kPictureOffsetY = 72.0f;
constexpr float kPictureScale = 0.35f;
constexpr int32_t kPanelWidth = 80;
constexpr int32_t kPanelGap = 4;
constexpr int32_t kPanelBar = 3;
constexpr int32_t kShieldBar = 2;

struct SystemBox {
    const char* label;
    int32_t column;  // 0 rightmost
    int32_t row;
};
// In the order of the ship's system values: weapons, engines, sensors, shields.
constexpr SystemBox kSystemBoxes[] = {{"WEAP", 0, 0}, {"ENGN", 1, 0}, {"SENS", 0, 1}, {"SHLD", 1, 1}};
constexpr const char* kShieldLabels[] = {"FRNT SHLD", "REAR SHLD"};

SpaceObject* ConsoleShip()
{
    if (!theSimulation || theSimulation->subjectID == 0)
        return nullptr;
    return theSimulation->GetSpaceObject(theSimulation->subjectID);
}

// 1 while the fraction is healthy; below kPulseBelow it swings 0..1 with the world's ticks.
float Pulse(float fraction)
{
    if (fraction > kPulseBelow)
        return 1.0f;
    const float tick = theSimulation ? static_cast<float>(theSimulation->TickCount()) : 0.0f;
    return (std::sin(tick / 5.0f) + 1.0f) / 2.0f;
}

// value / maximum within 0..1; a maximum of 0 (or anything not a number) gives 0.
float Fraction(float value, float maximum)
{
    const float fraction = maximum != 0.0f ? value / maximum : 0.0f;
    return std::isfinite(fraction) ? std::clamp(fraction, 0.0f, 1.0f) : 0.0f;
}

float F(int32_t value)
{
    return static_cast<float>(value);
}

void FillBar(UIContext& ui, float left, float top, float right, float bottom, float fraction, const glm::vec4& fill)
{
    ui.FillRect(left, top, right, bottom, kBarBackground);
    ui.FillRect(left, top, left + (right - left) * fraction, bottom, fill);
}

void TextRow(UIContext& ui, const IntRect& row, float split, const std::string& label, const std::string& value)
{
    ui.PushRect();
    ui.SetCurrentRect(row);
    const int32_t splitX = row.left + static_cast<int32_t>(split * F(row.right - row.left));
    ui.DrawTextPair(kFont, label, value, splitX, ui.mainColour, ui.mainColour, kLayer);
    ui.PopRect();
}

void DrawStandby(UIContext& ui, ShipDataState& state, const IntRect& rect)
{
    const std::string* text = StandbyText(state.standbyIndex);
    if (!text)
        return;
    ui.DrawText(ui.GetFont(kFont), {rect.left, rect.top + 35, rect.right, rect.bottom}, *text, ui.mainColour, kLayer);
}

void DrawNameRow(UIContext& ui, ShipDataState& state, const IntRect& rect, const SpaceObject& ship)
{
    const std::string name = ReadString(ship.data_set, playership::kNameTag);
    if (name != state.lastShipName) {
        const auto address = static_cast<int32_t>(reinterpret_cast<uintptr_t>(&ship));
        theConsoleLog.Add(kNameLogColour, "so->blob.Get(name_tag) change to  " + name + " " +
                                              std::to_string(address) + " " + std::to_string(theSimulation->subjectID));
        state.lastShipName = name;
    }
    TextRow(ui, {rect.left, rect.top + 25, rect.right - 20, rect.top + 45}, 0.4f, ship.side, name);
}

void DrawEnergy(UIContext& ui, const IntRect& rect, const SpaceObject& ship)
{
    const float energy = ReadFiniteFloat(ship.data_set, playership::kEnergy);
    if (rect.bottom >= rect.top + 65)
        TextRow(ui, {rect.left, rect.top + 45, rect.right, rect.top + 65}, 0.6f, "Energy",
                std::to_string(static_cast<int64_t>(energy)));
    const float e = std::clamp(energy / kFullEnergy, 0.0f, 1.0f);
    const float pulse = Pulse(e);
    const float middle = F(rect.left + rect.right) / 2.0f;
    FillBar(ui, middle, F(rect.top + 63), F(rect.right), F(rect.top + 69), e,
            {(1.0f - e) * pulse, e * pulse, 0.0f, 1.0f});
}

void DrawShields(UIContext& ui, const IntRect& rect, const SpaceObject& ship)
{
    for (int32_t i = 0; i < 2; ++i) {
        const IntRect row{rect.left, rect.top + 95 + kRowHeight * i, rect.right, rect.top + 115 + kRowHeight * i};
        const float value = ReadFiniteFloat(ship.data_set, playership::kShieldVal, i);
        const float q = Fraction(value, ReadFiniteFloat(ship.data_set, playership::kShieldMaxVal, i));
        if (rect.bottom >= row.bottom)
            TextRow(ui, row, 0.7f, kShieldLabels[i], std::to_string(static_cast<int64_t>(std::max(0.0f, value))));
        const int32_t x0 = rect.left + static_cast<int32_t>(0.7f * F(rect.right - rect.left));
        const float p = Pulse(q);
        ui.FillRect(F(x0), F(row.bottom - kShieldBar), F(rect.right), F(row.bottom), kBarBackground);
        ui.FillRect(F(x0), F(row.bottom - kShieldBar), F(x0) + 0.3f * F(rect.right - rect.left) * q,
                              F(row.bottom), {(1.0f - q) * p, q * p, 0.0f, 1.0f});
    }
}

void DrawSystems(UIContext& ui, const IntRect& rect, const SpaceObject& ship)
{
    for (int32_t j = 0; j < 4; ++j) {
        const SystemBox& box = kSystemBoxes[j];
        const int32_t right = rect.right - box.column * (kPanelWidth + kPanelGap);
        const int32_t top = rect.top + 135 + kRowHeight * box.row;
        const float damage = ReadFiniteFloat(ship.data_set, playership::kSystemDamage, j);
        const float maximum = ReadFiniteFloat(ship.data_set, playership::kSystemMaxDamage, j);
        const float health = Fraction(maximum - damage, maximum);
        ShipDataPanel(ui, {right - kPanelWidth, top, right, top + kRowHeight}, box.label, health);
    }
}

// A type the string map does not describe takes no row.
void DrawTorpedoes(UIContext& ui, const IntRect& rect, const SpaceObject& ship)
{
    std::vector<std::string> types;
    Tokenize(ReadString(ship.data_set, playership::kTorpedoTypesAvailable), types, ",");
    const auto& entries = ServerStringMap::Instance().Entries();
    int32_t rowBottom = rect.top + 185;
    for (const std::string& type : types) {
        const auto entry = entries.find(type);
        if (entry == entries.end() || entry->second.empty())
            continue;
        KeyValueParser parser;
        parseStyleString(parser, entry->second);
        const std::string name = parser.Get("ViewShipDataDraw", "gui_text", "the proper name of the torp type");
        rowBottom += kRowHeight;
        if (rect.bottom >= rowBottom && theSimulation)
            TextRow(ui, {rect.left, rowBottom - kRowHeight, rect.right, rowBottom}, 0.7f, name,
                    theSimulation->TorpedoCountText(ship, type));
    }
}

void DrawPicture(UIContext& ui, RenderManager* view, const IntRect& rect, const SpaceObject& ship)
{
    const float x = F(rect.left) + kPictureOffsetX;
    const float y = F(rect.top) + kPictureOffsetY;
    ObjectTypeDrawData* drawData = view ? view->GetObjectTypeDrawData(ship.data_tag) : nullptr;
    if (drawData && drawData->silhouette) {
        const ShipDataRecord* record = ShipData::Instance().Find(ship.data_tag);
        const float turn = (record ? record->meshRotate : 0.0f) * kPi / 2.0f + kPi;
        drawData->silhouette->DrawRotated(x, y, turn, kPictureScale, kLayer, &ui.mainColour[0], false);
    }
    if (ReadInt(ship.data_set, playership::kShieldsRaisedFlag) != 1)
        return;
    const int32_t count = shipkeys::ShieldFacingCount(ship.data_set);
    for (int32_t j = 0; j < count; ++j) {
        const float r = Fraction(ReadFiniteFloat(ship.data_set, playership::kShieldVal, j),
                                 ReadFiniteFloat(ship.data_set, playership::kShieldMaxVal, j));
        if (r <= 0.0f)
            continue;
        const int face = r < 0.33f ? 2 : r < 0.66f ? 1 : 0;
        if (Qel2dBitmap* bitmap = ui.Bitmap(kShieldFaces[face]))
            bitmap->DrawRotated(x, y, F(j) * kPi, kPictureScale, kLayer, &kFaceColours[face][0], false);
    }
}

}  // namespace

void ShipDataPanel(UIContext& ui, const IntRect& rect, const std::string& label, float fraction)
{
    const float p = Pulse(fraction);
    glm::vec4 colour = ui.mainColour;
    if (fraction < 0.4f)
        colour = {p / 2.0f, 0.0f, 0.0f, 1.0f};
    else if (fraction < 0.8f)
        colour = {p / 2.0f, p / 2.0f, 0.0f, 1.0f};
    ui.DrawText(ui.GetFont(kFont), rect, label, colour, kLayer, 2);
    FillBar(ui, F(rect.left), F(rect.bottom - kPanelBar), F(rect.right), F(rect.bottom), fraction,
            {(1.0f - fraction) * p / 2.0f, fraction * p / 2.0f, 0.0f, 1.0f});
}

void ViewShipDataDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    if (Qel2dBitmap* background = ui.Bitmap(kBackgroundBitmap)) {
        background->SetSourceRect(0.0f, 0.0f, F(background->GetWidth()), F(background->GetHeight()));
        background->SetDestRect(F(rect.left), F(rect.top), F(rect.left + kBackgroundWidth),
                                F(rect.top + kBackgroundHeight));
        const glm::vec4 dim{glm::vec3(ui.mainColour) * 0.4f, ui.mainColour.a};
        background->DrawQuad(&dim[0], kBackgroundLayer, false);
    }
    const SpaceObject* ship = ConsoleShip();
    if (!ship) {
        DrawStandby(ui, console.shipData, rect);
        return;
    }
    DrawNameRow(ui, console.shipData, rect, *ship);
    DrawEnergy(ui, rect, *ship);
    if (rect.bottom >= rect.top + 95)
        TextRow(ui, {rect.left, rect.top + 75, rect.right, rect.top + 95}, 0.6f, "State",
                ReadString(ship->data_set, playership::kDockState));
    DrawShields(ui, rect, *ship);
    DrawSystems(ui, rect, *ship);
    DrawTorpedoes(ui, rect, *ship);
    DrawPicture(ui, console.renderer, rect, *ship);
}

