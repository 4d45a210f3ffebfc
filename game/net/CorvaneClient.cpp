#include "game/net/CorvaneClient.h"

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ClientStringFile.h"
#include "game/net/CorvaneServer.h"
#include "game/net/CutShortMessages.h"
#include "game/net/LanServerDiscovery.h"
#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"
#include "game/net/TickTimers.h"
#include "game/world/AppData.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QelNetworkMessage clientOutgoingMessage;
CorvaneClient* commandClient = nullptr;

constexpr const char* kMachineNameSetting = "clientMachineName";

// The whole steps of the squared distance. Positions are finite but may be
// far beyond any sector (the server sends what it has), so the step is kept
// as a whole double: an integer could not hold it, and converting one that
// does not fit is undefined.
double SquaredDistanceStep(const SuperContainerObject& object, const glm::vec3& from)
{
    const glm::dvec3 d = glm::dvec3(object.pos) - glm::dvec3(from);
    return std::trunc(glm::dot(d, d) / CorvaneClient::kSortStepSquared);
}

// Objects are spread over the decay buckets by the running number of their
// ids, without the kind bits.
int32_t DecayBucketOf(uint64_t id)
{
    constexpr uint64_t kNumberBits = kGridObjectIdBit - 1;
    return static_cast<int32_t>((id & kNumberBits) % CorvaneClient::kDecayBucketCount);
}

}  // namespace

QelNetworkMessage& StartClientMessage(const std::string& name)
{
    clientOutgoingMessage.Reset();
    clientOutgoingMessage.recipients.clear();
    clientOutgoingMessage.WriteInt64(HashMessageName(name));
    return clientOutgoingMessage;
}

// On the computer that hosts the world the console's commands take the same
// path as a remote console's, through the server's queue instead of a socket,
// so no control of the server's own screen silently does nothing.
void SendClientMessage()
{
    if (HostsAuthoritativeWorld() && gServer && !IsClientConnected()) {
        if (IsWholeForSending(clientOutgoingMessage, "client"))
            gServer->ReceiveFromHost(clientOutgoingMessage);
        return;
    }
    if (commandClient)
        commandClient->Send(clientOutgoingMessage);
}

bool IsClientConnected()
{
    return commandClient && commandClient->IsConnected();
}

void RouteConsoleCommands(CorvaneClient* client)
{
    commandClient = client;
}

CorvaneClient::Settings CorvaneClient::Settings::FromPreferences()
{
    Settings settings;
    settings.port = static_cast<uint16_t>(AppData::GetInt("serverNetworkPort"));
    settings.dispatchLimit = AppData::GetInt("client-network-mess-per-frame");
    settings.contactDecayDelay = AppData::GetInt("clientContactDecayDelay");
    settings.stringMapFile = qel::DataFolder() / "client_string_set.txt";
    settings.lanDiscovery = true;
    QelFileServices::Instance().GetRegistryValue(kMachineNameSetting, settings.machineName);
    return settings;
}

std::string CorvaneClient::DescribeRefusedMessages() const
{
    return queues.DescribeRefused(endpoint ? endpoint->OversizedPacketsDropped() : 0);
}

void CorvaneClient::SetMachineName(const std::string& name)
{
    settings.machineName = name;
    if (!QelFileServices::Instance().SetRegistryValue(kMachineNameSetting, name))
        std::fprintf(stderr, "client: could not store the machine name \"%s\"; it holds for this run only\n",
                     name.c_str());
}

CorvaneClient::CorvaneClient(const Settings& chosen) : settings(chosen), queues("client")
{
    QEL_ASSERT(gNetworkFactory, "gNetworkFactory; CorvaneClient::CorvaneClient");
    endpoint = gNetworkFactory->GetClient(settings.endpointName, settings.port);
    endpoint->SetLinkTimeout(settings.linkTimeoutMs);
    queues.SetDispatchLimit(settings.dispatchLimit);
    LoadStringMap();
    if (settings.lanDiscovery)
        LanServerDiscovery::Instance().OpenClientRole();
    queues.StartReceiving([this](QelNetworkMessage& message) { return ReceiveOne(message); });
}

CorvaneClient::~CorvaneClient()
{
    queues.StopReceiving();
    if (commandClient == this)
        commandClient = nullptr;
}

bool CorvaneClient::ReceiveOne(QelNetworkMessage& message)
{
    return endpoint->Receive(message);
}

bool CorvaneClient::Connect(const std::string& address)
{
    std::lock_guard<std::mutex> lock(queues.Mutex());
    return endpoint->Connect(address);
}

void CorvaneClient::Disconnect()
{
    std::lock_guard<std::mutex> lock(queues.Mutex());
    endpoint->Disconnect();
}

bool CorvaneClient::IsConnected()
{
    std::lock_guard<std::mutex> lock(queues.Mutex());
    return endpoint->IsConnected();
}

void CorvaneClient::Send(QelNetworkMessage& message)
{
    if (!IsWholeForSending(message, "client"))
        return;
    std::lock_guard<std::mutex> lock(queues.Mutex());
    endpoint->Send(message);
}

void CorvaneClient::DispatchMessages()
{
    if (settings.lanDiscovery)
        ServerDiscovery();
    queues.Dispatch(
        [this](uint64_t key, QelNetworkMessage& message) { return CallClientHook(key, message, this); });
}

