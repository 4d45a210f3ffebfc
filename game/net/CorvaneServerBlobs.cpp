// Data-set replication: the senders that pick the values due to each console
// and carry them as "objectBlob", and the sensor pass that sends the visible
// values of the objects each ship can see.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/WorldLookup.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

// A value not sent to a console for this long is sent again even unchanged
// (about 2.8 hours).
constexpr int64_t kResendAfterTicks = 300000;
// The sensor pass steps every (2001 / N) / 33 ticks for N ships with consoles.
constexpr int32_t kSensorPassPeriod = 2001;
// The most one entry can take: a message holds its header, the entry and the
// end marker.
constexpr int32_t kMaxEntrySize =
    QelNetworkMessage::kMessageBufferSize - ObjectBlobHeader::kSize - kBlobEndMarkerSize;

// The keys every console may see of any object it can see, in sending order.
constexpr std::string_view visibleDataKeys[] = {
    "name_tag", "surrender_flag", "beamColor", "radar_color_override", "color_flare_r", "color_flare_g",
    "color_flare_b", "color_trail_r", "color_trail_g", "color_trail_b", "dock_state", "dock_base_id",
    "local_scale_coeff", "local_scale_x_coeff", "local_scale_y_coeff", "local_scale_z_coeff", "is_fighter_flag",
    "is_shuttle_flag", "jump_drive_active", "warp_drive_active", "particle_color_1", "particle_color_2",
    "particle_color_3", "body_1_geom_filename", "body_1_diffuse_bitmap_file", "body_1_color", "body_1_size_coeff",
    "body_2_geom_filename", "body_2_diffuse_bitmap_file", "body_2_color", "body_2_size_coeff",
    "overgrid_offset_x", "overgrid_offset_z", "unselectable", "display_size", "elite_low_vis",
    "elite_low_vis_distance", "elite_main_scn_invis", "shields_raised_flag", "beamCount", "shield_freq_strength",
    "beamRange", "beamArcWidth", "beamBarrelAngle", "beamHullPointX", "beamHullPointY", "beamHullPointZ",
    "beamColorR", "beamColorG", "beamColorB", "beamColorA", "playerThrottle", "playerInReverse",
    "impulse_while_docked", "warp_while_docked", "jump_while_docked", "weapon_target_UID", "science_target_UID",
    "comms_target_UID", "normal_target_UID", "gui-color-science-reticle", "cur_scan_percent", "cur_scan_type",
    "cur_scan_ID", "grid_selected_UID", "torpedo_selected_type", "energy"};

constexpr auto kVisibleKeyHashes = [] {
    std::array<uint64_t, std::size(visibleDataKeys)> keys{};
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = HashMessageName(visibleDataKeys[i]);
    return keys;
}();

// The visible keys, then the keys the object's behaviours added; a key in
// both goes out once, in its first place.
std::vector<uint64_t> VisibleKeysOf(const SpaceObject& owner)
{
    std::vector<uint64_t> keys(kVisibleKeyHashes.begin(), kVisibleKeyHashes.end());
    for (const std::string& name : owner.keyNames) {
        const uint64_t key = HashMessageName(name);
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    return keys;
}

struct DueElement {
    uint64_t tagKey = 0;
    int32_t index = 0;
    ObjectDataBlobElement* element = nullptr;
};

// 0 when the value never went to the console.
int64_t SentTick(const ObjectDataBlobElement& element, uint64_t clientId)
{
    const auto sent = element.sentTicks.find(clientId);
    return sent == element.sentTicks.end() ? 0 : sent->second;
}

bool IsDueForBlob(const ObjectDataBlobElement& element, uint64_t clientId, bool force, int64_t now)
{
    const int64_t sent = SentTick(element, clientId);
    return force || sent == 0 || sent <= element.changeTick || sent + kResendAfterTicks < now;
}

bool IsDueForVisibleData(const ObjectDataBlobElement& element, uint64_t clientId)
{
    const int64_t sent = SentTick(element, clientId);
    return sent == 0 || sent <= element.changeTick;
}

template <typename IsDue>
void CollectDue(uint64_t tagKey, int32_t index, ObjectDataBlobElement& element, IsDue isDue,
                std::vector<DueElement>& due)
{
    if (element.dataType != ODBE_NONE && isDue(element))
        due.push_back({tagKey, index, &element});
}

void ReportOversizeValue(const ObjectBlobHeader& header, const DueElement& value)
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "objectBlob: a value of object %llu (tag %llu, index %d) is too long for any message "
                 "and is not sent; later ones are skipped quietly\n",
                 static_cast<unsigned long long>(header.ownerId), static_cast<unsigned long long>(value.tagKey),
                 value.index);
}

