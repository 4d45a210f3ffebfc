#include "game/render/manager/CounterPanelOverlay.h"

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/ClientRecord.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/Edline.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "game/world/SpaceObject.h"

#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

constexpr int kLayer = 1000;
constexpr int kTopLayer = 1001;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// The counter panel: a black field with the graph in its first 199 columns
// and the legend from 205 pixels on, the value then the name.
constexpr glm::vec4 kPanelBackground{0.0f, 0.0f, 0.0f, 1.0f};
constexpr int32_t kGraphColumns = PerSecondCounter::kBucketCount - 1;
constexpr int32_t kLegendValueLeft = 205;
constexpr int32_t kLegendNameLeft = 305;
constexpr int32_t kLegendGap = 2;
// The legend's value column ends this far before the names.
constexpr int32_t kLegendColumnGap = 4;
constexpr const char* kPanelFont = "smallest";

// The network statistics.
constexpr glm::vec4 kStatsBackground{0.0f, 0.1f, 0.0f, 1.0f};
constexpr glm::vec4 kClientBackground{0.0f, 0.2f, 0.0f, 1.0f};
constexpr glm::vec4 kTrafficColour{1.0f, 1.0f, 0.0f, 1.0f};
constexpr const char* kServerTrafficCounter = "server send bytes/sec";
// The server's graph: 150 pixels high over a 2-pixel margin, two columns a
// second; its caption 30 pixels high, 30 above the graph.
constexpr int32_t kTrafficHeight = 150;
constexpr int32_t kTrafficMargin = 2;
constexpr int32_t kCaptionTop = 182;
constexpr int32_t kCaptionBottom = 152;
constexpr int32_t kCaptionWidth = 998;

// A console's panel: the name field on the left half, the console and its
// ship on the right, the response time and the traffic along the bottom
// over a bar that fills red toward 5 seconds.
constexpr const char* kClientFontName = "DefaultSans";
constexpr int kClientFontSize = 14;
constexpr const char* kNameFieldFont = "gui-1";
constexpr int32_t kNameFieldChars = 128;
// The name fields' control ids: one per console, by the low bits of its id
// (as its traffic counter is named), clear of every other control's ids.
constexpr uint64_t kClientCounterMask = 0xFFF;
constexpr int32_t kNameFieldIdBase = 0x10000;
constexpr int32_t kNameFieldHeight = 36;
constexpr int32_t kPanelShrink = 2;
constexpr int32_t kFooterHeight = 30;
constexpr int32_t kBarHeight = 10;
constexpr float kSlowestResponseMs = 5000.0f;
// The traffic shown is the average of the last ten complete seconds.
constexpr int32_t kAverageSeconds = 10;

int32_t Wrap(int32_t index)
{
    return (index % PerSecondCounter::kBucketCount + PerSecondCounter::kBucketCount) % PerSecondCounter::kBucketCount;
}

// The ship's name, or the lack of one, as the panel says it.
std::string Aboard(uint64_t shipId)
{
    const SpaceObject* ship = FindSpaceObject(shipId);
    return ship ? "aboard " + ReadString(ship->data_set, shipkeys::kNameTag) : "no ship assigned";
}

}  // namespace

