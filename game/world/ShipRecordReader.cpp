#include "game/world/ShipRecordReader.h"

#include "game/world/ShipData.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"
#include "helper/Hjson.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Defaults of the optional keys, as the ship list documents them.
constexpr float kDefaultCoefficient = 1.0f;  // turn rate, speed and energy costs, scan strength
constexpr double kDefaultBayCount = 1.0;
constexpr const char* kDefaultRoles = "none";
constexpr float kDefaultArcWidth = 60.0f;
constexpr float kDefaultBeamRange = 1000.0f;
constexpr float kDefaultBarrelAngle = 1000.0f;
constexpr const char* kDefaultBeamColor = "red";
constexpr const char* kDefaultExhaustColor = "blue";

using Hjson::Type;
using Hjson::Value;

// A document number as an int32: truncated toward zero and held in range, so
// a wild value in a file cannot overflow the conversion.
int32_t ToInt32(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value, lo, hi));
}

bool IsList(const Value& v) { return v.type() == Type::Vector; }

glm::vec3 Vec3Of(const Value& v) {
    if (!IsList(v)) return glm::vec3(0.0f);
    return glm::vec3(static_cast<float>(v[0].to_double()), static_cast<float>(v[1].to_double()),
                     static_cast<float>(v[2].to_double()));
}

glm::vec4 ColorOf(const Value& v) {
    glm::vec4 color;
    ParseColor(color, v.to_string());
    return color;
}

glm::vec4 ColorOr(const Value& v, const char* fallback) {
    glm::vec4 color;
    ParseColor(color, v.defined() ? v.to_string() : std::string(fallback));
    return color;
}

float FloatOr(const Value& v, float fallback) {
    return v.defined() ? static_cast<float>(v.to_double()) : fallback;
}

// Reads one entry, knowing where it sits so that every fault names it.
class EntryReader {
public:
    EntryReader(const Value& entry, int index, const std::string& documentName)
        : entry_(entry), index_(index), documentName_(documentName) {}

    std::unique_ptr<ShipDataRecord> Read() {
        auto rec = std::make_unique<ShipDataRecord>();
        rec->key = LowerCaseAscii(RequiredText("key"));
        key_ = rec->key;
        try {
            ReadIdentity(*rec);
            ReadDimensions(*rec);
            ReadCoefficients(*rec);
            ReadShields(*rec);
            ReadPortSets(*rec);
            ReadTorpedoStart(*rec);
            ReadRoles(*rec);
            rec->monsterStyle = RequiredText("monster_style");
        } catch (const std::logic_error& e) {  // a list where a number or text belongs, or a number a conversion refuses
            Fail(std::string("holds a value that cannot be read (") + e.what() + ")");
        }
        return rec;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        std::string where = "ship list \"" + documentName_ + "\": record " + std::to_string(index_);
        if (!key_.empty()) where += " (\"" + key_ + "\")";
        throw ShipDataError(where + " " + what);
    }

    const Value& Required(const char* name) const {
        const Value& v = entry_[name];
        if (!v.defined()) Fail(std::string("lacks the required key \"") + name + "\"");
        return v;
    }

    std::string RequiredText(const char* name) const {
        const Value& v = Required(name);
        if (v.type() == Type::Vector || v.type() == Type::Map)
            Fail(std::string("has a list where \"") + name + "\" needs text");
        return v.to_string();
    }

    float RequiredFloat(const char* name) const {
        const Value& v = Required(name);
        if (v.type() == Type::Vector || v.type() == Type::Map)
            Fail(std::string("has a list where \"") + name + "\" needs a number");
        return static_cast<float>(v.to_double());
    }

    void ReadIdentity(ShipDataRecord& rec) const {
        rec.name = LowerCaseAscii(RequiredText("name"));
        rec.side = LowerCaseAscii(RequiredText("side"));
        rec.origin = LowerCaseAscii(RequiredText("origin"));
        rec.artFileRoot = RequiredText("artfileroot");
        rec.longDesc = RequiredText("long_desc");
    }

