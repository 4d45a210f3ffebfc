#pragma once
// The 3D view of space: the view out of the crew's ship on the main screen
// ("3dview") and the manual beam view ("3dview_camera"). Each frame it places
// its camera behind, beside or inside the ship (or where a cinematic
// script wants it), draws the sky box and every object near the ship with the
// shader its kind calls for into the off-screen main target, and copies that
// into the widget's rectangle, cut to the rectangle's shape about its centre.
//
// The render manager holds the one Render3D. It draws the planets, nebula
// volumes and object bodies itself; the effects that other parts of the
// renderer draw (beams, particles, ribbons, rings) come in through
// Render3DEffects.
//
// Main thread only.

#include "game/render/Camera.h"
#include "game/render/RedwoodPointLight.h"
#include "game/render/RibbonTrail.h"
#include "game/render/VecFrustum.h"
#include "game/ui/IntRect.h"
#include "game/ui/UILabelLayout.h"
#include "game/world/ParticleEmitters.h"
#include "game/world/ParticleView.h"
#include "game/world/ShipDataRecord.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class GenericRect;
class Particle3DInstancedManager;
class Particle3DSSManager;
class ProcRing3DManager;
class QEL3DObject;
class Ribbon3DManager;
class Ring3D;
class ObjectTypeDrawData;
class Qel2dBitmap;
class QelBitmapFont;
class QelGasGiant;
class QelVolumeManager;
class Render3D;
class RenderManager;
class Simulation;
struct ObjectEffectState;
struct ShipDataRecord;
class SpaceObject;

// The effect renderers the 3D view draws through, in the order of a frame.
class Render3DEffects {
public:
    virtual ~Render3DEffects() = default;
    // Beam and lightning events of the world, before the objects.
    virtual void DrawEffectEvents(Render3D& view) = 0;
    // A monster: its particles and name tag (the view draws its bodies).
    virtual void DrawMonster(Render3D& view, const SpaceObject& monster) = 0;
    // Particles, ribbons and rings, after every object.
    virtual void DrawParticles(const glm::mat4& view) = 0;
    // Everything of the last simulation goes.
    virtual void Clear() = 0;
};

class Render3D : public ParticleView {
public:
    static constexpr float kFieldOfView = 1.0471976f;  // π/3
    static constexpr float kQuarterTurn = 1.57079633f;  // π/2
    static constexpr float kNearPlane = 1.0f;
    static constexpr float kFarPlane = 100000.0f;
    static constexpr float kFrustumFar = 10000.0f;  // culling reaches less far than the projection
    static constexpr const char* kMainTargetName = "RenderManager::Setup::renderTarget1";
    static constexpr const char* kNebulaTargetName = "RenderManager::Setup::renderTarget2";
    static constexpr const char* kSoftNebulaTargetName = "Render3D::softNebulaTarget";
    static constexpr int32_t kDefaultBeamDrawDistance = 4000;
    static constexpr int kCompositeLayer = 1000;
    // How far past its box a nebula's softened picture reaches, in nebula
    // target texels: a texel of softening and one of enlarging filter.
    static constexpr float kVolumeReach = 2.0f;
    // The navigation ring's art lies between 0.74 and 0.97 of its radius;
    // only a band with room for the art's mipmapped fringe is drawn, its
    // circles as polygons of this many sides.
    static constexpr float kNavRingInner = 0.7f;
    static constexpr float kNavRingOuter = 1.0f;
    static constexpr int kNavRingSides = 64;
    // Copies the picture with the nebulae over it in one pass.
    static constexpr const char* kSceneVolumeShader = "SceneVolumeComposite";
    static constexpr int32_t kNebulaOctaves = 2;  // noise octaves of every nebula volume

    explicit Render3D(RenderManager& owner);
    ~Render3D() override;
    Render3D(const Render3D&) = delete;
    Render3D& operator=(const Render3D&) = delete;

    // Once the graphics service exists: the targets, the meshes, the camera.
    void Setup();
    // Lets go of the meshes and the effects.
    void ReleaseMeshes();
    // Empties every effect and every record kept by object id for a new
    // simulation; meshes stay.
    void ClearEffects();

    // The view into the rectangle (window pixels); full adds the nebula
    // volumes and the heading overlay.
    void Draw(const IntRect& rect, bool full);
    // Sets the projection and places the camera for the ship (none:
    // the projection only).
    void UpdateCamera(SpaceObject* ship);

