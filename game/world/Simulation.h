#pragma once
// The one world of the program: the server's authoritative copy or a client's
// mirror. It owns the object registry and what lives beside the objects
// (objects waiting to enter, blasts, effect events, timed entries, sound
// events, forced updates, nav points and nav proxies, tractor connections,
// the side tables, console filter state) and steps them: FrameUpdate once per
// drawn frame, Tick once per 33 ms tick.
//
// Every walk over objects runs game code (behaviour hooks, damage, scripts)
// that may create or delete objects, or reset the world, while the walk runs.
// Walks go through the registry, which skips objects that left it meanwhile,
// and no pointer to an object is kept across a call into game code: an object
// deleted meanwhile is simply not visited, and its memory lives until the
// walk that was running ends. A reset from inside the tick or the frame step
// ends that step.
//
// Main thread only.

#include "game/world/BounceReach.h"
#include "game/world/EventMessage.h"
#include "game/world/NavRecords.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/SideTables.h"
#include "game/world/SimulationClock.h"
#include "game/world/SimulationRecords.h"
#include "game/world/SimulationTimer.h"
#include "game/world/SpaceObject.h"
#include "game/world/SuperContainer.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ConsoleMessageLog;
class EffectBroadcast;
class HullPathSet;
class HullPathSets;
class LocalPresentation;
class ParticleSink;
class PendingDestroySink;
class ScienceScanSink;
class ShipConsoleNotices;

class Simulation {
public:
    // Ticks between the server's slow behaviour passes.
    static constexpr int64_t kSlowPassTicks = 15;

    // Paused, with no registry until the first Reset. Becomes the world that
    // theSimulation and the tick timers see; loads the ship list once per
    // process.
    Simulation();
    virtual ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    // Starts a new run: no interior grids, a new empty registry, ids from 4
    // again, tick 0 in the next generation, no blasts or effect events. Keeps
    // pending objects, nav points, nav proxies, tractor connections, the side
    // tables, the random state and the pause flag; callers wanting a clean
    // world call Clear first.
    void Reset(bool serverFlag, const std::string& missionPath);
    // Empties the world: registry and objects, interior grids, pending
    // objects, tractor connections, nav points and nav proxies, filter tags,
    // console names, sound events, comms messages; the tick counter goes back
    // to 0. The side tables stay.
    void Clear();

    // Makes an object of the behaviour and ship type, lets its behaviour set
    // it up, and registers it at the origin at once; its tree leaf is filed
    // where it stands at the next query or frame step, so a creator that
    // places it first files it in its place. Its id, or 0 when there is no
    // registry (before the first Reset, or after a Clear).
    uint64_t CreateSpaceObject(const std::string& aiTag, const std::string& dataTag, uint16_t abits);
    // A new object of this world, not yet registered (SpaceObject's
    // constructor); its data set stamps its changes with this world's tick.
    std::unique_ptr<SpaceObject> MakeSpaceObject(uint64_t id, const std::string& behaviourName,
                                                 const std::string& dataTag, uint16_t abits, float exclusionRadius,
                                                 float interactionRadius, float fatRadius) const;
    // Takes ownership of an object made during a tick; it enters the registry
    // at the next frame step and first moves in the tick after that. From now
    // on its data set stamps its changes with this world's tick.
    void AddPendingObject(std::unique_ptr<SpaceObject> object);
    // Removes and deletes the object of the id (in normal space or standby),
    // with the tractor connections that hold it; nothing when there is none.
    // During a walk the memory is freed when the walk ends, so code up the
    // stack may still touch the object.
    void DeleteSpaceObject(uint64_t id);

    // Ids must be 0 or space-object ids: the caller checks what it received.
    bool SpaceObjectExists(uint64_t id) const;
    SpaceObject* GetSpaceObject(uint64_t id) const;

