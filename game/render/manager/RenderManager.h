#pragma once
// The host of the program's screens, owned by the game loop. It holds the
// running scene and drives it three ways each frame, as the game loop calls,
// handing the scene itself:
//
//   FrameUpdate  once per frame, before the simulation ticks: the scene's
//                input step, the overlay keys, the window size report;
//   SimTick      once per 33 ms tick, right after the world's tick: the
//                scene's tick step, speech bubble expiry, the world's sounds;
//   Draw         once per frame, after the ticks: the scene's drawing, then
//                the overlays.
//
// A scene that answers another scene from any of these steps is left and the
// new one entered within that same step (see StepScene). Around the scenes it
// keeps what every screen shares: the console colours, the view side's random
// generator, speech bubbles, the jump dissolve, the settings of the 2D radar
// and of the 3D view read back from the machine settings, and the console log
// overlay (F7), whose lines are the console log's.
//
// The console it draws for knows it while it lives (SharedConsoleState::
// renderer): the console's widgets and its screen reach it there.
//
// Main thread only.

#include "game/render/Camera.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/PortraitGen.h"
#include "game/render/SkyBoxManager.h"
#include "game/net/GameNetwork.h"
#include "game/net/ShipAssetService.h"
#include "game/render/manager/AssetTransfer.h"
#include "game/render/manager/BodyParameters.h"
#include "game/render/manager/CounterOverlays.h"
#include "game/render/manager/ObjectEffectState.h"
#include "game/render/manager/Render2D.h"
#include "game/render/manager/Render3D.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/Edline.h"
#include "game/ui/IntRect.h"
#include "game/ui/InterfacePictures.h"
#include "game/render/manager/SceneFunction.h"
#include "game/ui/SceneHost.h"
#include "game/ui/SceneState.h"

#include <glm/vec3.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Qel2dBitmap;
class QelNetworkMessage;
class QelSound;
class SpaceObject;
struct SoundEvent;

// A text over an object on the 2D radar.
struct SpeechBubble {
    uint64_t objectId = 0;    // a space object
    uint64_t expiryTick = 0;  // render manager tick it goes at; 0 = never
    std::string colour;       // colour text
    std::string text;
};

// The helm's jump entry and the jump's screen effect.
struct JumpEffectState {
    // Digits only: a direction in degrees, a distance in thousands.
    static constexpr int32_t kDirectionEditId = 2599;
    static constexpr int32_t kDirectionEditChars = 10;
    static constexpr int32_t kDistanceEditId = 2598;
    static constexpr int32_t kDistanceEditChars = 20;
    // The dissolve of the jump runs while mode is this.
    static constexpr int32_t kDissolveMode = 4;

    float direction = 0.0f;
    float distanceSlider = 0.0f;
    float distance = 0.0f;
    int32_t mode = -1;  // -1 while the render manager is built, then 0; kDissolveMode while dissolving
    std::unique_ptr<Edline> directionEdit;
    std::unique_ptr<Edline> distanceEdit;
    int32_t countdown = 0;
    uint32_t requestHeardAt = 0;  // input clock (ms) the request was sent or its countdown last heard
    uint64_t startTick = 0;      // world tick the dissolve began
    uint64_t durationTicks = 0;  // ticks it lasts
    std::vector<IntRect> cells;  // black cells still covering the screen, pixels
};

// The console colour table: the preferences "gui-color-..." in this order.
enum GuiColor : int {
    kGuiColorMain,
    kGuiColorYourShip,
    kGuiColorPlayerShip,
    kGuiColorAllyShip,
    kGuiColorUnscannedObject,
    kGuiColorSurrenderedShip,
    kGuiColorHostileShip,
    kGuiColorAllyStation,
    kGuiColorHostileStation,
    kGuiColorTorpedo,
    kGuiColorDrone,
    kGuiColorMine,
    kGuiColorBuoy,
    kGuiColorAsteroid,
    kGuiColorMonster,
    kGuiColorBlackHole,
    kGuiColorPlanet,
    kGuiColorNebula,
    kGuiColorPickup,
    kGuiColorCount
};

class CounterPanelOverlay;

