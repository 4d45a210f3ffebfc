#include "game/shell/scenes/DevOrbitView.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelMouse.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/Camera.h"
#include "game/render/GenericBox.h"
#include "game/render/RedwoodPointLight.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float kYawPerTick = 0.1f;
constexpr float kPitchPerTick = 0.01f;
constexpr float kDistancePerTick = 17.0f;
constexpr float kYawTurn = -0.2f;   // radians per unit of A
constexpr float kPitchTurn = 3.0f;  // radians per unit of B
constexpr float kYawPerPixel = 0.01f;
constexpr float kPitchPerPixel = 0.001f;
constexpr float kWheelShare = 1000.0f;
constexpr const char* kTargetName = "DevViewPass";
constexpr const char* kWhiteTexture = "smallWhite";
const glm::vec3 kUp{0.0f, 1.0f, 0.0f};
const glm::vec3 kRight{1.0f, 0.0f, 0.0f};
// Towards the light: above the markers, on the camera's side of them.
const glm::vec4 kMarkerLight{0.4f, 0.8f, -0.45f, 0.0f};

bool Held(QelKeyboard& keyboard, int32_t key)
{
    return keyboard.IsKeyDown(key);
}

int32_t Letter(char letter)
{
    return qel::vk::kLetterA + (letter - 'A');
}

}  // namespace

void DevOrbitView::ApplyHeldKeys(QelKeyboard& keyboard)
{
    if (Held(keyboard, Letter('A')))
        yawValue -= kYawPerTick;
    if (Held(keyboard, Letter('D')))
        yawValue += kYawPerTick;
    if (Held(keyboard, Letter('S')))
        pitchValue -= kPitchPerTick;
    if (Held(keyboard, Letter('W')))
        pitchValue += kPitchPerTick;
    pitchValue = std::clamp(pitchValue, -1.0f, 1.0f);
    if (Held(keyboard, qel::vk::kInsert) || Held(keyboard, Letter('Q')))
        distance -= kDistancePerTick;
    if (Held(keyboard, qel::vk::kDelete) || Held(keyboard, Letter('E')))
        distance += kDistancePerTick;
    distance = std::clamp(distance, kMinDistance, kMaxDistance);
}

void DevOrbitView::Zoom(int32_t wheel)
{
    if (wheel == 0)
        return;
    distance = std::clamp(distance * (1.0f - static_cast<float>(wheel) / kWheelShare), kMinDistance, kMaxDistance);
}

void DevOrbitView::Drag(UIContext& ui)
{
    int32_t x = 0, y = 0;
    // A press that began on a control belongs to the control.
    if (!ui.MousePosition(x, y) || !ui.LeftDown() || ui.previousActiveId != 0) {
        dragging = false;
        return;
    }
    if (!dragging) {
        dragging = true;
        dragStartYaw = yawValue;
        dragStartPitch = pitchValue;
        dragStartX = x;
        dragStartY = y;
    }
    yawValue = dragStartYaw + static_cast<float>(dragStartX - x) * kYawPerPixel;
    pitchValue = dragStartPitch + static_cast<float>(dragStartY - y) * kPitchPerPixel;
}

glm::vec3 DevOrbitView::EyePosition() const
{
    const glm::mat4 identity(1.0f);
    const glm::mat4 turn =
        glm::rotate(identity, yawValue * kYawTurn, kUp) * glm::rotate(identity, pitchValue * kPitchTurn, kRight);
    return glm::vec3(turn * glm::vec4(0.0f, 0.0f, -distance, 1.0f));
}

bool DevViewPass::Begin(const DevOrbitView& orbit)
{
    QelGraphicsFactoryBase* graphics = gGraphicsFactory;
    if (!graphics)
        return false;
    width = std::max(graphics->GetWidth(), 1);
    height = std::max(graphics->GetHeight(), 1);
    target = graphics->GetRenderTarget(kTargetName, width, height, true);
    if (!target)
        return false;
    // The window may have changed size since the target was made.
    if (target->GetWidth() != width || target->GetHeight() != height) {
        graphics->Delete2DBitmap(kTargetName);
        target = graphics->GetRenderTarget(kTargetName, width, height, true);
        if (!target)
            return false;
    }
    eye = orbit.EyePosition();
    Camera camera;
    view = camera.LookAt(-eye, glm::vec3(0.0f));
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    projection = glm::perspectiveLH_ZO(kFieldOfView, aspect, kNearPlane, kFarPlane);
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    graphics->Flush2D();
    target->SetAsRenderTarget(true, true, clear);
    graphics->Flush2DAndClearDepth(target);
    graphics->SetPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    if (QelDrawProcess* phong = graphics->GetShader("Phong"))
        phong->SetParameter("lightDir", kMarkerLight.x, kMarkerLight.y, kMarkerLight.z, kMarkerLight.w);
    return true;
}

