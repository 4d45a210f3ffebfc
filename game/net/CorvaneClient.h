#pragma once
// The console side of the network. It owns the client endpoint, receives the
// server's messages on its own thread and dispatches them once per frame,
// keeps the connection alive with heartbeats, asks the server for objects and
// ship definitions it has not seen, forgets objects the server stopped
// updating, keeps the object list roughly sorted by distance from the own
// ship, and keeps the client string map in a file across runs.
//
// One instance per process, in a console and in a server alike, owned by the
// game loop and handed to what needs it. The client does not connect by
// itself: the connect scene calls Connect. All but the receive thread runs on
// the main thread.

#include "game/net/ClientStringFile.h"
#include "game/net/MessageQueues.h"
#include "game/net/SignalMessage.h"
#include "game/world/SimulationTimer.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class ConsoleScreen;
class QelNetworkClient;
class ShipAssetTransfers;
class Simulation;

class CorvaneClient {
public:
    // A heartbeat leaves every 61 ticks (about 2 s).
    static constexpr int32_t kHeartbeatTicks = 60;
    // A full-object request leaves every 11 ticks, even an empty one.
    static constexpr int32_t kRequestTicks = 10;
    // Every 1001 ticks the client forgets what it asked for, so ids the
    // server never answers (objects gone meanwhile) do not pile up.
    static constexpr int32_t kRequestedSetAgeTicks = 1000;
    // The answer to a full-object request travels unreliably and may be lost:
    // an object still unknown this many ticks after its request left is asked
    // for again at its next update, rather than staying unseen until the
    // requested ids are forgotten. Long against a round trip on a local
    // network, short against kRequestedSetAgeTicks.
    static constexpr int64_t kAnswerPatienceTicks = 60;
    // The request tick of an id that waits in the queue.
    static constexpr int64_t kNotSentYet = -1;
    // Contact decay and ship-definition requests run every 60 ticks.
    static constexpr int64_t kHousekeepingTicks = 60;
    // Contact decay walks one of this many buckets per step.
    static constexpr int32_t kDecayBucketCount = 10;
    // A changed string map is saved this many frames after the last change,
    // so a burst of changes is written once.
    static constexpr int32_t kSaveDelayFrames = 100;
    // Requests leave at 10 ids every 11 ticks, about 910 before the requested
    // set is forgotten; a longer queue could never drain in time. A server
    // that names ever new unknown ids must not grow it without end: an id
    // that finds the queue full is asked for on a later update instead.
    static constexpr size_t kMaxQueuedRequests = 1000;
    // A miss counter set to this waits ten more misses before it counts again.
    static constexpr int32_t kMissCounterAfterRequest = -10;
    // The distance sort orders objects in steps of 2000 units (squared).
    static constexpr int64_t kSortStepSquared = 4000000;

    struct Settings {
        std::string endpointName = "client";
        uint16_t port = 0;
        int32_t dispatchLimit = MessageQueues::kDefaultDispatchLimit;
        int32_t contactDecayDelay = 0;       // ticks without update before a contact is forgotten
        std::filesystem::path stringMapFile;  // empty: the map is neither loaded nor saved
        bool lanDiscovery = false;            // search the local network for servers
        std::string machineName;              // how this console is known on the server screen
        uint32_t linkTimeoutMs = 0;  // the server silent this long ends the connection; 0: the transport's own

        // "serverNetworkPort", "client-network-mess-per-frame",
        // "clientContactDecayDelay", data/client_string_set.txt, the machine
        // setting "clientMachineName", with the local-network search on.
        static Settings FromPreferences();
    };

    explicit CorvaneClient(const Settings& settings);
    virtual ~CorvaneClient();
    CorvaneClient(const CorvaneClient&) = delete;
    CorvaneClient& operator=(const CorvaneClient&) = delete;

    // Starts connecting to the address; the connect event arrives later.
    bool Connect(const std::string& address);
    void Disconnect();
    bool IsConnected();
    // Sends reliably; dropped while not connected, and when a write did not
    // fit the message (CutShortMessages.h).
    void Send(QelNetworkMessage& message);

    void DispatchMessages();
    void FrameUpdate();
    void Tick();
    void DecayContacts();
    void LoadStringMap();
    void SaveStringMap();

