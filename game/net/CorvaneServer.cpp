#include "game/net/CorvaneServer.h"

#include "engine/net/QelNetworkFactoryBase.h"
#include "engine/net/QelNetworkServer.h"
#include "game/net/BeamMessage.h"
#include "game/net/CutShortMessages.h"
#include "game/net/LanServerDiscovery.h"
#include "game/net/MessageHooks.h"
#include "game/net/ServerScriptHost.h"
#include "game/net/SignalMessage.h"
#include "game/net/TickTimers.h"
#include "game/world/AppData.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <cstdio>

CorvaneServer* gServer = nullptr;

namespace {

// The world's senders name the transport's packet flags.
static_assert(ServerMessageSink::kUnreliable == QelNetworkServer::kUnreliable);
static_assert(ServerMessageSink::kReliable == QelNetworkServer::kReliable);
static_assert(ServerMessageSink::kRecordStream == QelNetworkServer::kRecordStream);

constexpr const char* kEndpointName = "server";

QelNetworkMessage serverOutgoingMessage;

}  // namespace

QelNetworkMessage& ServerOutgoingMessage()
{
    return serverOutgoingMessage;
}

void StartServerMessage(QelNetworkMessage& message, const std::string& name, uint64_t clientId)
{
    message.Reset();
    message.recipients.clear();
    if (clientId != 0)
        message.recipients.push_back(clientId);
    message.WriteInt64(HashMessageName(name));
}

void SendServerMessageToAll(uint32_t packetFlags)
{
    if (gServer)
        gServer->SendToAll(serverOutgoingMessage, packetFlags);
}

void SendServerMessageToShip(QelNetworkMessage& message, uint64_t shipId, uint32_t packetFlags)
{
    if (gServer)
        gServer->SendToShip(message, shipId, packetFlags);
}

CorvaneServer::Settings CorvaneServer::Settings::FromPreferences()
{
    Settings settings;
    settings.port = static_cast<uint16_t>(AppData::GetInt("serverNetworkPort"));
    settings.dispatchLimit = AppData::GetInt("server-network-mess-per-frame");
    settings.scriptTickDelay = AppData::GetInt("scriptTickDelay");
    settings.visionBaseDistance = AppData::GetFloat("player-vision-base-distance");
    settings.serverName = AppData::GetString("server-network-name");
    settings.lanDiscovery = true;
    return settings;
}

CorvaneServer::CorvaneServer(const Settings& chosen)
    : settings(chosen), queues("server")
{
    queues.SetDispatchLimit(settings.dispatchLimit);
    if (settings.scriptTickDelay > 0)
        scriptTickDelay = settings.scriptTickDelay;
}

CorvaneServer::~CorvaneServer()
{
    StopHosting();
    if (gServer == this)
        gServer = nullptr;
}

void CorvaneServer::StartHosting()
{
    QEL_ASSERT(gNetworkFactory, "gNetworkFactory; CorvaneServer::StartHosting");
    StopHosting();
    endpoint = gNetworkFactory->GetServer(kEndpointName, settings.port);
    // An endpoint that could not bind its port tries again, so hosting can
    // start once the port is free.
    if (endpoint->IsNotRunning()) {
        gNetworkFactory->DestroyServer(kEndpointName);
        endpoint = gNetworkFactory->GetServer(kEndpointName, settings.port);
    }
    endpoint->SetLinkTimeout(settings.linkTimeoutMs);
    hosting = true;
    if (endpoint->IsNotRunning())
        std::fprintf(stderr, "server: %s; consoles cannot connect\n", HostingFailure().c_str());
    if (settings.lanDiscovery) {
        std::string localAddress;
        gNetworkFactory->GetLocalAddress(localAddress);
        LanServerDiscovery::Instance().OpenServerRole(localAddress, settings.serverName);
    }
    if (!IsNetworkDown())
        queues.StartReceiving([this](QelNetworkMessage& message) { return ReceiveOne(message); });
}

void CorvaneServer::StopHosting()
{
    queues.StopReceiving();
    hosting = false;
}

bool CorvaneServer::ReceiveOne(QelNetworkMessage& message)
{
    uint64_t sender = 0;
    return endpoint->Receive(message, sender);
}

bool CorvaneServer::IsNetworkDown()
{
    if (!endpoint)
        return true;
    std::lock_guard<std::mutex> lock(queues.Mutex());
    return endpoint->IsNotRunning();
}

