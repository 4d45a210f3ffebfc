// The passes that reach beyond a ship's own vision: what its extra scan
// sources see (friend eyes), what its science range adds for science
// consoles, and the shield values of the ships around it.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ObjectUpdateWriter.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/net/TickTimers.h"
#include "game/net/WorldLookup.h"
#include "game/world/AppData.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>

#include <array>
#include <cmath>

namespace {

using namespace playership;
using shipkeys::ShieldFacingCount;

// Friend eyes run every 15 ticks, so each of the 16 buckets of a ship's
// extended vision is sent once every 240 ticks.
constexpr int64_t kFriendEyesTicks = 15;
// The science range is worked out and its objects sent every two seconds.
constexpr int64_t kScienceRangeTicks = 60;
// The shield pass steps every (4001 / N) / 33 ticks for N ships with
// consoles; every fourth round it looks around the extra scan sources
// instead of the ship.
constexpr int32_t kShieldPassPeriod = 4001;
constexpr uint32_t kShieldRoundsPerSourceRound = 4;

// The science console's engineering slider that powers the sensors; at 1 the
// range is as built, every unit above adds half of it.
constexpr int32_t kSensorPowerControl = 5;
constexpr float kSensorPowerGain = 0.5f;
// A ship without energy sees a fifth as far.
constexpr float kNoEnergyRangeDivisor = 5.0f;

float PlaneDistanceSquared(const glm::vec3& a, const glm::vec3& b)
{
    const float dx = a.x - b.x;
    const float dz = a.z - b.z;
    return dx * dx + dz * dz;
}

// A finished message, copied out of the server's outgoing one to be sent later.
std::unique_ptr<QelNetworkMessage> KeepCopy(const QelNetworkMessage& finished)
{
    auto kept = std::make_unique<QelNetworkMessage>();
    kept->WriteBytes(finished.Data(), finished.writeIndex);
    kept->recipients = finished.recipients;
    return kept;
}

// The science range of the ship, from its sensors, their power and its energy.
float ScienceRange(const SpaceObject& ship, float vision)
{
    const ObjectDataBlob& data = ship.data_set;
    float range = AppData::GetFloat("player-vision-science-coeff") * vision *
                  ReadFiniteFloat(data, kSensorDamageCoeff) * ReadFiniteFloat(data, kSensorUpgradeCoeff) *
                  ReadFiniteFloat(data, kScanStrengthCoeff) *
                  ((ReadFiniteFloat(data, kEngControlValue, kSensorPowerControl) - 1.0f) * kSensorPowerGain + 1.0f);
    if (ReadFiniteFloat(data, kEnergy) <= 0.0f)
        range /= kNoEnergyRangeDivisor;
    // Coefficients a mission pushed to extremes see nothing rather than a
    // range that is no number.
    return std::isfinite(range) ? range : 0.0f;
}

}  // namespace