    // Where a ship's mesh is drawn: at its place and turn, turned and scaled
    // as its type's record and its own scale coefficients say.
    static glm::mat4 ShipMatrix(const SpaceObject& object);
    // The world direction the camera looks along.
    glm::vec3 ViewDirection() const;
    // The part of a source of that size shown in the rectangle: the largest
    // one of the rectangle's shape about the source's centre.
    static IntRect CropToRect(int32_t width, int32_t height, const IntRect& rect);

    // Gas giants, nebula volumes, object bodies, the hyper-warp screen and
    // the cinematic choice (Render3DBodies.cpp, Render3DHyperWarp.cpp,
    // Render3DCinematic.cpp).
    //
    // The planet's record refreshed from its values, queued for this frame.
    void AddPlanet(const SpaceObject& planet);
    // The nebula's record (seeded from its id until it has a seed of its
    // own, then refreshed from its values), queued for this frame.
    void AddNebulaVolume(const SpaceObject& nebula);
    // The planets queued this frame, into the current target.
    void DrawPlanets(const glm::mat4& view);
    // The volumes queued this frame, over the main target into the current
    // one when draw is set; the queue is emptied either way.
    void DrawVolumes(const glm::mat4& view, bool draw);
    // The monster's two spinning bodies, as its values describe them.
    void DrawMonsterBodies(SpaceObject& monster);
    // One layered body: the mesh (file name under the graphics folder) five
    // times about the object, turning with the world's clock, in the bitmap
    // (white when it does not load) tinted by the colour text.
    void DrawObjectBody(SpaceObject& object, const std::string& meshFile, const std::string& bitmap,
                        const std::string& colour, float sizeCoeff, int32_t phase);
    // The hyper-warp screen: shown for a ship key while on; a second "on"
    // keeps the ship shown.
    void ShowHyperWarp(const std::string& shipKey);
    void HideHyperWarp();
    // Takes the outline of the ship of hyper_warp_key for the hull sparks.
    void SetHyperWarpShip();
    // One frame of the hyper-warp screen over the whole window.
    void DrawHyperWarp();
    // Picks what the automatic cinematic camera looks at and rides on.
    void UpdateCinematicTarget();

    Qel2dBitmap* main_target = nullptr;    // held by the graphics service
    Qel2dBitmap* nebula_target = nullptr;  // the main target's size divided by the nebula divisor
    Qel2dBitmap* soft_nebula_target = nullptr;  // the nebula target softened, at its size
    IntRect volume_bounds;  // what the nebulae of this frame can cover, in main target pixels
    std::unique_ptr<QEL3DObject> drone_mesh;
    std::unique_ptr<QEL3DObject> haloball_mesh;
    std::unique_ptr<QEL3DObject> bball_mesh;
    std::map<std::string, std::unique_ptr<QEL3DObject>> body_meshes;  // by file name; entries stay
    std::array<RedwoodPointLight, RedwoodPointLight::kSlots> spot_lights{};
    Camera camera;  // placed for the ship each frame; what the effects measure from
    VecFrustum view_frustum;
    int32_t beam_draw_distance = kDefaultBeamDrawDistance;

    // The cinematic camera: driven by the script, or by the choice of an
    // interesting object.
    int32_t scriptControlsCamera = 0;
    uint64_t dollyID = 0;  // the object the camera rides on; 0 = none
    glm::vec3 dollyPos{0.0f};
    uint64_t targetID = 0;  // the object looked at; 0 = none
    glm::vec3 targetPos{0.0f};
    int64_t cinematic_chosen_tick = -1;

    // Gas giants, nebula volumes, object bodies, the hyper-warp screen and
    // the cinematic choice.
    std::unique_ptr<QelVolumeManager> volumes;
    std::unique_ptr<QelGasGiant> gas_giant;
    std::set<std::string> failed_body_meshes;  // not loaded again until the next simulation
    uint64_t cinematic_request = 0;  // the object the automatic choice features; 0 = the own ship
    std::string hyper_warp_key;      // ship key shown on the hyper-warp screen
    std::vector<glm::vec3> hyper_warp_points;  // the ship's vertices, largest z first
    uint64_t hyper_warp_last_tick = 0;         // effect_tick at the last hyper-warp frame
    glm::vec3 spot_pos{0.0f};                  // the light sweeping past the warping ship
    glm::vec4 spot_color{0.0f};