std::string CorvaneServer::HostingFailure()
{
    if (!endpoint)
        return "hosting has not started";
    std::lock_guard<std::mutex> lock(queues.Mutex());
    if (!endpoint->IsNotRunning())
        return "";
    return "UDP port " + std::to_string(settings.port) + " could not be opened: " + endpoint->OpenFailure();
}

std::string CorvaneServer::DescribeRefusedMessages() const
{
    return queues.DescribeRefused(endpoint ? endpoint->OversizedPacketsDropped() : 0);
}

uint16_t CorvaneServer::Port()
{
    if (!endpoint)
        return 0;
    std::lock_guard<std::mutex> lock(queues.Mutex());
    return endpoint->BoundPort();
}

void CorvaneServer::SendLocked(QelNetworkMessage& message, uint32_t packetFlags)
{
    if (!hosting || !endpoint || !IsWholeForSending(message, "server"))
        return;
    std::lock_guard<std::mutex> lock(queues.Mutex());
    endpoint->Send(message, packetFlags);
}

void CorvaneServer::SendToAll(QelNetworkMessage& message, uint32_t packetFlags)
{
    if (clients.empty())
        return;
    message.recipients.clear();
    for (const auto& entry : clients)
        message.recipients.push_back(entry.first);
    SendLocked(message, packetFlags);
}

void CorvaneServer::SendToShip(QelNetworkMessage& message, uint64_t shipId, uint32_t packetFlags)
{
    message.recipients.clear();
    for (const auto& [id, record] : clients)
        if (record->shipId == shipId)
            message.recipients.push_back(id);
    if (!message.recipients.empty())
        SendLocked(message, packetFlags);
}

void CorvaneServer::SendToClient(QelNetworkMessage& message, uint64_t clientId, uint32_t packetFlags)
{
    message.recipients.assign(1, clientId);
    SendLocked(message, packetFlags);
}

QelNetworkMessage& CorvaneServer::StartMessage()
{
    serverOutgoingMessage.Reset();
    serverOutgoingMessage.recipients.clear();
    return serverOutgoingMessage;
}

void CorvaneServer::DispatchMessages()
{
    if (settings.lanDiscovery)
        ServerDiscovery();
    queues.Dispatch(CallServerHook);
}

int64_t CorvaneServer::WorldTick() const
{
    return world ? world->TickCount() : 0;
}

void CorvaneServer::FrameUpdate()
{
    if (!hosting || IsNetworkDown())
        return;
    DispatchMessages();
    if (!world || !world->Container())
        return;
    DestroyPendingObjects();
    RunReplicationPasses();
}

// Ids queued while the objects die (a death that kills another) are taken by
// the next round.
void CorvaneServer::DestroyPendingObjects()
{
    while (!pendingDestroys.empty()) {
        std::vector<uint64_t> round;
        round.swap(pendingDestroys);
        for (uint64_t id : round)
            DestroyObject(id);
    }
}

void CorvaneServer::DestroyObject(uint64_t id)
{
    if (!world || !world->Container() || !VALID_SPACE_OBJ(id))
        return;
    SuperContainer* container = world->Container();
    // An object on standby dies as one in space does: the mission hears of it.
    SuperContainerObject* entry = container->Find(id);
    if (!entry)
        entry = container->FindInStandby(id);
    if (!entry)
        return;
    QelNetworkMessage& message = serverOutgoingMessage;
    StartServerMessage(message, "signal", 0);
    WriteSignal(message, ObjectRemovedSignal{id});
    // Sent once: a lost removal would leave the object on the console (for
    // ever, when it is static).
    SendToAll(message, kReliable);

    // The damage hook and the mission may delete objects, even this one.
    // Damage belongs to the authoritative world only.
    SpaceObject* object = static_cast<SpaceObject*>(entry);
    if (world->serverFlag)
        world->ApplyDamage(object, 0.0f, nullptr, 0, object->pos, "", "destroyed");
    if (world && world->Container())
        world->DeleteSpaceObject(id);
}

void CorvaneServer::QueueDestroy(uint64_t spaceObjectId)
{
    pendingDestroys.push_back(spaceObjectId);
}