    void ReadDimensions(ShipDataRecord& rec) const {
        rec.meshScale = RequiredFloat("meshscale");
        rec.radarScale = RequiredFloat("radarscale");
        rec.defaultSide = RequiredFloat("defaultside");
        rec.meshRotate = RequiredFloat("meshrotate");
        rec.hullPoints = RequiredFloat("hullpoints");
        rec.moveSpeed = RequiredFloat("movespeed");
        rec.exclusionRadius = RequiredFloat("exclusionradius");
        rec.interactionRadius = RequiredFloat("interactionradius");
        // The interior grid's size only means something for a hull that has one.
        if (entry_["internalmapscale"].defined()) {
            rec.internalMapScale = static_cast<float>(entry_["internalmapscale"].to_double());
            rec.internalMapW = ToInt32(entry_["internalmapw"].to_double());
            rec.internalMapH = ToInt32(entry_["internalmaph"].to_double());
            rec.internalSymmetry = ToInt32(entry_["internalsymmetry"].to_double());
        }
    }

    void ReadCoefficients(ShipDataRecord& rec) const {
        rec.turn_rate = FloatOr(entry_["turn_rate"], kDefaultCoefficient);
        rec.speed_coeff = FloatOr(entry_["speed_coeff"], kDefaultCoefficient);
        rec.ship_energy_cost = FloatOr(entry_["ship_energy_cost"], kDefaultCoefficient);
        rec.warp_energy_cost = FloatOr(entry_["warp_energy_cost"], kDefaultCoefficient);
        rec.jump_energy_cost = FloatOr(entry_["jump_energy_cost"], kDefaultCoefficient);
        rec.drone_launch_timer = FloatOr(entry_["drone_launch_timer"], 0.0f);
        rec.scan_strength_coeff = FloatOr(entry_["scan_strength_coeff"], kDefaultCoefficient);
        const Value& bays = entry_["baycount"];
        rec.bayCount = ToInt32(bays.defined() ? bays.to_double() : kDefaultBayCount);
        rec.tubeCount = ToInt32(entry_["tubecount"].to_double());
    }

    void ReadShields(ShipDataRecord& rec) const {
        const Value& shields = entry_["shields"];
        if (!IsList(shields)) return;
        for (size_t i = 0; i < shields.size(); ++i)
            rec.shields.push_back(static_cast<float>(shields[static_cast<int>(i)].to_double()));
    }

    void ReadPortSets(ShipDataRecord& rec) const {
        int beamCount = 0;  // runs on across every set of both forms
        const Value& oldSets = entry_["hull_port_sets"];
        if (oldSets.type() == Type::Map) {
            for (size_t i = 0; i < oldSets.size(); ++i) {
                const std::string setName = oldSets.key(static_cast<int>(i));
                const Value& set = oldSets[static_cast<int>(i)];
                if (setName == "beam") ReadOldBeamPorts(rec, set, beamCount);
                else if (setName == "exhaust") ReadOldExhaustPorts(rec, set);
            }
        }
        const Value& newSets = entry_["hullportsets"];
        if (IsList(newSets)) {
            for (size_t i = 0; i < newSets.size(); ++i) {
                const Value& set = newSets[static_cast<int>(i)];
                const std::string type = set["type"].to_string();
                if (type == "engine") ReadEngineSet(rec, set);
                else if (type == "beam") ReadBeamSet(rec, set, beamCount);
                else if (type == "torpedo") ReadTorpedoSet(rec, set);
            }
        }
    }

    static void ReadOldBeamPorts(ShipDataRecord& rec, const Value& ports, int& beamCount) {
        for (size_t i = 0; i < ports.size() && beamCount < kShipBeamPortSlots; ++i) {
            const Value& port = ports[static_cast<int>(i)];
            ShipBeamPort& beam = rec.beamPorts[beamCount++];
            beam.position = Vec3Of(port["position"]);
            beam.arcWidth = FloatOr(port["arcwidth"], kDefaultArcWidth);
            beam.damageCoeff = FloatOr(port["damage_coeff"], kDefaultCoefficient);
            beam.cycleTime = FloatOr(port["cycle_time"], kDefaultCoefficient);
            beam.range = FloatOr(port["range"], kDefaultBeamRange);
            beam.barrelAngle = FloatOr(port["barrel_angle"], kDefaultBarrelAngle);
            beam.arcColor = ColorOr(port["arccolor"], kDefaultBeamColor);
            beam.color = ColorOr(port["color"], kDefaultBeamColor);
        }
    }

