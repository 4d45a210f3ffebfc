// The wire form of a ship record: the server's answer to a client that met a
// hull key it does not know. Written in one function and read in one, field
// for field in the same order.

#include "game/world/ShipData.h"

#include "engine/base/QelNetworkMessage.h"

#include <cmath>
#include <cstdio>

namespace {

// A hull has one shield value per facing and a handful of torpedo types; a
// count past these is a corrupt or hostile record, not a ship.
constexpr int32_t kMaxWireShields = 64;
constexpr int32_t kMaxWireTorpedoTypes = 64;
// The least a starting torpedo entry takes: an empty name's length and a count.
constexpr int32_t kMinTorpedoEntryBytes = 2 + 4;
constexpr int32_t kFloatBytes = 4;
// Only the first tube positions travel; a client's copy keeps the rest at 0.
constexpr int kWireTubePositions = 10;

class WireWriter {
public:
    explicit WireWriter(QelNetworkMessage& m) : m_(m) {}
    void Float(float v) { m_.WriteFloat(v); }
    void Int(int32_t v) { m_.WriteInt32(v); }
    void Text(const std::string& v) { m_.WriteString(v); }
    void Vec3(const glm::vec3& v) { Float(v.x), Float(v.y), Float(v.z); }
    void Vec4(const glm::vec4& v) { Float(v.r), Float(v.g), Float(v.b), Float(v.a); }

private:
    QelNetworkMessage& m_;
};

class WireReader {
public:
    explicit WireReader(QelNetworkMessage& m) : m_(m) {}
    // Every float of a record is a size, a speed, a position or a colour:
    // an infinity or a NaN in any of them makes the record malformed.
    float Float() {
        float v = 0;
        m_.ReadInt32(v);
        nonFinite_ = nonFinite_ || !std::isfinite(v);
        return v;
    }
    int32_t Int() { int32_t v = 0; m_.ReadInt32(v); return v; }
    std::string Text() { std::string v; m_.ReadString(v); return v; }
    glm::vec3 Vec3() { glm::vec3 v; v.x = Float(), v.y = Float(), v.z = Float(); return v; }
    glm::vec4 Vec4() { glm::vec4 v; v.r = Float(), v.g = Float(), v.b = Float(), v.a = Float(); return v; }
    // A count that the rest of the message could hold and that stays under the cap.
    bool Count(int32_t& n, int32_t cap, int32_t minBytesEach) {
        n = Int();
        return !m_.IsBad() && n >= 0 && n <= cap && n <= m_.BytesLeftToRead() / minBytesEach;
    }
    bool Bad() const { return m_.IsBad(); }
    bool SawNonFinite() const { return nonFinite_; }

private:
    QelNetworkMessage& m_;
    bool nonFinite_ = false;
};

// Everything after the key, into the record; the fault found, or null when whole.
const char* ReadBody(WireReader& in, ShipDataRecord& rec) {
    rec.name = in.Text();
    rec.side = in.Text();
    rec.artFileRoot = in.Text();
    rec.longDesc = in.Text();
    rec.meshScale = in.Float();
    rec.radarScale = in.Float();
    rec.defaultSide = in.Float();
    rec.meshRotate = in.Float();
    rec.hullPoints = in.Float();
    rec.moveSpeed = in.Float();
    rec.exclusionRadius = in.Float();
    rec.internalMapScale = in.Float();
    rec.internalMapW = in.Int();
    rec.internalMapH = in.Int();
    rec.internalSymmetry = in.Int();
    rec.turn_rate = in.Float();
    rec.speed_coeff = in.Float();
    rec.ship_energy_cost = in.Float();
    rec.warp_energy_cost = in.Float();
    rec.jump_energy_cost = in.Float();
    int32_t shieldCount = 0;
    if (!in.Count(shieldCount, kMaxWireShields, kFloatBytes)) return "bad shield count";
    for (int32_t i = 0; i < shieldCount; ++i) rec.shields.push_back(in.Float());
    for (int k = 0; k < kWireTubePositions; ++k) {
        rec.exhaustPorts[k].position = in.Vec3();
        rec.exhaustPorts[k].color = in.Vec4();
        rec.torpedoTubePositions[k] = in.Vec3();
    }
    rec.tubeCount = in.Int();
    int32_t typeCount = 0;
    if (!in.Count(typeCount, kMaxWireTorpedoTypes, kMinTorpedoEntryBytes)) return "bad torpedo type count";
    for (int32_t i = 0; i < typeCount; ++i) {
        rec.torpedoStartTypes.push_back(in.Text());
        rec.torpedoStartCounts.push_back(in.Int());
    }
    for (ShipBeamPort& beam : rec.beamPorts) {
        beam.damageCoeff = in.Float();
        beam.arcWidth = in.Float();
        beam.cycleTime = in.Float();
        beam.range = in.Float();
        beam.position = in.Vec3();
        beam.color = in.Vec4();
        beam.arcColor = in.Vec4();
        beam.barrelAngle = in.Float();
    }
    if (in.Bad()) return "record cut short";
    if (in.SawNonFinite()) return "a value is not a finite number";
    return nullptr;
}

// Values the behaviours divide by or drain energy with; negative (or NaN)
// would turn a hull into nonsense, so such a record is refused.
const char* CheckValues(const ShipDataRecord& rec) {
    if (!(rec.hullPoints >= 0)) return "bad hullPoints";
    if (!(rec.moveSpeed >= 0)) return "bad moveSpeed";
    if (!(rec.exclusionRadius >= 0)) return "bad exclusionRadius";
    if (!(rec.ship_energy_cost >= 0)) return "bad ship_energy_cost";
    if (!(rec.warp_energy_cost >= 0)) return "bad warp_energy_cost";
    if (!(rec.jump_energy_cost >= 0)) return "bad jump_energy_cost";
    return nullptr;
}

}  // namespace