// The due values go out in as many messages as they need, each closed and
// sent before it would overflow; each value sent is stamped for the console.
// A value is stamped once, when it goes, and sent again only when it changes:
// so it travels reliably, or a lost message would leave the console with the
// old value for as long as it stays the same.
void SendDueElements(CorvaneServer& server, const ObjectBlobHeader& header, const std::vector<DueElement>& due,
                     uint64_t clientId)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    const int64_t now = server.WorldTick();
    bool open = false;
    auto closeAndSend = [&] {
        CloseObjectBlobMessage(message);
        message.recipients.assign(1, clientId);
        server.SendLocked(message, ServerMessageSink::kReliable);
        open = false;
    };
    for (const DueElement& value : due) {
        const int32_t size = ObjectBlobEntrySize(*value.element);
        if (size > kMaxEntrySize) {
            ReportOversizeValue(header, value);
            continue;
        }
        if (open && message.BytesLeftToWrite() < size + kBlobEndMarkerSize)
            closeAndSend();
        if (!open) {
            StartObjectBlobMessage(message, header);
            open = true;
        }
        WriteObjectBlobEntry(message, value.tagKey, value.index, *value.element);
        value.element->sentTicks[clientId] = now;
    }
    if (open)
        closeAndSend();
}

}  // namespace

void CorvaneServer::SendBlob(int32_t kind, ObjectDataBlob& dataSet, uint64_t ownerId, uint64_t shipId,
                             const std::vector<uint64_t>& clientIds, bool force)
{
    if (kind != kBlobOfGridObject && !force) {
        SendBlobVisibleData(kind, dataSet, ownerId, shipId, clientIds);
        return;
    }
    const ObjectBlobHeader header{ownerId, shipId, kind};
    const int64_t now = WorldTick();
    for (uint64_t clientId : clientIds) {
        QEL_ASSERT(clientId != 0, "m && \"CorvaneServer::SendBlob(),  userIDlist contains a NULL!\"");
        std::vector<DueElement> due;
        dataSet.ForEachElement([&](uint64_t tagKey, int32_t index, ObjectDataBlobElement& element) {
            CollectDue(tagKey, index, element,
                       [&](const ObjectDataBlobElement& e) { return IsDueForBlob(e, clientId, force, now); }, due);
        });
        SendDueElements(*this, header, due, clientId);
    }
}

void CorvaneServer::SendBlobVisibleData(int32_t kind, ObjectDataBlob& dataSet, uint64_t ownerId, uint64_t shipId,
                                        const std::vector<uint64_t>& clientIds)
{
    const SpaceObject* owner = FindSpaceObjectById(ownerId);
    if (!owner)
        return;
    const std::vector<uint64_t> tagKeys = VisibleKeysOf(*owner);
    const ObjectBlobHeader header{ownerId, shipId, kind};
    for (uint64_t clientId : clientIds) {
        QEL_ASSERT(clientId != 0, "m && \"CorvaneServer::SendBlobVisibleData(),  userIDlist contains a NULL!\"");
        std::vector<DueElement> due;
        for (uint64_t tagKey : tagKeys) {
            dataSet.ForEachElementOf(tagKey, [&](int32_t index, ObjectDataBlobElement& element) {
                CollectDue(tagKey, index, element,
                           [&](const ObjectDataBlobElement& e) { return IsDueForVisibleData(e, clientId); }, due);
            });
        }
        SendDueElements(*this, header, due, clientId);
    }
}

// The sensor pass: the visible values of every object the served ship (and
// its extra scan sources) can see, the ship itself left out.
void CorvaneServer::SendObjectBLOBUpdatesToClients()
{
    ServeDueShips(sensorCursor, grouping, kSensorPassPeriod, [this](uint64_t shipId, const auto& recipients) {
        QEL_ASSERT(!recipients.empty(),
                   "!clientList.empty() && \"CorvaneServer::SendObjectBLOBUpdatesToClients(), clientList is empty.\"");
        const ClientRecord* first = FindClient(recipients.front());
        const SpaceObject* ship = FindSpaceObjectById(shipId);
        if (!first || first->gameMasterFlag || !ship)
            return;
        ObjectIdSet ids;
        CollectSensorView(*ship, ids);
        for (const auto& [id, object] : ids) {
            if (id != shipId)
                SendBlob(kBlobOfSpaceObject, object->data_set, id, kVisibleDataShipField, recipients, false);
        }
    });
}

// What the ship sees: around itself and around each of its extra scan
// sources.
void CorvaneServer::CollectSensorView(const SpaceObject& ship, ObjectIdSet& ids)
{
    CollectAroundExtraScanSources(ship, ids);
    CollectObjectsInRadius(ship.pos, settings.visionBaseDistance, ids);
}

void CorvaneServer::CollectAroundExtraScanSources(const SpaceObject& ship, ObjectIdSet& ids)
{
    ForEachExtraScanSource(
        ship, [&](const SpaceObject& source) { CollectObjectsInRadius(source.pos, settings.visionBaseDistance, ids); });
}