    // Moves an object at once; the tree follows at the next frame step. A
    // coordinate that is not a finite number is refused (false, nothing moves).
    bool RepositionSpaceObject(SpaceObject* object, float x, float y, float z);
    void ForceUpdateToClients(uint64_t spaceObjectID, uint64_t playerShipID);
    // The ship's interior grid (HullPathSets.h): built on first use, rebuilt
    // with forceCreate; null when the ship's type has none.
    HullPathSet* GetHullMap(const SpaceObject& ship, bool forceCreate);
    // Records an object's tags for the consoles' sorted list filters.
    void AddListFilterTags(const std::string& first, const std::string& second);
    // Appends a line to the debug text file in the data folder; nothing when
    // it cannot be opened.
    void WriteDebugText(const std::string& text);

    // The frame step: admits pending objects, rebuilds moved tree leaves and,
    // on the server, runs the slow behaviour pass when it is due.
    void FrameUpdate();
    // One tick: moves every object and runs its behaviour, pulls tractored
    // objects, walks the crews of the interior grids, then ages effect events,
    // blasts, timed entries and sound events.
    void Tick();
    void MoveSpaceObject(SpaceObject* object);
    // Pushes the object and those it overlaps apart.
    void HandleSOBounce(SpaceObject* object);

    // Damage (server only): tells the target's behaviour, then the mission.
    void ApplyDamage(SpaceObject* target, float amount, SpaceObject* source, uint64_t sourceParentID,
                     const glm::vec3& point, const std::string& valueText, const std::string& kind);
    void AddBlast(const std::string& kind, const std::string& name, uint64_t sourceId, uint64_t parentId,
                  const glm::vec3& centre, int32_t damage, int32_t radius);
    // Records the effect from this tick; a beam or lightning that strikes past
    // the target's shields sounds its hull (BoltStrike.h).
    void AddEffectEvent(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                        uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint,
                        const glm::vec3& secondPoint, int32_t value);
    // A visible effect every console shows: through the server's broadcast
    // when there is one, else recorded in this world only.
    void SendEffect(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                    uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint, const glm::vec3& secondPoint,
                    int32_t value);
    // Queues the sound unless the same name was queued less than minimumGap
    // ticks ago in this run (a gap of 0 always queues).
    void QueueSoundEvent(const std::string& name, const glm::vec3& position, int64_t minimumGap);
    // A drone strikes its target: damage, then the drone goes on the server's
    // destroy queue, with a sound and two particle bursts.
    void DroneHitTarget(SpaceObject* drone, uint64_t parentId, SpaceObject* target);

    // ---- torpedoes (SimulationTorpedoes.cpp) ----
    // A torpedo of the type is free to be loaded: the ship's stock of it
    // exceeds the tubes that hold it.
    bool TorpedoTypeAvailable(const SpaceObject& ship, const std::string& type) const;
    // "5 / 8 T": the stock, the capacity, and a T for each tube holding the type.
    std::string TorpedoCountText(const SpaceObject& ship, const std::string& type) const;
    // A tube a launch may fire: one of the ship's tubes, or tube 0 of a ship
    // that keeps its tube loaded (a fighter fires from it whatever it has).
    static bool IsLaunchTube(const SpaceObject& ship, int32_t tube, bool keepTube);
    // Fires the torpedo of the tube ("Homing" when it names none) from the
    // ship, takes one of that type from the stock, empties the tube unless
    // told to keep it, and queues "player_launches_missile" for the mission.
    // The stock and the load are not checked: callers do. The torpedo joins
    // the registry at the next frame step. Its id, or 0 when the tube is no
    // launch tube (nothing happens then).
    uint64_t LaunchTorpedo(SpaceObject& ship, int32_t tube, bool keepTube);
    // A torpedo of the type leaving the launcher at launch speed along its
    // nose, its definition taken from the server string map (empty for a type
    // the map lacks), its landing point astern of the launcher; the music
    // stirs and the launch sounds. It joins the registry at the next frame
    // step; its behaviour has not been told yet.
    SpaceObject& MakeTorpedo(const SpaceObject& launcher, const std::string& type);