    static void ReadOldExhaustPorts(ShipDataRecord& rec, const Value& ports) {
        const size_t n = std::min<size_t>(ports.size(), kShipExhaustPortSlots);
        for (size_t i = 0; i < n; ++i) {
            const Value& port = ports[static_cast<int>(i)];
            rec.exhaustPorts[i].position = Vec3Of(port["position"]);
            rec.exhaustPorts[i].color = ColorOr(port["color"], kDefaultExhaustColor);
        }
    }

    // Exhausts as [x, y, z, colour], then an optional list of colours over them.
    static void ReadEngineSet(ShipDataRecord& rec, const Value& set) {
        const Value& exhausts = set["exhaust"];
        const size_t n = std::min<size_t>(exhausts.size(), kShipExhaustPortSlots);
        for (size_t i = 0; i < n; ++i) {
            const Value& port = exhausts[static_cast<int>(i)];
            rec.exhaustPorts[i].position = Vec3Of(port);
            rec.exhaustPorts[i].color = ColorOf(port[3]);
        }
        const Value& colors = set["exhaustcolor"];
        const size_t m = std::min<size_t>(colors.size(), kShipExhaustPortSlots);
        for (size_t i = 0; i < m; ++i) rec.exhaustPorts[i].color = ColorOf(colors[static_cast<int>(i)]);
    }

    // One weapon's beams: shared damage, cycle and range, a position each, and
    // colours that apply to the beams this set added, in order.
    static void ReadBeamSet(ShipDataRecord& rec, const Value& set, int& beamCount) {
        const float damage = static_cast<float>(set["damage"].to_double());
        const float cycleTime = static_cast<float>(set["cycletime"].to_double());
        const float range = static_cast<float>(set["range"].to_double());
        const int first = beamCount;
        const Value& positions = set["position"];
        for (size_t i = 0; i < positions.size() && beamCount < kShipBeamPortSlots; ++i) {
            ShipBeamPort& beam = rec.beamPorts[beamCount++];
            beam.position = Vec3Of(positions[static_cast<int>(i)]);
            beam.arcWidth = kDefaultArcWidth;
            beam.damageCoeff = damage;
            beam.cycleTime = cycleTime;
            beam.range = range;
        }
        const size_t added = static_cast<size_t>(beamCount - first);
        const Value& beamColors = set["beamcolor"];
        for (size_t k = 0; k < std::min(beamColors.size(), added); ++k) {
            ShipBeamPort& beam = rec.beamPorts[first + k];
            beam.color = ColorOf(beamColors[static_cast<int>(k)]);
            beam.barrelAngle = kDefaultBarrelAngle;
        }
        const Value& arcColors = set["arccolor"];
        for (size_t k = 0; k < std::min(arcColors.size(), added); ++k)
            rec.beamPorts[first + k].arcColor = ColorOf(arcColors[static_cast<int>(k)]);
    }

    // Each torpedo set lays its tubes from slot 0; every tube adds to the count.
    static void ReadTorpedoSet(ShipDataRecord& rec, const Value& set) {
        const Value& positions = set["position"];
        const size_t n = std::min<size_t>(positions.size(), kShipTorpedoTubeSlots);
        for (size_t i = 0; i < n; ++i) {
            rec.torpedoTubePositions[i] = Vec3Of(positions[static_cast<int>(i)]);
            rec.tubeCount += 1;
        }
    }

    void ReadTorpedoStart(ShipDataRecord& rec) const {
        const Value& start = entry_["torpedostart"];
        for (size_t i = 0; i < start.size(); ++i) {
            const Value& group = start[static_cast<int>(i)];
            if (group.type() != Type::Map) continue;
            for (size_t j = 0; j < group.size(); ++j) {
                rec.torpedoStartTypes.push_back(group.key(static_cast<int>(j)));
                rec.torpedoStartCounts.push_back(ToInt32(group[static_cast<int>(j)].to_double()));
            }
        }
    }

    void ReadRoles(ShipDataRecord& rec) const {
        const Value& roles = entry_["roles"];
        SplitString(roles.defined() ? roles.to_string() : std::string(kDefaultRoles), ",", rec.roles);
    }

    const Value& entry_;
    int index_;
    const std::string& documentName_;
    std::string key_;
};

}  // namespace

std::unique_ptr<ShipDataRecord> ShipRecordReader::Read(const Value& entry, int index,
                                                       const std::string& documentName) {
    return EntryReader(entry, index, documentName).Read();
}