    Render3DEffects* effects = nullptr;  // none: the view draws without them

    // --- Particles, ribbons and rings (Render3DEffects*.cpp).
    // Empties the particle rings, ribbons, rings, trails, emitters and
    // exhaust records; the managers stay.
    void ClearParticleEffects();
    // Once per simulation tick: particles age, the world's objects make
    // their flares, trails, exhaust and docking beams, emitters fire.
    void UpdateEffects();
    // One particle burst of the descriptor at the position (moved by the
    // burst's offsets), turned by the orientation; the object, when given,
    // lends its hull to the "hull" shape. Nothing before set-up.
    void AddParticleEvent(const glm::vec3& position, const glm::quat& orientation, const std::string& descriptor,
                          const SpaceObject* object) override;
    ParticleEmitters& Emitters() override { return emitters; }
    // Every emitter whose object exists fires its burst (see ParticleEmitters).
    void UpdateParticleEmitters();
    // A random vertex of the first draw unit of the object's ship mesh, in
    // the mesh's own frame (ShipMatrix places it); the origin while the type
    // has no mesh or its mesh no vertices.
    glm::vec3 RandomHullPoint(const SpaceObject& object);
    std::unique_ptr<Particle3DInstancedManager> dust_particles;  // space dust, "aster2"
    std::unique_ptr<Particle3DSSManager> hot_particles;          // "grid-particles-ss", additive
    std::unique_ptr<Particle3DSSManager> smoke_particles;        // "smoke-particles2-ss", fading alpha
    ParticleEmitters emitters;
    std::map<uint64_t, std::array<glm::vec3, kShipExhaustPortSlots>> exhaust_history;  // last port positions by ship
    std::map<uint64_t, std::unique_ptr<RibbonTrail>> ribbon_trails;  // by object id
    std::unique_ptr<Ribbon3DManager> ribbons;      // "beamSet"
    std::unique_ptr<ProcRing3DManager> proc_rings;  // "smallWhite"
    std::unique_ptr<GenericRect> nav_ring_band;
    Qel2dBitmap* ring_bitmap = nullptr;  // "no-number-ring", held by the graphics service
    std::unique_ptr<Ring3D> ring;
    glm::vec3 prev_camera_pos{0.0f};  // the camera at the last tick, which the dust leads by
    uint64_t effect_tick = 0;         // UpdateEffects calls
    bool hyper_warp_on = false;       // the hyper-warp screen shows: only the particles move

    // --- Lock reticles and name tags (Render3DReticles.cpp).
    // A reticle of the reticle sheet over the picture with a label under it,
    // or, for a point behind the camera or off the view axis, a pointer on a
    // circle about the picture's centre turned toward the point.
    struct LockReticle {
        glm::vec2 position{0.0f};  // main target pixels
        std::string colourName;    // empty: colour below
        std::string label;
        int32_t kind = 0;    // cell of the reticle sheet
        float angle = 0.0f;  // radians
        float size = 0.0f;   // pixels from the centre to a corner
        glm::vec4 colour{1.0f};
    };
    static constexpr int32_t kWeaponLockReticle = 6;
    static constexpr int32_t kScienceLockReticle = 3;  // and waypoints
    static constexpr int32_t kCommsLockReticle = 5;
    static constexpr int32_t kNameTagReticle = 10;
    static constexpr int32_t kEdgePointerReticle = 16;
    // Queues the reticle of the world point; drawn and emptied by Draw.
    void DrawLockReticle(int32_t kind, const std::string& colourName, const glm::vec4& colour,
                         const glm::vec3& position, const std::string& label);
    std::vector<LockReticle> reticle_queue;
    LabelLayout labels;  // the reticles' labels of the frame, kept clear of each other

    // --- Beam and lightning effects, the monster's aura (Render3DBeams.cpp).
    // One frame of every beam and lightning event of the world.
    void DrawEffectEvents();
    // One frame of a beam (lightning) from the source's beam port of the
    // index to the target; age runs in 30-tick units from the event's start,
    // first is true on its first drawn frame, when the hit points are chosen.
    void DrawBeamEffect(uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first);
    void DrawLightningEffect(uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first);
    // Three short-lived particles of the three colour texts at the object,
    // renewed every frame it is drawn.
    void EmitObjectParticles(const SpaceObject& object, const std::string& colour1, const std::string& colour2,
                             const std::string& colour3);