bool CorvaneServer::FirstQueuedScan(uint64_t shipId, uint64_t& targetId, std::string& scanType)
{
    auto queue = scanQueues.find(shipId);
    if (queue == scanQueues.end() || queue->second.empty())
        return false;
    targetId = queue->second.front().objectId;
    scanType = queue->second.front().scanType;
    return true;
}

void CorvaneServer::DropQueuedScans(uint64_t shipId, uint64_t targetId, const std::string& scanType)
{
    auto queue = scanQueues.find(shipId);
    if (queue == scanQueues.end())
        return;
    std::erase_if(queue->second, [&](const ScanQueueEntry& entry) {
        return entry.objectId == targetId && entry.scanType == scanType;
    });
}

// The replication schedule. Each pass decides for itself whether it is due;
// the order is part of the protocol, since consoles see effects in it.
void CorvaneServer::RunReplicationPasses()
{
    CollectTargetedObjects();
    SendObjectUpdatesToClients();
    SendObjectBLOBUpdatesToClients();
    SendFastObjectUpdates();
    if (world->sideTablesChanged)
        SendIndexedTables(0);
    SendFriendEyesToClients();
    SendOwnShipUpdates();
    SendOwnShipFullObjects();
    SendScienceRangeUpdates();
    SendTargetFullObjects();
    SendNavPointsAndStringMap();
    SendNavProxies();
    SendShieldValues();
    SendQueuedFullObjects();
    AnswerFullObjectRequests();
    AnswerShipRecordRequests();
    SendGridObjectsToClients();
    SendPings();
    SendGameMasterUpdates();
    SendGameMasterData();
    SendScanLists();
}

// Every 30 ticks each console gets a fresh key to echo back.
void CorvaneServer::SendPings()
{
    if (!world || !pingTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(pingTimer, kPingIntervalTicks);
    for (const auto& entry : clients) {
        QelNetworkMessage& message = serverOutgoingMessage;
        StartServerMessage(message, "signal", entry.first);
        WriteSignal(message, PingSignal{pings.IssueKey()});
        SendLocked(message, kUnreliable);
    }
}

void CorvaneServer::ApplyPingEcho(uint64_t clientId, int32_t key)
{
    if (ClientRecord* record = FindClient(clientId))
        pings.ApplyEcho(key, record->ping);
}

void CorvaneServer::Tick()
{
    if (!endpoint)
        return;
    if (scriptHost && scriptHost->ScriptsLoaded())
        scriptHost->ProcessEventQueue();
    clientListAge = std::min(clientListAge + 1, kClientListAgeCap);
    RunScriptTick();
    if (hosting)
        CheckTimeouts();
}

void CorvaneServer::RunScriptTick()
{
    if (++scriptTickCounter <= scriptTickDelay)
        return;
    scriptTickCounter = 0;
    if (scriptHost && scriptHost->ScriptsLoaded()) {
        EventMessage tick;
        tick.tag = "mission_tick";
        tick.sub_tag = scriptHost->SimRunning() ? "sim_running" : "sim_paused";
        tick.event_time = WorldTick();
        tick.source_point = glm::vec3(windowWidth, windowHeight, 0.0f);
        scriptHost->HandleEvent(tick);
        std::vector<std::string>& trees = scriptHost->DebugTreeRequests();
        while (!trees.empty()) {
            EventMessage tree;
            tree.tag = "debug_rgui_tree";
            tree.sub_tag = trees.front();
            tree.event_time = WorldTick();
            trees.erase(trees.begin());
            scriptHost->HandleEvent(tree);
        }
    }
    if (scriptHost)
        scriptHost->HandleDMX();
}

void CorvaneServer::CheckTimeouts()
{
    if (++timeoutCounter <= kTimeoutCheckTicks)
        return;
    timeoutCounter = 0;
    std::vector<uint64_t> silent;
    for (auto& [id, record] : clients)
        if (++record->idleCount > kMaxIdleChecks || id == 0)
            silent.push_back(id);
    for (uint64_t id : silent)
        DropClient(id);
}

// A dropped console is also disconnected, so that it learns it was dropped
// instead of talking on to a server that ignores it.
void CorvaneServer::DropClient(uint64_t clientId)
{
    clientListAge = 0;
    clients.erase(clientId);
    if (endpoint && VALID_CLIENT(clientId)) {
        std::lock_guard<std::mutex> lock(queues.Mutex());
        endpoint->DisconnectClient(clientId);
    }
}

void CorvaneServer::HandleClientConnect(uint64_t clientId)
{
    if (!VALID_CLIENT(clientId) || clients.count(clientId))
        return;
    clients.emplace(clientId, std::make_unique<ClientRecord>(clientId));
    clientListAge = 0;
    for (std::vector<uint64_t>& list : newClientLists)
        list.push_back(clientId);
    SendWelcome(clientId);
    RaiseScriptEvent("client_connect", clientId);
    SendIndexedTables(clientId);
}

// The three signals a new console starts from: forget the last server, take
// the pause state, empty the string map (the full map follows). Each is sent
// once, so reliably: a console that missed one would keep the last server's
// state, or play on while paused.
void CorvaneServer::SendWelcome(uint64_t clientId)
{
    QelNetworkMessage& message = serverOutgoingMessage;
    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, ConnectResetSignal{});
    SendLocked(message, kReliable);

    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, PauseStateSignal{world && world->paused ? 1 : 0});
    SendLocked(message, kReliable);

    StartServerMessage(message, "signal", clientId);
    WriteSignal(message, StringMapSignal{"clear", "stringmap"});
    SendLocked(message, kReliable);
}