class RenderManager : public SceneHost,
                      public InterfacePictures,
                      public ShipAssetSource,
                      public ShipAssetTransfers {
public:
    // Layer of the overlays above every screen: log, no-ship mark.
    static constexpr int kOverlayLayer = 3000;
    // Targets made at set-up: the 2D radar's, at the main buffer's size, and
    // a spare square one.
    static constexpr const char* kRadarTargetName = "RenderManager::Setup::render2DRadar";
    static constexpr const char* kBallTargetName = "RenderManager::Setup::ballRenderTarget";
    static constexpr int kBallTargetSize = 512;
    // Speech bubbles count their seconds in 30 ticks.
    static constexpr uint64_t kBubbleTicksPerSecond = 30;
    // The radar's drag threshold when none is stored, in pixels.
    static constexpr float kDefaultDragThreshold = 15.0f;
    static constexpr int32_t kMaxDragThreshold = 100;
    static constexpr int32_t kMaxArcMode = 2;

    // Reads the main buffer sizes from the preferences; the first scene is
    // entered by Setup. The manager draws for the console given, which its
    // owner keeps alive as long as the manager; without one (a screen with no
    // console, as in the scene tests) it draws for a console of its own. It
    // owns the scenes' state and hands it to every scene call; given none, it
    // keeps an empty one.
    explicit RenderManager(SceneFunction firstScene, SharedConsoleState* console = nullptr,
                           std::unique_ptr<SceneState> scenes = nullptr);
    // Leaves the current scene.
    ~RenderManager() override;
    RenderManager(const RenderManager&) = delete;
    RenderManager& operator=(const RenderManager&) = delete;

    // Everything at once: settings, the first scene, fonts, portraits, the
    // sky, the 2D and 3D views.
    void Setup() override;
    // The first screen first (RenderManagerLoading.cpp): settings and the
    // first scene; what the first screen does not need (the fonts it does
    // not ask for, the portraits' sheets, the sky, the views' targets,
    // shaders and meshes) then loads a step a frame once a frame is drawn,
    // and whatever is left all at once before another scene is entered.
    void SetupFirstScreen() override;
    // One step of the loading left; false when nothing is left.
    bool ContinueLoading();
    void FinishLoading();
    bool Loading() const { return nextLoad != LoadStep::Done; }
    void FrameUpdate() override;
    void SimTick() override;
    void Draw() override;

    // The process's client and server, which the game loop owns and keeps
    // alive as long as the manager, become its console's: the client takes
    // this manager's asset transfers and the scenes reach both through it. Until it is given them
    // the manager runs as a screen without a network (a scene test).
    void ConnectNetwork(const GameNetwork& ends);
    CorvaneClient* Client() const { return console.network.client; }
    CorvaneServer* Server() const { return console.network.server; }

    // Calls the current scene with the step's code; when it answers another
    // scene, the current one is left and the other entered, in that order.
    void StepScene(SceneEvent event);
    SceneFunction CurrentScene() const { return currentScene; }

    // --- Screen features.
    // The sky box the 3D view and the menu scenes draw behind everything,
    // made at set-up; null before.
    SkyBoxManager* SkyBox() const { return skyBox.get(); }
    // Puts another sky box in place (a test's, or none) and hands back the
    // one held.
    std::unique_ptr<SkyBoxManager> ReplaceSkyBox(std::unique_ptr<SkyBoxManager> sky)
    {
        skyBox.swap(sky);
        return sky;
    }
    // The star background of the menu scenes, turning slowly. A sky that
    // arrives after screens were drawn without it (still loading) fades in.
    void DrawSkyBackground();
    // The ship type's model turning slowly inside the rectangle (window
    // pixels), rendered through the target bitmap and cut to the
    // rectangle's shape. The retained GUI's "3dship" widgets show it.
    void DrawShipInBox(Qel2dBitmap* target, const std::string& shipKey, const IntRect& rect) override;
    // A character's portrait (see PortraitGen).
    void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint,
                  int layer) override;
    // Object 0 removes every bubble; an empty text removes the object's
    // bubble; otherwise the object's bubble is set (or added) for the seconds
    // (0: until replaced). The object must be a space object.
    void SetSpeechBubble(uint64_t objectId, int32_t seconds, const std::string& colour, const std::string& text);
    // While the jump dissolves, the cells still black, fewer each frame.
    void DrawDissolve();
    // Tells the mission where a widget's box lies (percent of the window):
    // on the server at once as "widget_box_state", from a console by
    // "signal" 95.
    void SendWidgetBoxState(const std::string& widgetName, const std::string& screenName, int32_t layoutIndex,
                            int32_t left, int32_t top, int32_t right, int32_t bottom);
    // An icon of the icon sheet filling the rectangle's square middle.
    void DrawWithRect(int cell, const IntRect& rect, const glm::vec4& colour, int layer);
    // The two jump entry fields go.
    void ReleaseEditLines();
    // The 2D radar's scale (not held to any range); the radar centres again
    // and follows the ship.
    void SetRadarZoom(float scale);

    // The counter panel's rectangle in the window (width by height, pixels)
    // for its overlay mode 1 to 3: a strip 600 wide across the middle, near
    // the top, halfway down, or at the bottom.
    static IntRect PanelOverlayRect(int32_t mode, int32_t width, int32_t height);

    // The colour console widgets fill their panels with: the interface's dim
    // main colour, its alpha times panelOpacity (held to 0..1).
    glm::vec4 PanelColour() const;

    // --- Ship types and their lighting.
    // The draw data of the ship key (as given; callers pass lower case), made
    // on first use and kept while the render manager lives; never null.
    ObjectTypeDrawData* GetObjectTypeDrawData(const std::string& shipKey);
    // The lighting of the lit ship shader "Redwood" for a camera at the
    // position, looking along the direction: one white light along +x and a
    // grey ambient. The creatures' "RedwoodWiggle" takes the same lighting.
    void SetRedwoodConstants(const glm::vec3& cameraPos, const glm::vec3& cameraDir,
                             const char* shaderName = "Redwood");

    // --- Ship meshes fetched from the server (RenderManagerAssetTransfer.cpp).
    // Server: the outline and the chunks of this process's draw data.
    bool DescribeDrawData(const std::string& shipKey, DrawDataOutlineSignal& outline) override;
    bool ReadAssetItems(const AssetDataRequestSignal& request, AssetDataSignal& answer) override;
    // Console: the outline remakes the type's draw data empty, with its lists
    // at their announced sizes, and queues one transfer per list.
    void ApplyDrawDataOutline(const DrawDataOutlineSignal& outline) override;
    bool ApplyAssetData(QelNetworkMessage& message) override { return ProcessAssetDataMessage(message); }
    // The next request of the transfer: a chunk of 10 vertices, 50 indices or
    // 150 pixels; the last one (short, or of no items after a whole chunk)
    // marks it all requested.
    void RequestAssetData(AssetTransfer& transfer);
    // Applies one chunk (read from just after the code). A transfer is done
    // when its last item arrives: it leaves the list; a unit's index list
    // done rebuilds the type's silhouettes and shell, and the type's last
    // transfer done stores the mesh in the data folder, when no mesh of that
    // name is there. False when the chunk breaks its form or reaches past its
    // list; nothing of it is applied then.
    bool ProcessAssetDataMessage(QelNetworkMessage& message);

    // --- Planets and nebulae.
    // The object's record, read again from its data set when its change
    // stamp has moved (see BodyParameters.h).
    PlanetParams& UpdatePlanetParameters(const SpaceObject& planet);
    NebulaVolumeParams& UpdateNebulaParameters(const SpaceObject& nebula);

    // --- Selection and object colours (RenderManagerSelection.cpp).
    // Remembers the object (0 for none; anything but a space object counts
    // as none) and tells the server: signal 13 with this console's name, the
    // widget being drawn, the selection key (a target key of the ship), the
    // tag of the control that selected and the point picked.
    void SelectObject(uint64_t id, const glm::vec3& position, const std::string& selectionKey,
                      const std::string& sourceTag);
    // Cell of the reticle sheet (5 by 4) turned by the angle (radians), its
    // corners radius pixels from the centre.
    void DrawReticle(const glm::vec2& centre, int32_t cell, const glm::vec4& colour, float angle, float radius);
    void DrawReticleNamedColor(const glm::vec2& centre, int32_t cell, const std::string& colour, float angle,
                               float radius);
    // The colour a console whose ship is the viewer shows the object in.
    glm::vec4 GetObjectColor(const SpaceObject& object, const SpaceObject& viewer);
    // Where this console's signals go: none sends them to the server; tests
    // record them.
    std::function<void(QelNetworkMessage&)> signalSink;

    // --- Sounds.
    // The looping hum of a jump: count > 0 seconds left starts it (quiet and
    // low) and sets the pitch it rises to, higher as the count falls; 0 or
    // less stops it. Each tick it moves nearer to its volume and pitch. Null
    // without a working sound service.
    QelSound* PlayJumpSound(int32_t count);

    // --- Shared with the scenes, widgets and message handlers.
    int32_t mainBuffWidth = 1920;  // the main 3D target, "main-buff-width"
    int32_t mainBuffHeight = 1080;
    int32_t nebulaBuffSizeDiv = 4;  // the nebula target is the main one divided by this
    int32_t lastWindowWidth = 0;    // window size last reported to the mission
    int32_t lastWindowHeight = 0;
    std::string cam_angle = "forward";  // main-screen camera angle
    std::string cam_mode = "chase";     // main-screen camera mode
    std::string main_screen_view = "3d_view";