    // ---- shield facings (ShipMechanics.cpp) ----
    // The facing of the target that a shot from the source strikes; -1 when
    // the target has no facings.
    int32_t GetShieldHitIndex(const SpaceObject& source, const SpaceObject& target) const;
    int32_t GetShieldHitIndexSource(const glm::vec3& sourcePoint, const SpaceObject& target) const;

    // ---- sides and diplomacy (SimulationSides.cpp) ----
    // Each setter marks the tables changed, so the server sends them. Tags
    // must be diplomatic (not empty) and values DIPLOMACY values: callers
    // check what they were given.
    void SetSideRelationship(const std::string& firstSideTag, const std::string& secondSideTag,
                             int32_t diplomacyEnumValue);
    int32_t GetSideRelationship(const std::string& firstSideTag, const std::string& secondSideTag) const;
    void SetSideIconColor(const std::string& sideTag, const std::string& colorString);
    void SetSideIconIndex(const std::string& sideTag, int32_t iconIndex);
    void SetDiplomacyColor(int32_t diplomacyEnumValue, const std::string& colorString);

    // ---- nav points and nav proxies (SimulationNavigation.cpp) ----
    // Ids are 1, 2, 3... from one counter both kinds share; 0 names nothing.
    // Creating and changing an entry sets its change flag, so the server
    // sends it; deleting one records the id, so the server tells the consoles.
    //
    // Replaces the text, place and colour of the nav point of the id, or makes
    // one under the id (under a new id when it is 0). Its id.
    int32_t SetNavpoint(int32_t id, float x, float y, float z, const std::string& text, const std::string& colDesc);
    int32_t AddNavpoint(float x, float y, float z, const std::string& text, const std::string& colDesc);
    // A nav point at the origin marking the area of the four corners (on the
    // plane, in the order given). Its id.
    int32_t SetNavarea(const std::array<glm::vec2, 4>& corners, const std::string& text, const std::string& colDesc);
    int32_t AddNavarea(const std::array<glm::vec2, 4>& corners, const std::string& text, const std::string& colDesc);
    void DeleteNavpoint(int32_t id);
    bool NavpointExists(int32_t id) const;
    Navpoint* GetNavpoint(int32_t id);
    // The smallest id whose text is exactly the text; 0 when none is.
    int32_t GetNavpointIdByName(const std::string& text) const;
    // Frees every nav point without recording the ids: whoever clears them
    // tells the consoles.
    void ClearNavpoints();

    // Replaces what the nav proxy of the id stands for, its text, hull and
    // colour (its place stays), or makes one under the id (a new id when it
    // is 0) at the place of its object (the origin when there is none). Its id.
    int32_t SetNavproxy(int32_t id, uint64_t proxyID, const std::string& text, const std::string& shipType,
                        const std::string& colDesc);
    int32_t AddNavproxy(uint64_t proxyID, const std::string& name, const std::string& shipType,
                        const std::string& colDesc);
    void DeleteNavproxy(int32_t id);
    bool NavproxyExists(int32_t id) const;
    NavProxy* GetNavproxy(int32_t id);
    int32_t GetNavproxyIdByName(const std::string& text) const;
    // The smallest id of a nav proxy that stands for the object; 0 when none does.
    int32_t GetNavproxyIdByProxyId(uint64_t proxyID) const;
    void SetNavproxyPos(NavProxy& navproxy, float x, float y, float z);
    void ClearNavproxies();

    // ---- tractor connections (SimulationTractors.cpp) ----
    // Two different space objects, an offset and a pull that are numbers:
    // anything else makes no connection.
    static bool IsTractorConnection(uint64_t sourceID, uint64_t targetID, const glm::vec3& offsetPoint,
                                    float pullDistance);
    // Joins the two, or gives the connection that already joins them (either
    // way round; it keeps its direction) the new offset and pull. Null when
    // IsTractorConnection refuses them.
    TractorConnection* AddTractorConnection(uint64_t sourceID, uint64_t targetID, const glm::vec3& offsetPoint,
                                            float pullDistance);
    // Every connection between the two, either way round.
    void DeleteTractorConnection(uint64_t sourceID, uint64_t targetID);
    // The first connection between the two, either way round, or null.
    TractorConnection* GetTractorConnection(uint64_t sourceID, uint64_t targetID);
    void ClearTractorConnections();
    // The tick's pull: each target toward its point beside its source; a
    // connection whose source or target is gone is dropped.
    void UpdateTractorConnections();