void DevViewPass::End()
{
    if (!target || !gGraphicsFactory)
        return;
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    gGraphicsFactory->Flush2D();
    target->SetAsRenderTarget(false, false, clear);
    target->SetSourceRect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    target->SetDestRect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    target->DrawQuad(white, kPictureLayer, false);
}

void DevViewPass::DrawMarker(const QEL3DObject& sphere, const glm::vec3& at, float scale,
                             const glm::vec4& colour) const
{
    QelDrawProcess* phong = gGraphicsFactory ? gGraphicsFactory->GetShader("Phong") : nullptr;
    if (!phong || glm::distance(at, eye) <= kMarkerRadius * scale + kNearPlane)
        return;
    phong->SetParameter("ambientColor", colour.r, colour.g, colour.b, colour.a);
    const glm::mat4 model = glm::scale(glm::translate(glm::mat4(1.0f), at), glm::vec3(scale));
    sphere.Draw(model, view, nullptr, "Phong");
}

void DevViewPass::LightShips(RenderManager* renderer, const char* shaderName) const
{
    LightShipsFrom(renderer, eye, shaderName);
}

bool DevViewPass::ToWindow(const glm::vec3& world, glm::vec2& pixel) const
{
    const glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
    if (clip.w <= kNearPlane * 0.5f)
        return false;
    pixel.x = (clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(width);
    pixel.y = (1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(height);
    return std::isfinite(pixel.x) && std::isfinite(pixel.y);
}

void DevViewPass::OutlineBox(UIContext& ui, const glm::vec3& min, const glm::vec3& max, const glm::vec4& colour) const
{
    std::array<glm::vec2, 8> corners{};
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner{(i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z};
        if (!ToWindow(corner, corners[static_cast<size_t>(i)]))
            return;
    }
    // Each edge joins two corners that differ in one axis bit.
    for (int i = 0; i < 8; ++i)
        for (int bit = 1; bit < 8; bit <<= 1)
            if (!(i & bit)) {
                const glm::vec2 a = corners[static_cast<size_t>(i)];
                const glm::vec2 b = corners[static_cast<size_t>(i | bit)];
                ui.DrawLine(a.x, a.y, b.x, b.y, colour, kOverlayLayer);
            }
}

// Added light ignores alpha: the colour is weighted by it first.
void DevViewPass::GlowBox(GenericBox& box, const glm::vec3& min, const glm::vec3& max, const glm::vec4& colour) const
{
    const glm::vec4 light{glm::vec3(colour) * colour.a, 1.0f};
    box.Draw(min, max, glm::mat4(1.0f), view, light, true, false);
}

void LightShipsFrom(RenderManager* renderer, const glm::vec3& eye, const char* shaderName)
{
    QelDrawProcess* shader = gGraphicsFactory ? gGraphicsFactory->GetShader(shaderName) : nullptr;
    if (!renderer || !shader)
        return;
    renderer->SetRedwoodConstants(eye, glm::normalize(-eye), shaderName);
    for (int slot = 0; slot < RedwoodPointLight::kSlots; ++slot)
        RedwoodPointLight{}.Apply(shader, slot);
}

int32_t TakeMouseWheel()
{
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (!mouse)
        return 0;
    const int32_t wheel = mouse->GetWheel();
    mouse->SetWheel(0);
    return wheel;
}

std::unique_ptr<QEL3DObject> LoadDevMarkerSphere()
{
    if (!gGraphicsFactory)
        return nullptr;
    std::unique_ptr<QEL3DObject> sphere = gGraphicsFactory->Load3DObject("sphere", "Phong");
    if (sphere && !sphere->units.empty())
        sphere->units.front().textureNames.assign(4, kWhiteTexture);
    return sphere;
}
