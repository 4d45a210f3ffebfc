// The render manager's smaller services to scenes, the retained GUI and the
// message handlers: the sky behind the menus, speech bubbles, the jump
// dissolve, the ship turning in a box, the report of a widget's box to the
// mission, and an icon drawn to a rectangle.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/render/RedwoodPointLight.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/AppData.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kFieldOfView = 1.0471976f;  // 60 degrees
constexpr float kNearPlane = 1.0f;
constexpr float kSkyFarPlane = 10000.0f;
constexpr float kShipFarPlane = 100000.0f;
// The menu sky turns by this much each tick. A sky that arrives late fades in
// over this many ticks, under everything the screen draws.
constexpr float kSkyTurnPerTick = 0.001f;
constexpr uint64_t kSkyFadeTicks = 15;
constexpr int kSkyFadeLayer = 990;
// The ship in a box turns 0.1 radian a second of drawing; after a pause it
// takes up at most 0.02 radian at once.
constexpr float kShipTurnPerMs = 0.0001f;
constexpr uint32_t kShipTurnMaxMs = 200;
// Where the ship-in-a-box camera looks from, at the ship in the middle.
constexpr glm::vec3 kShipBoxEye{-100.0f, -40.0f, 0.0f};
constexpr float kShipScalePerSize = 0.0001f;

// The dissolve clears cells at up to this share of its progress per frame.
constexpr float kDissolveRate = 1.0f / 20.0f;
constexpr int kDissolveLayer = 1100;

float Aspect(int width, int height)
{
    return height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
}

bool DrawUnder(float share)
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) < share;
}

}  // namespace

void RenderManager::DrawSkyBackground()
{
    UIContext& ui = UI();
    if (!gGraphicsFactory || !skyBox)
        return;
    gGraphicsFactory->SetPerspective(kFieldOfView, Aspect(gGraphicsFactory->GetWidth(), gGraphicsFactory->GetHeight()),
                                     kNearPlane, kSkyFarPlane);
    menuCamera.eye = glm::vec3(0.0f);
    menuCamera.pitch = 0.0f;
    menuCamera.yaw = static_cast<float>(tickCounter) * kSkyTurnPerTick;
    menuCamera.UpdateMatrix();
    if (!skyBox->Draw(menuCamera.matrix)) {
        skyMissed = true;
        skyArrivedTick = 0;
        return;
    }
    if (!skyMissed)
        return;
    if (skyArrivedTick == 0)
        skyArrivedTick = tickCounter + 1;
    const uint64_t shown = tickCounter + 1 - skyArrivedTick;
    if (shown >= kSkyFadeTicks) {
        skyMissed = false;
        return;
    }
    const float cover = 1.0f - static_cast<float>(shown) / static_cast<float>(kSkyFadeTicks);
    ui.FillRect(0.0f, 0.0f, static_cast<float>(gGraphicsFactory->GetWidth()),
                          static_cast<float>(gGraphicsFactory->GetHeight()), glm::vec4(0.0f, 0.0f, 0.0f, cover),
                          kSkyFadeLayer);
}

void RenderManager::SetSpeechBubble(uint64_t objectId, int32_t seconds, const std::string& colour,
                                    const std::string& text)
{
    if (objectId == 0) {
        speechBubbles.clear();
        return;
    }
    QEL_ASSERT(VALID_SPACE_OBJ(objectId), "VALID_SPACE_OBJ(spaceObjectID)");
    // A bubble of negative seconds has run out already: it goes at the next
    // tick (never "never", which expiry 0 would mean).
    uint64_t expiry = 0;
    if (seconds > 0)
        expiry = tickCounter + static_cast<uint64_t>(seconds) * kBubbleTicksPerSecond;
    else if (seconds < 0)
        expiry = std::max<uint64_t>(tickCounter, 1);
    const auto found = std::find_if(speechBubbles.rbegin(), speechBubbles.rend(),
                                    [objectId](const SpeechBubble& bubble) { return bubble.objectId == objectId; });
    if (found == speechBubbles.rend()) {
        if (!text.empty())
            speechBubbles.push_back({objectId, expiry, colour, text});
        return;
    }
    if (text.empty()) {
        speechBubbles.erase(std::next(found).base());
        return;
    }
    found->expiryTick = expiry;
    found->colour = colour;
    found->text = text;
}