void CounterPanelOverlay::DrawPanelOverlay(const IntRect& rect)
{
    UIContext& ui = owner.UI();
    PerSecondCounterMap& map = PerSecondCounterMap::Instance();
    const std::lock_guard<std::mutex> lock(map.Mutex());
    const bool hover = ui.MouseInside(rect);
    const int32_t bottom = hover ? std::max(rect.bottom, panelContentHeight) : rect.bottom;
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    ui.SetCurrentRectEdges(rect.left, rect.top, rect.right, bottom);
    ui.FillRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                static_cast<float>(bottom), kPanelBackground, kLayer);

    const auto& counters = map.Counters();
    if (colours.size() != counters.size()) {
        colours.assign(counters.size(), glm::vec4(1.0f));
        for (size_t i = 0; i < colours.size(); ++i)
            HsvToRgb(360.0f / static_cast<float>(colours.size()) * static_cast<float>(i), 1.0f, 1.0f, colours[i].r,
                     colours[i].g, colours[i].b);
    }

    // Oldest second first; a counter that never counted anything has no
    // scale and no line.
    const float span = static_cast<float>(bottom - rect.top);
    size_t index = 0;
    for (const auto& [name, counter] : counters) {
        const glm::vec4& colour = colours[index++];
        if (counter.max <= 0.0f)
            continue;
        for (int32_t k = 0; k < kGraphColumns; ++k) {
            const float sample = counter.buckets[static_cast<size_t>(Wrap(counter.currentIndex + 1 + k))];
            const float y = static_cast<float>(bottom - static_cast<int32_t>(span / counter.max * sample));
            const float x = static_cast<float>(rect.left + k);
            ui.DrawLine(x, y + 1.0f, x, y, colour, kLayer);
        }
    }

    QelBitmapFont* font = ui.GetFont(kPanelFont);
    int32_t rowTop = rect.top;
    index = 0;
    for (const auto& [name, counter] : counters) {
        const glm::vec4& colour = colours[index++];
        if (hover || rowTop + kLegendRowHeight <= bottom) {
            const float last = counter.buckets[static_cast<size_t>(Wrap(counter.currentIndex - 1))];
            const IntRect value{rect.left + kLegendValueLeft, rowTop, rect.left + kLegendNameLeft - kLegendColumnGap,
                                rowTop + kLegendRowHeight};
            const IntRect label{rect.left + kLegendNameLeft, rowTop, rect.right, rowTop + kLegendRowHeight};
            ui.DrawText(font, value, std::to_string(static_cast<int64_t>(last)), colour, kLayer, 0, TextFlow::kOneLine);
            ui.DrawText(font, label, name, colour, kLayer, 0, TextFlow::kOneLine);
        }
        rowTop += kLegendRowHeight;
    }
    panelContentHeight = rowTop + kLegendGap;  // the last row's bottom and a gap
}

void CounterPanelOverlay::DrawServerStats(const IntRect& rect)
{
    UIContext& ui = owner.UI();
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    ui.SetCurrentRect(rect);
    ui.FillRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                static_cast<float>(rect.bottom), kStatsBackground, kLayer);
    if (!gServer)
        return;
    IntRect panel{rect.left + kClientPanelInset, rect.top + kClientPanelInset,
                  rect.left + kClientPanelInset + kClientPanelWidth, rect.top + kClientPanelInset + kClientPanelHeight};
    for (const auto& [id, client] : gServer->Clients()) {
        if (panel.right > rect.right && panel.left > rect.left + kClientPanelInset)
            panel = IntRect{rect.left + kClientPanelInset, panel.top + kClientPanelStepY,
                            rect.left + kClientPanelInset + kClientPanelWidth, panel.bottom + kClientPanelStepY};
        DrawNetworkStats(panel, *client);
        panel.left += kClientPanelStepX;
        panel.right += kClientPanelStepX;
    }
    DrawServerTraffic(rect);
}

// Everything the server sent, second by second, along the bottom.
void CounterPanelOverlay::DrawServerTraffic(const IntRect& rect)
{
    UIContext& ui = owner.UI();
    PerSecondCounterMap& map = PerSecondCounterMap::Instance();
    const std::lock_guard<std::mutex> lock(map.Mutex());
    const PerSecondCounter* sent = map.Find(kServerTrafficCounter);
    if (!sent || sent->max <= 0.0f)
        return;
    const float base = static_cast<float>(rect.bottom - kTrafficMargin);
    for (int32_t k = 0; k < kGraphColumns; ++k) {
        const float sample = sent->buckets[static_cast<size_t>(Wrap(sent->currentIndex + 1 + k))];
        const float top = base - static_cast<float>(static_cast<int32_t>(kTrafficHeight / sent->max * sample));
        const float x = static_cast<float>(rect.left + kTrafficMargin + 2 * k);
        ui.DrawLine(x, base, x, top, kTrafficColour, kLayer);
        ui.DrawLine(x + 1.0f, base, x + 1.0f, top, kTrafficColour, kLayer);
    }
    char largest[64];
    std::snprintf(largest, sizeof largest, "%f", static_cast<double>(sent->max));
    const int32_t left = rect.left + kTrafficMargin;
    ui.DrawText(ui.GetFont(kPanelFont),
                IntRect{left, rect.bottom - kCaptionTop, left + kCaptionWidth, rect.bottom - kCaptionBottom},
                std::string("Server Send Bytes/Sec   ") + largest, kWhite, kLayer);
}

