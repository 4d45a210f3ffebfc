#include "game/render/manager/Ring2DRenderer.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/ui/UIContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void Ring2DRenderer::Draw(UIContext& ui, const glm::vec2& centre, float radius, float start, float sweep,
                          const glm::vec4& colour, int layer) const
{
    Qel2dBitmap* white = ui.White();
    if (!white || !(sweep > 0.0f) || !std::isfinite(sweep) || !std::isfinite(start))
        return;
    const float turn = 2.0f * std::numbers::pi_v<float>;
    sweep = std::min(sweep, turn);
    const int32_t segments = std::max(1, static_cast<int32_t>(std::ceil(sweep / turn * kSegments)));
    const float inner = radius - kBandWidth * 0.5f;
    const float outer = radius + kBandWidth * 0.5f;
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    const auto at = [&](float angle, float r) {
        return glm::vec2(centre.x + std::sin(angle) * r, centre.y - std::cos(angle) * r);
    };
    for (int32_t k = 0; k < segments; ++k) {
        const float a0 = start + sweep * static_cast<float>(k) / static_cast<float>(segments);
        const float a1 = start + sweep * static_cast<float>(k + 1) / static_cast<float>(segments);
        const glm::vec2 p0 = at(a0, outer), p1 = at(a1, outer), p2 = at(a0, inner), p3 = at(a1, inner);
        white->SetDestQuad(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
        white->DrawQuad(rgba, layer, false);
    }
}