// The cells left black thin out as the jump's time passes: near its end
// about one in four hundred goes each frame.
void RenderManager::DrawDissolve()
{
    UIContext& ui = UI();
    if (jumpEffect.mode != JumpEffectState::kDissolveMode)
        return;
    const int64_t now = theSimulation ? theSimulation->TickCount() : 0;
    const int64_t elapsed = now - static_cast<int64_t>(jumpEffect.startTick);
    // Done; also when it has no length, or the world started again below it.
    if (static_cast<int64_t>(jumpEffect.durationTicks) < elapsed || jumpEffect.durationTicks == 0 || elapsed < 0) {
        jumpEffect.mode = 0;
        return;
    }
    const float progress = static_cast<float>(elapsed) / static_cast<float>(jumpEffect.durationTicks);
    const float share = progress * kDissolveRate;
    Qel2dBitmap* white = ui.White();
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<IntRect>& cells = jumpEffect.cells;
    for (size_t i = cells.size(); i-- > 0;) {
        if (DrawUnder(share) && DrawUnder(share)) {
            cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (white) {
            white->SetDestRectInt(QelRect{cells[i].left, cells[i].top, cells[i].right, cells[i].bottom});
            white->DrawQuad(black, kDissolveLayer, false);
        }
    }
}

void RenderManager::DrawShipInBox(Qel2dBitmap* target, const std::string& shipKey, const IntRect& rect)
{
    if (!gGraphicsFactory || !target || !rect.IsOpen())
        return;
    const uint32_t now = gInputFactory ? gInputFactory->GetMilliseconds() : shipBoxLastMs;
    const uint32_t elapsed = now - shipBoxLastMs;  // wraps with the clock
    shipBoxLastMs = now;
    shipBoxAngle += static_cast<float>(std::min(elapsed, kShipTurnMaxMs)) * kShipTurnPerMs;

    ObjectTypeDrawData* drawData = GetObjectTypeDrawData(LowerCaseAscii(shipKey));
    const float scale = AppData::GetFloat("ship-in-box-size-coeff") * drawData->size * kShipScalePerSize;
    const glm::mat4 model = glm::scale(glm::rotate(glm::mat4(1.0f), shipBoxAngle, glm::vec3(0, 1, 0)), glm::vec3(scale));
    RenderShipInto(*target, *drawData, model);

    // The largest part of the picture, about its centre, of the box's shape.
    IntRect source{0, 0, target->GetWidth(), target->GetHeight()};
    FitRectToAspect(source, rect);
    target->SetSourceRectInt(QelRect{source.left, source.top, source.right, source.bottom});
    target->SetDestRectInt(QelRect{rect.left, rect.top, rect.right, rect.bottom});
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    target->DrawQuad(white, UIContext::kControlLayer, false);
    gGraphicsFactory->Flush2D();
}

// The model, lit, into the target from the ship-in-a-box camera; the menu
// camera's eye and the window's projection are put back after.
void RenderManager::RenderShipInto(Qel2dBitmap& target, const ObjectTypeDrawData& drawData, const glm::mat4& model)
{
    const glm::vec3 savedEye = menuCamera.eye;
    const glm::mat4 view = menuCamera.LookAt(kShipBoxEye, glm::vec3(0.0f));
    const glm::vec3 direction = glm::normalize(kShipBoxEye);
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    gGraphicsFactory->Flush2D();
    target.SetAsRenderTarget(true, true, clear);
    gGraphicsFactory->Flush2DAndClearDepth(&target);
    gGraphicsFactory->SetPerspective(kFieldOfView, Aspect(target.GetWidth(), target.GetHeight()), kNearPlane,
                                     kShipFarPlane);
    if (QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood")) {
        SetRedwoodConstants(kShipBoxEye, direction);
        for (int light = 0; light < RedwoodPointLight::kSlots; ++light)
            RedwoodPointLight{}.Apply(redwood, light);
        if (drawData.mesh)
            drawData.mesh->Draw(model, view, nullptr, "Redwood");
    }
    menuCamera.eye = savedEye;
    target.SetAsRenderTarget(false, false, clear);
    gGraphicsFactory->SetPerspective(kFieldOfView, Aspect(gGraphicsFactory->GetWidth(), gGraphicsFactory->GetHeight()),
                                     kNearPlane, kShipFarPlane);
}

void RenderManager::DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint,
                             int layer)
{
    portraitGen.DrawFace(description, x, y, size, tint, layer);
}

void RenderManager::SendWidgetBoxState(const std::string& widgetName, const std::string& screenName,
                                       int32_t layoutIndex, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const WidgetBoxStateSignal box{widgetName, screenName, layoutIndex, left, top, right, bottom};
    if (theSimulation && theSimulation->serverFlag) {
        if (gServer)
            gServer->RaiseEventFromClient(0, WidgetBoxStateEvent(box));
        return;
    }
    if (!IsClientConnected())
        return;
    WriteSignal(StartClientMessage("signal"), box);
    SendClientMessage();
}

void RenderManager::DrawWithRect(int cell, const IntRect& rect, const glm::vec4& colour, int layer)
{
    UIContext& ui = UI();
    const IntPoint centre = rect.Center();
    const float halfSize = static_cast<float>(std::min(rect.Width(), rect.Height())) / 2.0f;
    uiGridIcon(ui, cell, colour, static_cast<float>(centre.x), static_cast<float>(centre.y), halfSize, layer);
}

void RenderManager::ReleaseEditLines()
{
    jumpEffect.directionEdit.reset();
    jumpEffect.distanceEdit.reset();
}

void RenderManager::SetRadarZoom(float scale)
{
    radarScale = scale;
    radarCenterX = mainBuffWidth / 2;
    radarCenterY = mainBuffHeight / 2;
    radarRecenter = true;
}

glm::vec4 RenderManager::PanelColour() const
{
    const UIContext& ui = console.UI();
    glm::vec4 colour = ui.dimColour;
    colour.a *= std::clamp(panelOpacity, 0.0f, 1.0f);
    return colour;
}