private:
    SharedConsoleState ownConsole;  // the console of a manager given none

public:
    // The console this screen draws for: its name, its widgets, the scan
    // kind and the mouse hold its widgets share with the radar.
    SharedConsoleState& console;
    // The interface context this screen frames and its scenes draw through:
    // its console's.
    UIContext& UI() { return console.UI(); }
    int32_t random_seed = 1;  // the view side's generator (RandomFloat, RandomInt)
    std::vector<SpeechBubble> speechBubbles;  // in the order they were set
    JumpEffectState jumpEffect;
    // The 2D radar's scale, screen pixels per world unit, as the zoom buttons
    // and the main-screen views set it (SetRadarZoom). A new world starts at
    // the zoom buttons' second level: a radar some 260 pixels across then
    // shows about 4,300 units each way, the station and ships a crew works
    // with near the ship (a tenth of a pixel per unit showed some 1,300, an
    // empty plot around the ship).
    static constexpr float kDefaultRadarScale = 0.03f;
    float radarScale = kDefaultRadarScale;
    bool sideColorMode = false;  // the 2D radar colours ships by their side
    int32_t radarCenterX = 0;  // centre of the 2D radar, main buffer pixels
    int32_t radarCenterY = 0;
    bool radarRecenter = true;  // a ship was assigned: the radar centres on it
    uint64_t tickCounter = 0;   // SimTick calls; never reset
    int32_t logOverlayMode = 0;       // F7: 0 off, 1 opaque, 2 translucent
    int32_t panelOverlayMode = 0;     // F8: 0 off, 1 to 3 placements of the counter panel
    int32_t netStatsOverlayMode = 0;  // F9: 0 off, 1 network statistics (the consoles hide their widgets)
    float logScroll = 0.0f;           // newest log rows scrolled out of the overlay
    int32_t logScrollRange = 0;       // rows that did not fit the overlay at the last draw
    float panelOpacity = 1.0f;        // alpha factor of console panels
    bool transparentOptionsButton = false;
    // What draws the F8 and F9 overlays; none: their modes cycle and
    // nothing shows.
    CounterOverlays* counterOverlays = nullptr;
    // The overlays' drawing of this program, which counterOverlays names
    // unless a test replaces it (CounterPanelOverlay.cpp).
    std::unique_ptr<CounterPanelOverlay> counterPanel;
    uint32_t shipBoxLastMs = 0;  // clock of the ship-in-a-box turn
    float shipBoxAngle = 0.0f;   // its turn so far, radians
    std::map<std::string, std::unique_ptr<ObjectTypeDrawData>> drawDataMap;  // by ship key
    std::vector<AssetTransfer> assetTransfers;  // in the order their requests go out
    uint32_t nextTransferId = 1;
    PortraitGen portraitGen;
    Qel2dBitmap* ballTarget = nullptr;
    std::map<uint64_t, std::unique_ptr<Edline>> clientNameFields;  // per console, the server's list
    bool clientNamesChanged = false;  // refill the name fields from the client records
    QelSound* engineBaseSound = nullptr;  // the engines' loops while a main-screen ship exists
    QelSound* engineToneSound = nullptr;
    QelSound* jumpSound = nullptr;  // kept once fetched
    float jumpSoundFrequency = 0.0f;        // its frequency ratio now
    float jumpSoundTargetFrequency = 0.0f;  // and the one it moves to
    float jumpSoundVolume = 0.0f;
    std::array<glm::vec4, kGuiColorCount> guiColors{};
    std::array<bool, kGuiColorCount> guiColorSet{};  // the preference is not empty
    uint64_t selectedID = 0;    // the object last selected on this computer; 0 = none
    Render2D render2D{*this};   // the 2D radar of every radar widget
    Render3D render3D{*this};  // the 3D view of space
    std::map<uint64_t, PlanetParams> planetParams;        // by object id
    std::map<uint64_t, NebulaVolumeParams> nebulaParams;  // by object id
    std::map<uint64_t, ObjectEffectState> objectEffectRecords;  // by object id; emptied for a new simulation

    // What the 2D radar and the 3D view take from the machine settings.
    Qel2dBitmap* radarTarget = nullptr;  // mainBuffWidth × mainBuffHeight
    bool radarSetUp = false;
    bool radarRelativePositions = false;
    int32_t radarArcMode = 0;  // 0 all arcs, 1 players', 2 none
    float radarDragThreshold = kDefaultDragThreshold;
    float navRingBrightness = 1.0f;  // 0..1
    bool showNavRing = false;