void CorvaneServer::HandleClientDisconnect(uint64_t clientId)
{
    if (clients.erase(clientId))
        clientListAge = 0;
}

void CorvaneServer::RaiseScriptEvent(const std::string& tag, uint64_t clientId)
{
    if (!scriptHost)
        return;
    EventMessage event;
    event.tag = tag;
    event.client_id = clientId;
    event.event_time = WorldTick();
    if (tag == "song_ended") {
        const ClientRecord* record = FindClient(clientId);
        event.origin_id = record ? record->shipId : 0;
    }
    scriptHost->HandleEvent(event);
}

void CorvaneServer::RaiseEventFromClient(uint64_t clientId, EventMessage event)
{
    if (!scriptHost)
        return;
    event.client_id = clientId;
    event.event_time = WorldTick();
    scriptHost->HandleEvent(event);
}

void CorvaneServer::RaiseScreenSizeEvent(uint64_t clientId, int32_t width, int32_t height)
{
    EventMessage event;
    event.tag = "screen_size";
    event.source_point = glm::vec3(static_cast<float>(width), static_cast<float>(height), 0.0f);
    RaiseEventFromClient(clientId, event);
}

// Only a hosting server dispatches its queue: anything queued before would
// pile up unhandled.
void CorvaneServer::ReceiveFromHost(const QelNetworkMessage& message)
{
    if (!hosting || IsNetworkDown())
        return;
    bool taken = false;
    queues.ReceiveCycle([&](QelNetworkMessage& queued) {
        if (taken)
            return false;
        queued.Reset();
        queued.WriteBytes(message.Data(), message.writeIndex);
        queued.sender = kHostClientId;
        taken = true;
        return true;
    });
}

ClientRecord& CorvaneServer::HostRecord()
{
    hostRecord.shipId = world ? world->subjectID : 0;
    return hostRecord;
}

ClientRecord* CorvaneServer::FindClient(uint64_t clientId) const
{
    auto found = clients.find(clientId);
    return found == clients.end() ? nullptr : found->second.get();
}

void CorvaneServer::ResetClientIdle(uint64_t clientId)
{
    QEL_ASSERT(VALID_CLIENT(clientId), "VALID_CLIENT(clientID)");
    if (ClientRecord* record = FindClient(clientId))
        record->idleCount = 0;
}

void CorvaneServer::SongEnded(uint64_t clientId)
{
    QEL_ASSERT(VALID_CLIENT(clientId) || 0 == clientId, "VALID_CLIENT(clientID) || 0 == clientID");
    RaiseScriptEvent("song_ended", clientId);
}

void CorvaneServer::SetWindowSize(float width, float height)
{
    windowWidth = width;
    windowHeight = height;
}

void CorvaneServer::SendBeam(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                             uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint,
                             const glm::vec3& secondPoint, int32_t value)
{
    if (world)
        world->AddEffectEvent(kind, secondText, thirdText, firstId, secondId, firstPoint, secondPoint, value);
    QelNetworkMessage& message = serverOutgoingMessage;
    StartServerMessage(message, "beam", 0);
    WriteBeamMessage(message, {kind, secondText, thirdText, firstId, secondId, firstPoint, secondPoint, value});
    SendToAll(message, kUnreliable);
}
