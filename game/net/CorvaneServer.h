#pragma once
// The authoritative side of the network. It hosts the endpoint named
// "server", keeps one record per connected console, dispatches what consoles
// send, destroys the objects the mission deleted and tells the consoles, runs
// the replication passes in a fixed order every frame, hands queued events and
// the periodic "mission_tick" to the mission, and drops consoles that stopped
// sending heartbeats. Every server-side sender builds in its one outgoing
// message and sends through it.
//
// One instance per process (gServer); it does nothing until hosting starts.
// Everything but the receive thread runs on the main thread.

#include "game/net/ClientRecord.h"
#include "game/net/MessageQueues.h"
#include "game/net/NetworkIds.h"
#include "game/net/ObjectIdSet.h"
#include "game/net/PingTracker.h"
#include "game/net/SignalMessage.h"
#include "game/world/EventMessage.h"
#include "game/net/ShipGrouping.h"
#include "game/world/ServerMessageSink.h"
#include "game/world/ShipConsoleNotices.h"
#include "game/world/SimulationTimer.h"
#include "game/world/WorldServices.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ObjectDataBlob;
struct WidgetBoxStateSignal;
class QelNetworkServer;
class ServerScriptHost;
class ShipAssetSource;
class Simulation;
struct AssetDataRequestSignal;
class SpaceObject;