private:
    void ReadViewSettings();
    void ReadGuiColors();
    void CycleOverlays();
    void ReportWindowSize();
    void ExpireSpeechBubbles();
    void UpdateEngineSound();
    void HandleSoundEvents();
    void PlayWorldSound(const SoundEvent& event, float distance);
    void ForwardSoundEvent(const SoundEvent& event);
    void RampJumpSound();
    void DrawLogOverlay();
    void DrawCounterOverlays();
    void RefreshClientNames();
    // The console's client hands this render manager the server's mesh
    // outlines and chunks. A client that dropped them while this manager
    // lives is given them again at the next frame; one that holds another
    // render manager's keeps them.
    void OfferAssetTransfers();
    // One chunk request a frame, for the first transfer not all requested,
    // while connected (a request sent into no connection would be lost).
    void RequestNextAssetChunk();
    bool IndicesInsideUnit(const AssetTransfer& transfer, const AssetDataSignal& chunk);
    // The transfer joins the end of the list under the next transfer id.
    void Queue(AssetTransfer transfer);
    void DrawNoShipMark();
    void RenderShipInto(Qel2dBitmap& target, const ObjectTypeDrawData& drawData, const glm::mat4& model);
    // Set-up's parts, in order (RenderManagerLoading.cpp).
    void SetupSettingsAndFirstScene();
    void SetupViews();

    // The menu sky's fade-in: whether a screen went without the sky, and the
    // tick the sky first showed after that.
    bool skyMissed = false;
    uint64_t skyArrivedTick = 0;
    // The camera of the menu scenes' sky and of the ship in a box.
    Camera menuCamera;

    // The loading SetupFirstScreen leaves, in the order it goes.
    enum class LoadStep { Sky, Fonts, Portraits, Views, Done };
    LoadStep nextLoad = LoadStep::Done;
    bool frameDrawn = false;  // the first screen has been shown

    // What the 3D view draws its effects through.
    std::unique_ptr<Render3DEffects> effectsPass;
    SceneFunction currentScene;
    SceneFunction firstScene;
    std::unique_ptr<SceneState> sceneState;  // never null
    std::unique_ptr<SkyBoxManager> skyBox;
};

// The side regards the object's side as neutral or allied.
bool IsObjectFriendlyToSide(const SpaceObject& object, const std::string& sideTag);