    // Where the world reaches the subsystems above it; null ones are skipped.
    void SetScriptEventSink(ScriptEventSink* sink) { scriptEvents = sink; }
    void SetPendingDestroySink(PendingDestroySink* sink) { pendingDestroys = sink; }
    void SetScienceScanSink(ScienceScanSink* sink) { scienceScans = sink; }
    void SetParticleSink(ParticleSink* sink) { particles = sink; }
    void SetEffectBroadcast(EffectBroadcast* broadcast) { effects = broadcast; }
    void SetConsoleMessageLog(ConsoleMessageLog* log) { messageLog = log; }
    void SetShipConsoleNotices(ShipConsoleNotices* notices) { shipConsoles = notices; }
    void SetLocalPresentation(LocalPresentation* presentation) { localPresentation = presentation; }
    // The services behaviours call; each may be null. The mission is reached
    // through the world's relay (MissionRelay).
    ScriptEventSink* ScriptEvents() const { return scriptEvents ? &missionRelay : nullptr; }
    PendingDestroySink* PendingDestroys() const { return pendingDestroys; }
    ScienceScanSink* ScienceScans() const { return scienceScans; }
    ParticleSink* Particles() const { return particles; }
    ShipConsoleNotices* ShipConsoles() const { return shipConsoles; }
    LocalPresentation* Presentation() const { return localPresentation; }

    SuperContainer* Container() const { return container.get(); }
    // Every ship's interior grid (HullPathSets.h).
    HullPathSets& Interiors() const { return *interiors; }
    // Counts Resets and Clears: code that holds ids across a call into game
    // code compares it to tell that the world it knew is gone.
    uint64_t RunCount() const { return runCount; }
    int64_t TickCount() const { return clock.time_tick_counter; }
    int32_t Generation() const { return clock.generation; }

    bool serverFlag = false;
    uint64_t subjectID = 0;     // client: the ship this console controls, 0 = none
    uint64_t altSubjectID = 0;  // client: the ship the 2D radar follows instead, 0 = none
    SimulationClock clock;      // time_tick_counter and the run generation
    int64_t lastFrameTick = 0;  // time_tick_counter at the end of the last frame step
    bool paused = true;         // while set, neither the tick nor the frame step does anything
    int32_t redAlertState = 0;

    // Base beam damage of player ships, computer ships and stations.
    float playerShipBeamDamageCoeff = 1.0f;
    float npcShipBeamDamageCoeff = 1.0f;
    float stationShipBeamDamageCoeff = 1.0f;

    // A player ship's beams, by beam number: 0 or less is ready, a shot sets 1
    // and recharging brings it back down. Beams beyond the table never fire.
    static constexpr int32_t kMaxPlayerBeams = 100;
    using BeamCharges = std::array<float, kMaxPlayerBeams>;
    // The ship's charges, all ready when it has none yet. Forgotten with the
    // ship and with the run.
    BeamCharges& PlayerBeamCharges(uint64_t shipId) { return playerBeamCharges[shipId]; }

    std::vector<std::unique_ptr<SpaceObject>> pendingNewObjects;
    std::vector<EffectEventRecord> effectEvents;
    std::vector<BlastRecord> blasts;
    std::vector<TimedEntry> timedEntries;
    std::vector<SoundEvent> soundEvents;
    std::map<std::string, int64_t> soundLastTicks;  // name -> tick it was last queued
    std::vector<ForcedUpdate> forcedUpdates;
    std::vector<CommsMessageRecord> commsMessages;  // in arrival order; emptied by Clear