void CorvaneClient::FrameUpdate()
{
    if (settings.lanDiscovery)
        ServerDiscovery();
    AddPerSecondCounter(static_cast<float>(queues.GetRunState()), "client thread state");
    if (saveCountdown > 0 && --saveCountdown == 0)
        SaveStringMap();
    queues.NoteFrame();
    DispatchMessages();
    if (world && world->Container() && !world->serverFlag) {
        if (decayTimer.IsExpired()) {
            ArmTimerTicksFromNow(decayTimer, kHousekeepingTicks);
            DecayContacts();
        }
        if (shipDataTimer.IsExpired()) {
            ArmTimerTicksFromNow(shipDataTimer, kHousekeepingTicks);
            RequestMissingShipData();
        }
    }
    SortStep();
}

// A key is asked for once per run; its miss counter is pushed back either way
// so that it does not trigger again at once.
void CorvaneClient::RequestMissingShipData()
{
    ShipData& ships = ShipData::Instance();
    for (auto& [key, misses] : ships.missCounters) {
        if (misses <= 0)
            continue;
        if (ships.requestedFlags[key] != 1) {
            QelNetworkMessage& message = StartClientMessage("signal");
            WriteSignal(message, ShipRecordRequestSignal{key});
            Send(message);
            ships.requestedFlags[key] = 1;
        }
        misses = kMissCounterAfterRequest;
    }
}

// One comparison per frame: the list converges to an order by distance from
// the own ship, in steps of 2000 units; equal steps never swap.
void CorvaneClient::SortStep()
{
    if (!world || !world->Container() || world->subjectID == 0)
        return;
    const SpaceObject* ownShip = world->GetSpaceObject(world->subjectID);
    if (!ownShip)
        return;
    SuperContainer& container = *world->Container();
    const int32_t cursor = container.SortCursor() + 1;
    const auto& objects = container.Objects();
    if (cursor >= static_cast<int32_t>(objects.size())) {
        container.SetSortCursor(0);
        return;
    }
    container.SetSortCursor(cursor);
    if (cursor >= 1 && SquaredDistanceStep(*objects[cursor], ownShip->pos) <
                           SquaredDistanceStep(*objects[cursor - 1], ownShip->pos))
        container.SwapWithPrevious(cursor);
}

void CorvaneClient::Tick()
{
    ++ticksRun;
    if (++heartbeatCounter > kHeartbeatTicks) {
        heartbeatCounter = 0;
        SendHeartbeat();
    }
    if (++requestCounter > kRequestTicks) {
        requestCounter = 0;
        SendFullObjectRequest();
    }
    if (++requestedSetAge > kRequestedSetAgeTicks) {
        requestedSetAge = 0;
        requestedIds.clear();
    }
}

void CorvaneClient::SendHeartbeat()
{
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, HeartbeatSignal{});
    Send(message);
}

void CorvaneClient::SendFullObjectRequest()
{
    FullObjectRequestSignal request;
    const size_t count = std::min(requestQueue.size(), FullObjectRequestSignal::kMaxIdsPerRequest);
    request.objectIds.assign(requestQueue.begin(), requestQueue.begin() + static_cast<std::ptrdiff_t>(count));
    for (uint64_t id : request.objectIds)
        if (auto requested = requestedIds.find(id); requested != requestedIds.end())
            requested->second = ticksRun;
    requestQueue.erase(requestQueue.begin(), requestQueue.begin() + static_cast<std::ptrdiff_t>(count));
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, request);
    Send(message);
}

void CorvaneClient::RequestFullObject(uint64_t objectId)
{
    if (requestQueue.size() >= kMaxQueuedRequests)
        return;
    auto [requested, isNew] = requestedIds.try_emplace(objectId, kNotSentYet);
    if (!isNew && (requested->second == kNotSentYet || ticksRun - requested->second <= kAnswerPatienceTicks))
        return;
    requested->second = kNotSentYet;
    requestQueue.push_back(objectId);
}

void CorvaneClient::FullObjectArrived(uint64_t objectId)
{
    requestedIds.erase(objectId);
}

// Forgets moving objects the server has not updated for longer than the delay
// (it stopped sending them: out of sensor range, or gone), one bucket of ids
// per step, so each object is looked at every ten steps.
void CorvaneClient::DecayContacts()
{
    if (!world || !world->Container())
        return;
    decayBucket = (decayBucket + 1) % kDecayBucketCount;
    const int64_t now = world->TickCount();
    std::vector<uint64_t> stale;
    for (const SuperContainerObject* object : world->Container()->Objects()) {
        if (DecayBucketOf(object->uniqueID) != decayBucket)
            continue;
        const auto* spaceObject = static_cast<const SpaceObject*>(object);
        if (!spaceObject->IsStatic() && now - spaceObject->lastUpdateTick > settings.contactDecayDelay)
            stale.push_back(object->uniqueID);
    }
    for (uint64_t id : stale)
        world->DeleteSpaceObject(id);
}

// A missing file leaves the map empty.
void CorvaneClient::LoadStringMap()
{
    if (!settings.stringMapFile.empty())
        stringMap = ReadClientStringFile(settings.stringMapFile);
}

void CorvaneClient::SaveStringMap()
{
    if (!settings.stringMapFile.empty())
        WriteClientStringFile(settings.stringMapFile, stringMap);
}