    // Fed by the object update handler: an object seen but not known. Queued
    // unless it waits in the queue already, its request left no more than
    // kAnswerPatienceTicks ago, or kMaxQueuedRequests wait.
    void RequestFullObject(uint64_t objectId);
    // Fed by the full-object handler.
    void FullObjectArrived(uint64_t objectId);
    // The string map changed; it is saved some frames later.
    void StringMapChanged() { saveCountdown = kSaveDelayFrames; }

    const std::string& MachineName() const { return settings.machineName; }
    // The server operator renamed this console: kept, and remembered in the
    // machine settings for the next start.
    void SetMachineName(const std::string& name);
    // The name this console answers with for this run only (a name made up
    // for a machine that has none is not remembered).
    void SetMachineNameForRun(const std::string& name) { settings.machineName = name; }

    int FramesSinceLastMessage() const { return queues.FramesSinceLastMessage(); }
    const std::vector<uint64_t>& RequestQueue() const { return requestQueue; }
    // Each requested id with the client tick its request left (kNotSentYet
    // while it waits in the queue).
    const std::map<uint64_t, int64_t>& RequestedIds() const { return requestedIds; }
    int32_t DecayBucket() const { return decayBucket; }
    MessageQueues& Queues() { return queues; }
    // What this console refused this run, in one line; "" when nothing.
    std::string DescribeRefusedMessages() const;
    // The render side's transfers, which the server's mesh outlines and chunks
    // are handed to; set by the render side and kept across connections. Null
    // in a program without one: outlines and chunks are then passed by.
    void SetAssetTransfers(ShipAssetTransfers* transfers) { assetTransfers = transfers; }
    ShipAssetTransfers* AssetTransfers() const { return assetTransfers; }
    // This machine's screen, which the server's notices for it reach; set by
    // whoever opens the screen, which takes it back before it goes. Null in a
    // program without one: those notices are then passed by.
    void SetConsoleScreen(ConsoleScreen* screen) { consoleScreen = screen; }
    ConsoleScreen* Screen() const { return consoleScreen; }
    // This machine's mirror of the world, set by its owner; none: the client
    // sorts and ages no objects.
    void SetWorld(Simulation* mirror) { world = mirror; }
    Simulation* World() const { return world; }

    ClientStringMap stringMap;  // kept across runs
    // 0..100: how strongly the console flashes red; raised when the own ship
    // is hit, lowered by one every tick by the console scene.
    float damageFlashLevel = 0.0f;
    std::vector<ScanQueueEntry> scanQueue;  // the ship's science scans still to do, as the server last told
    int32_t saveCountdown = 0;                     // frames until saving; 0 = nothing to save

private:
    bool ReceiveOne(QelNetworkMessage& message);
    void SendHeartbeat();
    void SendFullObjectRequest();
    void RequestMissingShipData();
    void SortStep();

    Settings settings;
    MessageQueues queues;
    QelNetworkClient* endpoint = nullptr;
    ShipAssetTransfers* assetTransfers = nullptr;
    ConsoleScreen* consoleScreen = nullptr;
    Simulation* world = nullptr;
    int32_t heartbeatCounter = 0;
    int32_t requestCounter = 0;
    int32_t requestedSetAge = 0;
    int64_t ticksRun = 0;  // ticks since construction: when requests left
    int32_t decayBucket = 0;
    simulationTimer decayTimer;
    simulationTimer shipDataTimer;
    std::map<uint64_t, int64_t> requestedIds;
    std::vector<uint64_t> requestQueue;  // oldest first
};

// The client the console's commands leave through (the messages begun with
// StartClientMessage), or null: set by the owner of the client, which clears
// it before the client goes. Only this sending path keeps it.
void RouteConsoleCommands(CorvaneClient* client);

// The client's outgoing message, emptied and keyed with the name.
QelNetworkMessage& StartClientMessage(const std::string& name);
// Sends the outgoing message through the routed client; on the computer that
// hosts the world, to its own server as the host's console (kHostClientId).
void SendClientMessage();
// One "signal" message from this console to its server; dropped while a
// console is not connected.
template <typename Signal>
void SendSignal(const Signal& signal)
{
    WriteSignal(StartClientMessage("signal"), signal);
    SendClientMessage();
}
bool IsClientConnected();