    std::map<int32_t, Navpoint> navpoints;
    std::map<int32_t, NavProxy> navproxies;
    int32_t navIdCounter = 0;                 // the last id issued; carries on across games
    std::vector<int32_t> deletedNavpointIds;  // oldest first, until the server tells the consoles
    std::vector<int32_t> deletedNavproxyIds;
    std::vector<TractorConnection> tractorConnections;  // in the order made
    SideTables sideTables;
    bool sideTablesChanged = false;  // the server sends the tables at its next frame and clears this

    // Console list state.
    std::vector<std::string> consoleNames;
    std::vector<bool> consoleNameFlags;
    std::vector<FilterTag> firstFilterTags;
    std::vector<FilterTag> secondFilterTags;
    // The two fixed filters before the side and origin lists: objects that
    // take part (ships, stations, monsters) and the console's favourites.
    FilterTag activeFilter;
    FilterTag favoriteFilter;
    bool listRefreshFlag = false;
    // The grid-object filter of the interior views and lists, in the order
    // the types were met; empty: every grid object is shown.
    std::vector<GridTypeFilter> gridObjectFilter;

    simulationTimer slowPassTimer;  // the server's every-15-ticks pass; starts expired
    // Searches every bounce with the widest box of the rule instead of the
    // reach of what can touch: the answer the narrow search is tested against.
    bool widestBounceSearch = false;
    int32_t randomState = 1;        // the world's own generator (RandomInt); never reseeded

private:
    void AdmitPendingObjects();
    void RunSlowPass();
    void SpinStaticObject(SpaceObject* object);
    void SteerOnServer(SpaceObject* object);
    void DeadReckonOnClient(SpaceObject* object);
    void FollowFatBox(SpaceObject* object);
    bool SeparateFrom(SpaceObject* a, SpaceObject* b);
    void DropExpiredEffectEvents();
    // False when the world was reset or cleared meanwhile.
    bool UpdateBlasts();
    void GrowBlast(BlastRecord& blast);
    void DealBlast(const BlastRecord& blast);
    void DropExpiredTimedEntries();
    void DropOldSoundEvents();
    void SetTickCounter(int64_t tick);
    int32_t NextNavId();
    void PullTarget(const TractorConnection& connection, SpaceObject& source, SpaceObject& target);

    SuperContainerPtr container;
    // How far the bounce step searches; trusted only while the tick's walk
    // keeps it up to date, measured afresh by every other bounce.
    BounceReach bounceReach;
    bool bounceReachFollowsTick = false;
    // Passes a behaviour's events on to the mission. A mission told at once,
    // in the middle of the tick, may move or resize any object, so every
    // such event has the bounce reach measured again.
    class MissionRelay : public ScriptEventSink {
    public:
        explicit MissionRelay(Simulation& world) : world(world) {}
        void HandleEvent(const EventMessage& event) override;
        void QueueEvent(const EventMessage& event) override;

    private:
        Simulation& world;
    };
    mutable MissionRelay missionRelay{*this};
    std::unique_ptr<HullPathSets> interiors;
    std::map<uint64_t, BeamCharges> playerBeamCharges;
    // Pending objects a Clear let go of, freed at the next step.
    std::vector<std::unique_ptr<SpaceObject>> clearedPendingObjects;
    uint64_t runCount = 0;
    ScriptEventSink* scriptEvents = nullptr;
    PendingDestroySink* pendingDestroys = nullptr;
    ScienceScanSink* scienceScans = nullptr;
    ParticleSink* particles = nullptr;
    EffectBroadcast* effects = nullptr;
    ConsoleMessageLog* messageLog = nullptr;
    ShipConsoleNotices* shipConsoles = nullptr;
    LocalPresentation* localPresentation = nullptr;
};

// The one world, or null before it is built and after it is gone.
extern Simulation* theSimulation;

// Nudges a point by up to 0.01 in each axis (from crand()), so objects spawned
// at one spot never share a centre exactly.
glm::vec3 JitterPosition(const glm::vec3& point);