void ShipData::PackRecordToMessage(const ShipDataRecord& rec, QelNetworkMessage& message) {
    WireWriter out(message);
    out.Text(rec.key);
    out.Text(rec.name);
    out.Text(rec.side);
    out.Text(rec.artFileRoot);
    out.Text(rec.longDesc);
    for (float v : {rec.meshScale, rec.radarScale, rec.defaultSide, rec.meshRotate, rec.hullPoints, rec.moveSpeed,
                    rec.exclusionRadius, rec.internalMapScale})
        out.Float(v);
    out.Int(rec.internalMapW);
    out.Int(rec.internalMapH);
    out.Int(rec.internalSymmetry);
    for (float v : {rec.turn_rate, rec.speed_coeff, rec.ship_energy_cost, rec.warp_energy_cost, rec.jump_energy_cost})
        out.Float(v);
    out.Int(static_cast<int32_t>(rec.shields.size()));
    for (float v : rec.shields) out.Float(v);
    for (int k = 0; k < kWireTubePositions; ++k) {
        out.Vec3(rec.exhaustPorts[k].position);
        out.Vec4(rec.exhaustPorts[k].color);
        out.Vec3(rec.torpedoTubePositions[k]);
    }
    out.Int(rec.tubeCount);
    out.Int(static_cast<int32_t>(rec.torpedoStartTypes.size()));
    for (size_t i = 0; i < rec.torpedoStartTypes.size(); ++i) {
        out.Text(rec.torpedoStartTypes[i]);
        out.Int(i < rec.torpedoStartCounts.size() ? rec.torpedoStartCounts[i] : 0);
    }
    for (const ShipBeamPort& beam : rec.beamPorts) {
        for (float v : {beam.damageCoeff, beam.arcWidth, beam.cycleTime, beam.range}) out.Float(v);
        out.Vec3(beam.position);
        out.Vec4(beam.color);
        out.Vec4(beam.arcColor);
        out.Float(beam.barrelAngle);
    }
}

ShipRecordReceipt ShipData::UnPackRecordToData(QelNetworkMessage& message) {
    WireReader in(message);
    auto rec = std::make_unique<ShipDataRecord>();
    rec->key = in.Text();
    if (!in.Bad() && extraKeys.count(rec->key) != 0) return ShipRecordReceipt::AlreadyKnown;
    const char* fault = in.Bad() || rec->key.empty() ? "bad key" : ReadBody(in, *rec);
    if (fault == nullptr) fault = CheckValues(*rec);
    if (fault != nullptr) {
        // One line tells the operator the server misbehaves; a flood would not.
        if (++malformedRecordCount == 1)
            std::fprintf(stderr, "ship record from the server dropped (%s); later ones are only counted\n", fault);
        return ShipRecordReceipt::Malformed;
    }
    ShipDataRecord* stored = rec.get();
    receivedRecords.push_back(std::move(rec));
    extraKeys[stored->key] = stored;
    if (drawData_ != nullptr) drawData_->ReplaceDrawData(stored->key);
    return ShipRecordReceipt::Stored;
}