class CorvaneServer : public ServerMessageSink, public PendingDestroySink, public EffectBroadcast,
                      public ScienceScanSink, public ShipConsoleNotices {
public:
    // The client-list age stops here: the server screen only asks whether
    // the list changed lately, so it need not count any further.
    static constexpr int32_t kClientListAgeCap = 987654;
    // The time-out check runs every 61 ticks (about 2 s, one heartbeat).
    static constexpr int32_t kTimeoutCheckTicks = 60;
    // A console silent for more than this many checks (about a minute) is
    // dropped.
    static constexpr int32_t kMaxIdleChecks = 30;
    static constexpr int32_t kDefaultScriptTickDelay = 30;
    // Round trips are measured about once a second.
    static constexpr int64_t kPingIntervalTicks = 30;

    struct Settings {
        uint16_t port = 0;                                // 0: any free port
        int32_t dispatchLimit = MessageQueues::kDefaultDispatchLimit;    // messages handled per frame
        int32_t scriptTickDelay = kDefaultScriptTickDelay;  // ticks between mission ticks, minus one; <= 0 keeps 30
        float visionBaseDistance = 0.0f;                  // for the replication passes
        std::string serverName;                           // announced on the local network
        bool lanDiscovery = false;                        // answer consoles searching the local network
        uint32_t linkTimeoutMs = 0;  // a console's link silent this long ends; 0: the transport's own (5 to 30 s)

        // "serverNetworkPort", "server-network-mess-per-frame",
        // "scriptTickDelay", "player-vision-base-distance" and
        // "server-network-name", with answers on the local network.
        static Settings FromPreferences();
    };

    explicit CorvaneServer(const Settings& settings);
    ~CorvaneServer() override;
    CorvaneServer(const CorvaneServer&) = delete;
    CorvaneServer& operator=(const CorvaneServer&) = delete;

    // Takes the endpoint and starts receiving; also after a stop.
    void StartHosting();
    // Ends the receive thread. The endpoint, the records and the queues stay,
    // and nothing is sent until hosting starts again.
    void StopHosting();
    bool IsHosting() const { return hosting; }
    // No endpoint, or it could not bind its port.
    bool IsNetworkDown();
    // Why the network is down, naming the port ("UDP port 3151 could not be
    // opened: Address already in use"); "" while hosting works.
    std::string HostingFailure();
    // The port the endpoint listens on (0 while there is none).
    uint16_t Port();

    void DispatchMessages();
    void FrameUpdate();
    void Tick();

    // The host's own console: what its widgets send joins the incoming
    // queue as a message from kHostClientId, byte for byte as a remote
    // console's would, and is handled in arrival order with the rest;
    // dropped while the server is not hosting.
    void ReceiveFromHost(const QelNetworkMessage& message);
    // The record the host's own console is heard through; its ship is the
    // one the mission gave the server's screen (client 0).
    ClientRecord& HostRecord();
    // The incoming queues (tests read what arrived without handling it).
    MessageQueues& Queues() { return queues; }

    // Every send ends here: under the mutex, to the message's recipients; a
    // message a write did not fit is not sent (CutShortMessages.h).
    void SendLocked(QelNetworkMessage& message, uint32_t packetFlags);
    // To every client with a record; nothing when there is none.
    void SendToAll(QelNetworkMessage& message, uint32_t packetFlags) override;
    // To the clients of one ship; nothing when there is none.
    void SendToShip(QelNetworkMessage& message, uint64_t shipId, uint32_t packetFlags) override;
    void SendToClient(QelNetworkMessage& message, uint64_t clientId, uint32_t packetFlags) override;
    QelNetworkMessage& StartMessage() override;

    // A visible effect: recorded in the server's own world and announced to
    // every console as "beam", whatever its kind.
    void SendBeam(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                  uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint, const glm::vec3& secondPoint,
                  int32_t value) override;

    // Connection events, from the hook map.
    void HandleClientConnect(uint64_t clientId);
    void HandleClientDisconnect(uint64_t clientId);

    void QueueDestroy(uint64_t spaceObjectId) override;
    bool FirstQueuedScan(uint64_t shipId, uint64_t& targetId, std::string& scanType) override;
    void DropQueuedScans(uint64_t shipId, uint64_t targetId, const std::string& scanType) override;
    void ScanCompleted(uint64_t targetId, uint64_t shipId) override { AddScanResult(targetId, shipId); }
    // What the world tells one ship's consoles, as "signal" codes 86, 85
    // and 79 (CorvaneServerConsoleNotices.cpp). A jump's countdown is told
    // again every slow pass, so a lost one is soon made good; its arrival is
    // told once, reliably.
    void JumpCountdown(uint64_t shipId, int32_t secondsLeft) override;
    void JumpArrived(uint64_t shipId, int64_t tick, int64_t effectSeconds) override;
    void DamageFlash(uint64_t shipId, float amount) override;
    void ResetClientIdle(uint64_t clientId);
    // A console echoed a ping key: its smoothed round trip takes it in.
    void ApplyPingEcho(uint64_t clientId, int32_t key);
    void SongEnded(uint64_t clientId);
    // Hands an event a console's command raised to the mission at once, as
    // coming from that console at the current tick.
    void RaiseEventFromClient(uint64_t clientId, EventMessage event);
    // Hands the mission "screen_size" at once: the window of a console, or of
    // the server's own screen for client 0.
    void RaiseScreenSizeEvent(uint64_t clientId, int32_t width, int32_t height);

    // Replication senders. Each message goes to the listed consoles; a set
    // whose due values do not fit one message goes out in several.
    //
    // The due values of a data set, each console in turn: changed since they
    // were last sent to it, never sent, or not sent for 300000 ticks; every
    // value when forced. A space object's set without force sends only its
    // visible keys (SendBlobVisibleData). Values go reliably: each is sent
    // once and then only when it changes.
    void SendBlob(int32_t kind, ObjectDataBlob& dataSet, uint64_t ownerId, uint64_t shipId,
                  const std::vector<uint64_t>& clientIds, bool force);
    // The due values of the keys every console may see (the visible key list
    // and the keys behaviours added to the object); nothing when the owner is
    // no existing space object.
    void SendBlobVisibleData(int32_t kind, ObjectDataBlob& dataSet, uint64_t ownerId, uint64_t shipId,
                             const std::vector<uint64_t>& clientIds);
    // "fullobject": the object's record and identity. Reliable when it is sent
    // once only (an answer, a finished scan, the mission's forced update); the
    // periodic ones replace each other and travel with the object records.
    void SendFullObject(const SpaceObject& object, const std::vector<uint64_t>& clientIds, uint32_t packetFlags);
    // Objects a console asked for in full: each joins its queue once, while
    // the queue has room. Answered a few a frame, so no console's requests
    // can hold up the others' updates or the mission's ticks.
    void QueueFullObjectAnswers(uint64_t clientId, const std::vector<uint64_t>& objectIds);
    // A ship definition a console asked for: queued once, answered a few a
    // frame, reliably.
    void QueueShipRecordAnswer(uint64_t clientId, const std::string& shipKey);
    // Ids of the objects within the radius of the centre on X and Z, fast
    // movers left out.
    void CollectObjectsInRadius(const glm::vec3& centre, float radius, ObjectIdSet& ids);
    // The side tables ("signal" 105) to the console, or to every console for
    // 0, unreliably; sent to every console, they count as sent.
    void SendIndexedTables(uint64_t clientId);
    const ShipGrouping& Grouping() const { return grouping; }

    // Code 42: the ship's interior grid and every grid object on it, to the
    // console alone, in as many messages as they need; their keyed values
    // follow through the grid pass (all of them when the value is not 0).
    // Nothing while the console's last grid is still being streamed.
    void AnswerGridRequest(uint64_t clientId, uint64_t shipId, int32_t value);

    void SetScriptHost(ServerScriptHost* host) { scriptHost = host; }
    // The world the server serves, set by its owner; none: the passes that
    // need one do nothing.
    void SetWorld(Simulation* served) { world = served; }
    Simulation* World() const { return world; }
    // The served world's tick; 0 without one.
    int64_t WorldTick() const;
    // The draw data consoles may fetch; none on a server without a render side.
    void SetShipAssetSource(ShipAssetSource* source) { shipAssets = source; }
    ShipAssetSource* ShipAssets() const { return shipAssets; }
    // Code 67: the chunk a console asked for, to it alone, reliably; nothing
    // for a ship type without draw data.
    void AnswerAssetDataRequest(uint64_t clientId, const AssetDataRequestSignal& request);
    // The window the mission tick reports (the server screen's size).
    void SetWindowSize(float width, float height);

    const std::map<uint64_t, std::unique_ptr<ClientRecord>>& Clients() const { return clients; }
    ClientRecord* FindClient(uint64_t clientId) const;
    int32_t ClientListAge() const { return clientListAge; }
    int32_t ScriptTickDelay() const { return scriptTickDelay; }
    // Messages the dispatch dropped: too short, unknown key, or read past
    // their end by their handler.
    const DroppedMessageCounts& DroppedMessages() const { return queues.Dropped(); }
    // What the server refused this run, in one line; "" when nothing.
    std::string DescribeRefusedMessages() const;
    int32_t WaitingCount() const { return queues.WaitingAtDispatch(); }

    // Each connecting client is appended to all three; the string-map pass
    // empties the first and third, the nav proxy pass the second.
    std::vector<uint64_t> newClientLists[3];
    std::vector<uint64_t> pendingDestroys;
    std::vector<std::pair<uint64_t, uint64_t>> completedScans;  // {scanned object, scanning ship}
    // The scanned object goes whole to the scanning ship's consoles.
    void AddScanResult(uint64_t objectId, uint64_t shipId) { completedScans.emplace_back(objectId, shipId); }
    // Each ship's science scans still to do, in order; its science consoles
    // are shown the queue.
    std::map<uint64_t, std::vector<ScanQueueEntry>> scanQueues;
    // Per console that asked for its ship's grid: the ship id, the force flag,
    // then the grid objects whose values the grid pass has yet to send.
    std::map<uint64_t, std::vector<uint64_t>> watchedGrids;
    bool suppressConnectDialog = false;  // the mission keeps the server screen's connect dialog away

private:
    bool ReceiveOne(QelNetworkMessage& message);
    void DestroyPendingObjects();
    void DestroyObject(uint64_t id);
    void RunReplicationPasses();
    void CollectTargetedObjects();
    void SendObjectUpdatesToClients();
    void SendObjectBLOBUpdatesToClients();
    void SendFastObjectUpdates();
    void SendOwnShipUpdates();
    void SendOwnShipFullObjects();
    void SendTargetFullObjects();
    void SendQueuedFullObjects();
    void AnswerFullObjectRequests();
    void AnswerShipRecordRequests();
    void SendDrawDataOutline(uint64_t clientId, const std::string& shipKey);
    void SendGameMasterUpdates();
    void SendGridObjectsToClients();
    void UpdateWorldSoundFlags();
    void CollectSensorView(const SpaceObject& ship, ObjectIdSet& ids);
    void CollectAroundExtraScanSources(const SpaceObject& ship, ObjectIdSet& ids);
    // World state beside the objects (CorvaneServerWorldState.cpp).
    void SendNavPointsAndStringMap();
    void SendNavProxies();
    void SendScanLists();
    void SendGameMasterData();
    // Vision beyond the ship's own (CorvaneServerVision.cpp).
    void SendFriendEyesToClients();
    void PrepareFriendEyes();
    void SendScienceRangeUpdates();
    void SendShieldValues();
    void SendCompletedScans();
    void SendPings();
    void RunScriptTick();
    void CheckTimeouts();
    void DropClient(uint64_t clientId);
    void SendWelcome(uint64_t clientId);
    void RaiseScriptEvent(const std::string& tag, uint64_t clientId);

    Settings settings;
    MessageQueues queues;
    QelNetworkServer* endpoint = nullptr;
    bool hosting = false;
    std::map<uint64_t, std::unique_ptr<ClientRecord>> clients;
    ClientRecord hostRecord{kHostClientId};
    int32_t clientListAge = 0;
    int32_t timeoutCounter = 0;
    int32_t scriptTickCounter = 0;
    int32_t scriptTickDelay = kDefaultScriptTickDelay;
    float windowWidth = 0.0f;
    float windowHeight = 0.0f;
    ServerScriptHost* scriptHost = nullptr;
    Simulation* world = nullptr;
    ShipAssetSource* shipAssets = nullptr;
    PingTracker pings;
    simulationTimer pingTimer;  // starts expired

    // Replication pass state; the timers start expired.
    ShipGrouping grouping;
    simulationTimer groupingTimer;
    ShipCursor slowCursor;
    ShipCursor sensorCursor;
    ShipCursor fastCursor;
    ShipCursor ownShipCursor;
    ShipCursor ownShipFullCursor;
    ShipCursor targetFullCursor;
    simulationTimer queuedFullTimer;
    simulationTimer gameMasterTimer;
    int32_t gameMasterRuns = 0;
    simulationTimer stringMapTimer;
    simulationTimer scanListTimer;
    simulationTimer gameMasterDataTimer;
    simulationTimer scienceRangeTimer;
    ShipCursor shieldCursor;
    // Friend eyes: 16 runs spread one ship's extended vision; the messages
    // are prepared on the first run of each round, one bucket per run.
    static constexpr int32_t kFriendEyesBuckets = 16;
    using FriendEyesBucket = std::vector<std::unique_ptr<QelNetworkMessage>>;
    simulationTimer friendEyesTimer;
    int32_t friendEyesPhase = 0;
    std::vector<std::deque<FriendEyesBucket>> friendEyesQueues;  // one per ship, in ship-list order
};

// The one server of the process, or null.
extern CorvaneServer* gServer;

// The server's outgoing message, emptied and keyed with the name; addressed to
// the one client when its id is not 0.
void StartServerMessage(QelNetworkMessage& message, const std::string& name, uint64_t clientId);
QelNetworkMessage& ServerOutgoingMessage();
void SendServerMessageToAll(uint32_t packetFlags);
void SendServerMessageToShip(QelNetworkMessage& message, uint64_t shipId, uint32_t packetFlags);

// "widget_box_state" as the mission receives it: the widget as sub-tag, the
// screen as extra tag, "left, top, right, bottom" as value tag and the layout
// index as sub-float. The caller fills who sent it and when.
EventMessage WidgetBoxStateEvent(const WidgetBoxStateSignal& box);
