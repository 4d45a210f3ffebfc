#pragma once
// What the developer tool scenes with a 3D view share (the ship librarian,
// the pathing test and the monster shader test): one orbit camera, kept in
// the shell's state so that it keeps its place between them, its keyboard
// and mouse rules, and the pass that draws their 3D content into a target of
// the window's size shown under the scene's controls.
//
//   orbit.Drag(ui);  orbit.Zoom(wheel);                        // draw step
//   DevViewPass pass;
//   if (pass.Begin(orbit)) { pass.DrawMarker(*sphere, at, 1.0f, colour); pass.End(); }
//   pass.OutlineBox(ui, min, max, colour);                       // 2D, over the picture
//
// The tools' marker sphere is kMarkerRadius units across its radius at scale
// 1; a marker that would hold the camera is left out, so the view is never
// filled from inside one.

#include "game/ui/IntRect.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <memory>
#include <string>

class GenericBox;
class RenderManager;
class QEL3DObject;
class QelKeyboard;
class Qel2dBitmap;
class UIContext;

struct DevOrbitView {
    static constexpr float kMinDistance = 50.0f;
    static constexpr float kMaxDistance = 10000.0f;

    float distance = 300.0f;   // from the origin, kMinDistance..kMaxDistance
    float yawValue = 0.0f;     // A: the camera turns A × -0.2 rad about y
    float pitchValue = 0.0f;   // B: and B × 3 rad about x; -1..1 from the keys
    bool dragging = false;
    float dragStartYaw = 0.0f;
    float dragStartPitch = 0.0f;
    int32_t dragStartX = 0;
    int32_t dragStartY = 0;

    // A tick's held keys: A and D turn, S and W tilt, Insert or Q comes
    // closer, Delete or E goes away.
    void ApplyHeldKeys(QelKeyboard& keyboard);
    // A wheel turn w: distance × (1 - w / 1000), held in range.
    void Zoom(int32_t wheel);
    // The left button held over no control turns and tilts the view.
    void Drag(UIContext& ui);
    // The camera's world position: the turned point (0, 0, -distance).
    glm::vec3 EyePosition() const;
};

// The 3D part of a tool scene's frame.
class DevViewPass {
public:
    // Vertical field of view (60 degrees) and the depth range of the tools' views.
    static constexpr float kFieldOfView = 1.0471976f;
    static constexpr float kNearPlane = 1.0f;
    static constexpr float kFarPlane = 10000.0f;
    // The picture lies over the backdrop and under every control.
    static constexpr int kPictureLayer = 996;
    static constexpr int kOverlayLayer = 997;
    // The radius of the marker sphere's mesh.
    static constexpr float kMarkerRadius = 3.0f;

    // Makes the window-sized target current and cleared, and the view and
    // projection of the orbit camera. False without a graphics service.
    bool Begin(const DevOrbitView& orbit);
    // Puts the window back and draws the picture over it.
    void End();

    // The sphere lit by "Phong" in the colour at the point, scaled; nothing
    // when the camera would be inside it.
    void DrawMarker(const QEL3DObject& sphere, const glm::vec3& at, float scale, const glm::vec4& colour) const;
    // A box's twelve edges projected onto the window, at the overlay layer.
    void OutlineBox(UIContext& ui, const glm::vec3& min, const glm::vec3& max, const glm::vec4& colour) const;
    // A solid box in the picture, its light (the colour weighted by its
    // alpha) added to what lies behind it, so many boxes together glow where
    // they crowd; it hides nothing.
    void GlowBox(GenericBox& box, const glm::vec3& min, const glm::vec3& max, const glm::vec4& colour) const;
    // The lit-ship shader (or the creatures' wiggle one) lit for this camera
    // by the render manager, its spot lights all off; nothing without one.
    void LightShips(RenderManager* renderer, const char* shaderName = "Redwood") const;
    // A world point in window pixels; false when it lies behind the camera.
    bool ToWindow(const glm::vec3& world, glm::vec2& pixel) const;

    const glm::mat4& View() const { return view; }
    const glm::mat4& Projection() const { return projection; }  // for column vectors
    const glm::vec3& Eye() const { return eye; }
    int32_t Width() const { return width; }
    int32_t Height() const { return height; }

private:
    Qel2dBitmap* target = nullptr;
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::vec3 eye{0.0f};
    int32_t width = 0;
    int32_t height = 0;
};

// The lit-ship shader (or the creatures' wiggle one) lit for a camera at the
// world position looking at the origin by the render manager, its spot
// lights all off; nothing without one.
void LightShipsFrom(RenderManager* renderer, const glm::vec3& eye, const char* shaderName = "Redwood");

// The mouse wheel's turn since it was last taken, which resets it; 0
// without a mouse.
int32_t TakeMouseWheel();

// The marker sphere of the tool scenes: the mesh "sphere" with "Phong", its
// first unit's textures all "smallWhite" so the colour alone shows. Null
// without graphics or the mesh.
std::unique_ptr<QEL3DObject> LoadDevMarkerSphere();