// One bucket of every ship's extended vision per run; a new round of
// buckets is prepared on the first run of each round.
void CorvaneServer::SendFriendEyesToClients()
{
    if (!friendEyesTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(friendEyesTimer, kFriendEyesTicks);
    if (friendEyesPhase == 0)
        PrepareFriendEyes();
    for (std::deque<FriendEyesBucket>& queue : friendEyesQueues) {
        if (queue.empty())
            continue;
        for (std::unique_ptr<QelNetworkMessage>& message : queue.front())
            SendLocked(*message, kRecordStream);
        queue.pop_front();
    }
    friendEyesPhase = (friendEyesPhase + 1) % kFriendEyesBuckets;
}

// The objects the extra scan sources of each ship see beyond the ship's own
// vision, dealt round the 16 buckets (in id order); each bucket becomes its
// messages, one message unless its records do not fit one.
void CorvaneServer::PrepareFriendEyes()
{
    friendEyesQueues.clear();
    const float vision = settings.visionBaseDistance;
    for (uint64_t shipId : grouping.shipList) {
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!ship)
            continue;
        const std::vector<uint64_t>& recipients = grouping.shipToClients.at(shipId);
        QEL_ASSERT(!recipients.empty(),
                   "!clientList.empty() && \"CorvaneServer::SendFriendEyesToClients(), clientList is empty.\"");
        const ClientRecord* first = FindClient(recipients.front());
        if (first && first->gameMasterFlag)
            continue;
        ObjectIdSet seen;
        CollectAroundExtraScanSources(*ship, seen);
        std::array<std::vector<const SpaceObject*>, kFriendEyesBuckets> buckets;
        size_t next = 0;
        for (const auto& [id, object] : seen) {
            if (glm::length(object->pos - ship->pos) <= vision)
                continue;
            buckets[next].push_back(object);
            next = (next + 1) % buckets.size();
        }
        const bool sendStatic = ReadInt(ship->data_set, kHighInformationShipFlag) != 0;
        std::deque<FriendEyesBucket>& queue = friendEyesQueues.emplace_back();
        for (const std::vector<const SpaceObject*>& bucket : buckets) {
            FriendEyesBucket& messages = queue.emplace_back();
            ObjectUpdateWriter writer(recipients,
                                      [&messages](QelNetworkMessage& finished) { messages.push_back(KeepCopy(finished)); });
            for (const SpaceObject* object : bucket)
                if (sendStatic || !object->IsStatic())
                    writer.Add(*object, kRecordMarkerNearby);
            writer.Finish();
        }
    }
}

// Science consoles see what lies between their ship's vision and its science
// range, which the ship's data set shows.
void CorvaneServer::SendScienceRangeUpdates()
{
    if (!scienceRangeTimer.IsExpired())
        return;
    ArmTimerTicksFromNow(scienceRangeTimer, kScienceRangeTicks);
    const float vision = settings.visionBaseDistance;
    SuperContainer& container = *world->Container();
    for (const auto& [clientId, record] : clients) {
        SpaceObject* ship = record->scienceFlag ? FindSpaceObjectById(record->shipId) : nullptr;
        if (!ship)
            continue;
        const float range = ScienceRange(*ship, vision);
        DeclareFloat(ship->data_set, kShipScienceScanRange, range);
        container.Query(PlaneBox::Around(ship->pos.x, ship->pos.z, range));
        const std::vector<uint64_t> recipient{clientId};
        ObjectUpdateWriter writer(*this, recipient);
        int32_t count = 0;
        for (const SuperContainerObject* object : container.QueryResults()) {
            const float distanceSquared = PlaneDistanceSquared(object->pos, ship->pos);
            if (!(distanceSquared > vision * vision && distanceSquared <= range * range))
                continue;
            if (++count % ObjectUpdateWriter::kRecordsPerSlice == 0)
                writer.Split();
            writer.Add(static_cast<const SpaceObject&>(*object), kRecordMarkerScienceRange);
        }
        writer.Finish();
    }
}

// One ship per step: every shield facing of the objects around it (or around
// its extra scan sources, every fourth round), one value per message.
void CorvaneServer::SendShieldValues()
{
    ServeDueShips(shieldCursor, grouping, kShieldPassPeriod, [this](uint64_t shipId, const auto& recipients) {
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!ship)
            return;
        ObjectIdSet around;
        if (shieldCursor.rounds % kShieldRoundsPerSourceRound == kShieldRoundsPerSourceRound - 1)
            CollectAroundExtraScanSources(*ship, around);
        else
            CollectObjectsInRadius(ship->pos, settings.visionBaseDistance, around);
        QelNetworkMessage& message = ServerOutgoingMessage();
        for (const auto& [id, object] : around) {
            const int32_t facings = ShieldFacingCount(object->data_set);
            for (int32_t facing = 0; facing < facings; ++facing) {
                StartServerMessage(message, "signal", 0);
                WriteSignal(message, FloatValueToClientSignal{id, std::string(kShieldVal.name), facing,
                                                              ReadFloat(object->data_set, kShieldVal, facing)});
                message.recipients = recipients;
                SendLocked(message, kUnreliable);
            }
        }
    });
}
