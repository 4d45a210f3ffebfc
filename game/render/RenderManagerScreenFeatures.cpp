// The render manager's smaller services to scenes, the retained GUI and the
// message handlers: speech bubbles, the jump dissolve, the report of a
// widget's box to the mission, and an icon drawn to a rectangle.

#include "game/render/RenderManager.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/shell/UIContext.h"
#include "game/shell/UIControls.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"
#include "helper/QelAssert.h"

#include <algorithm>

namespace {

// The dissolve clears cells at up to this share of its progress per frame.
constexpr float kDissolveRate = 1.0f / 20.0f;
constexpr int kDissolveLayer = 1100;

bool DrawUnder(float share)
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) < share;
}

}  // namespace

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
    Qel2dBitmap* white = theUIContext.White();
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
    const IntPoint centre = rect.Center();
    const float halfSize = static_cast<float>(std::min(rect.Width(), rect.Height())) / 2.0f;
    uiGridIcon(cell, colour, static_cast<float>(centre.x), static_cast<float>(centre.y), halfSize, layer);
}

void RenderManager::ReleaseEditLines()
{
    jumpEffect.directionEdit.reset();
    jumpEffect.distanceEdit.reset();
}