void CounterPanelOverlay::DrawNetworkStats(const IntRect& area, ClientRecord& client)
{
    UIContext& ui = owner.UI();
    ui.FillRect(static_cast<float>(area.left), static_cast<float>(area.top), static_cast<float>(area.right),
                static_cast<float>(area.bottom), kClientBackground, kLayer);
    QelBitmapFont* font = gGraphicsFactory ? gGraphicsFactory->LoadFont(kClientFontName, kClientFontSize) : nullptr;
    const uint64_t shortId = client.id & kClientCounterMask;

    std::unique_ptr<Edline>& field = owner.clientNameFields[client.id];
    if (!field) {
        field = std::make_unique<Edline>(kNameFieldIdBase + static_cast<int32_t>(shortId), kNameFieldFont,
                                         kNameFieldChars);
        field->SetText(client.machineName);
        field->cursor = field->Length();  // typing goes on from the name's end
    }

    const IntRect panel{area.left + kPanelShrink, area.top + kPanelShrink, area.right - kPanelShrink,
                        area.bottom - kPanelShrink};
    const int32_t half = (panel.right - panel.left) / 2;
    ui.SetCurrentRectEdges(panel.left, panel.top, panel.left + half, panel.top + kNameFieldHeight);
    if (uiTextBox(ui, "Client Name", *field, kTopLayer)) {
        client.machineName = field->text;
        if (gServer) {
            QelNetworkMessage& message = ServerOutgoingMessage();
            StartServerMessage(message, "signal", 0);
            WriteSignal(message, MachineNameSignal{client.machineName});
            gServer->SendToClient(message, client.id, ServerMessageSink::kUnreliable);
        }
    }

    const int32_t middle = panel.left + half;
    ui.DrawText(font, IntRect{middle, panel.top, middle + half, panel.bottom},
                std::to_string(shortId) + ": " + client.consoleName + "^" + Aboard(client.shipId), kWhite, kLayer, 2);

    const IntRect footer{panel.left, panel.bottom - kFooterHeight, panel.right, panel.bottom};
    ui.DrawText(font, footer, std::to_string(static_cast<int64_t>(client.ping)) + "ms network response", kWhite,
                kTopLayer);
    {
        PerSecondCounterMap& map = PerSecondCounterMap::Instance();
        const std::lock_guard<std::mutex> lock(map.Mutex());
        const PerSecondCounter* sent = map.Find(std::to_string(shortId) + "bps");
        if (sent && sent->max > 0.0f) {
            float sum = 0.0f;
            for (int32_t k = 1; k <= kAverageSeconds; ++k)
                sum += sent->buckets[static_cast<size_t>(Wrap(sent->currentIndex - k))];
            ui.DrawText(font, footer,
                        std::to_string(static_cast<int64_t>(sum) / kAverageSeconds) + " ave bytes/sec sent", kWhite,
                        kTopLayer, 2);
        }
    }

    const float barTop = static_cast<float>(panel.bottom - kBarHeight);
    ui.FillRect(static_cast<float>(panel.left), barTop, static_cast<float>(panel.right),
                static_cast<float>(panel.bottom), kStatsBackground, kLayer);
    const float slowness = std::clamp(client.ping / kSlowestResponseMs, 0.0f, 1.0f);
    ui.FillRect(static_cast<float>(panel.left), barTop,
                static_cast<float>(panel.left) + static_cast<float>(panel.right - panel.left) * slowness,
                static_cast<float>(panel.bottom), glm::vec4(slowness, 1.0f - slowness, 0.0f, 1.0f), kLayer);
}