    // --- Heading and height overlay (HeadingOverlay.cpp).
    // The ship's compass heading with its scale at the top of the picture and
    // its height with its ladder at the right, laid out on the main target's
    // pixels and drawn over the rectangle the picture was copied into.
    void DrawHeadingOverlay(const SpaceObject& ship, const IntRect& rect);

private:
    // Beams and lightning (Render3DBeams.cpp).
    enum class Bolt { Beam, Lightning };
    struct BoltPath;
    void DrawBolt(Bolt kind, uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first);
    bool BoltInReach(const SpaceObject& source) const;
    BoltPath AimBolt(Bolt kind, const SpaceObject& source, const SpaceObject& target, int32_t beamIndex, float age,
                     bool first);
    glm::vec3 StrikeTarget(Bolt kind, const SpaceObject& source, const SpaceObject& target, BoltPath& path);
    void StartShieldRipple(ObjectEffectState& target, const glm::vec3& where, float strength);
    void QueueBoltRibbon(Bolt kind, const BoltPath& path, const glm::vec3& impact);
    void ThrowSparks(Bolt kind, const glm::vec3& impact);
    glm::mat4 EffectMatrix(const SpaceObject& object);
    // The beam and lightning events drawn before, by start tick, ends, port
    // and kind: their first frame chose where they hit.
    using BoltEventKey = std::tuple<int64_t, uint64_t, uint64_t, int32_t, std::string>;
    std::set<BoltEventKey> boltsBegun;
    // Lock reticles and name tags (Render3DReticles.cpp).
    void QueueOwnShipReticles(const SpaceObject& ship);
    void QueueNameTag(const SpaceObject& object, const SpaceObject& viewer);
    // The labels in a face fitted to the view the rectangle shows, kept
    // inside it.
    void DrawReticleQueue(const IntRect& rect);
    QelBitmapFont* LabelFaceFor(const IntRect& rect, const IntRect& crop) const;

    struct DistanceLimits;
    void PlaceChaseCamera(const SpaceObject& ship);
    void PlaceCinematicCamera();
    void PollServerHotKey(const SpaceObject& ship);
    void DrawObjects(SpaceObject* ship, const glm::mat4& view);
    bool Culled(const SpaceObject& object, const SpaceObject* ship, const DistanceLimits& limits) const;
    void DrawShip(SpaceObject& object, SpaceObject* ship, const glm::mat4& view);
    void DrawDrone(SpaceObject& object, const glm::mat4& view);
    void DrawBlackHole(SpaceObject& object, const glm::mat4& view);
    void ApplyLights(uint64_t objectId);
    void DrawShieldRipples(const glm::mat4& view);
    void MoveHyperWarpSpot();
    glm::mat4 PlaceHyperWarpCamera();
    void LightHyperWarpShip();
    void EmitHyperWarpParticles(const ShipDataRecord& record, const glm::mat4& ship);
    void SoftenVolumes();
    void CompositeScene(const IntRect& rect, bool volumesShown, bool opaque);
    // The source cut to the rectangle's shape as Composite cuts it, copied
    // by the graphics as it is; false when they cannot.
    bool CopyToRect(Qel2dBitmap& source, const IntRect& rect);
    void OverlayVolumes(const IntRect& rect);
    void Composite(Qel2dBitmap& source, const IntRect& rect, const char* shader);

    // Particles, ribbons and rings.
    void SetupEffects();
    void ReleaseEffects();
    void UpdateObjectEffects(const Simulation& world, const glm::vec3& viewer);
    void AddFlares(const glm::vec3& position, const glm::vec3& velocity, const glm::vec4& colour);
    RibbonTrail& TrailOf(uint64_t objectId);
    void AddTrailPoint(const SpaceObject& object, const glm::vec4& colour);
    void UpdateDockingBeam(const Simulation& world, const SpaceObject& ship);
    void AddExhaust(const SpaceObject& ship);
    void AgeTrails(const Simulation* world, const glm::vec3& viewer);
    void DrawGasRings(const SpaceObject& blackHole, const glm::mat4& view);
    void DrawNavRing(const SpaceObject* ship, const glm::mat4& view);

    RenderManager& owner;
    // The shielded ships drawn this frame, for their ripples.
    std::vector<std::pair<uint64_t, ObjectTypeDrawData*>> shieldedShips;
};
