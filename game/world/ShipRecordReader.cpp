#include "game/world/ShipRecordReader.h"

#include "game/world/DocumentReader.h"
#include "helper/GeneralUtils.h"
#include "helper/Hjson.h"

#include <algorithm>

namespace {

// Ranges of the ship list's numbers, each with its reason. Every value a
// behaviour or the renderer takes from a record lies inside its range, so no
// hull can carry a NaN, an infinity or a negative size into the world.

// World distances: the play area is a few tens of thousands of units across.
constexpr NumberRange kRadius{0, 1e5};
// Mesh units of a port position: the largest hull is a few hundred units long.
constexpr NumberRange kMeshCoordinate{-1e5, 1e5};
// A zero or negative scale draws nothing or turns the mesh inside out; a
// thousandfold one is larger than any view.
constexpr NumberRange kMeshScale{0.001, 1000};
constexpr NumberRange kRadarScale{0, 100};
// Quarter turns about the up axis.
constexpr NumberRange kMeshRotate{0, 3};
// Damage a system or the armour takes; a million outlasts any weapon for hours.
constexpr NumberRange kHullPoints{0, 1e6};
// World units per tick; a thousand crosses the play area in seconds.
constexpr NumberRange kSpeed{0, 1000};
// Hundredths of a radian per tick: 100 is a full turn in six ticks.
constexpr NumberRange kTurnRate{0, 100};
// Multipliers of speed, energy use and scan strength.
constexpr NumberRange kCoefficient{0, 1000};
constexpr NumberRange kSeconds{0, 3600};
// The grid scale, and the grid's columns and rows: more than 256 cells a
// side are finer than the pixels of the 1024-pixel silhouette they sample.
constexpr NumberRange kGridScale{0, 1000};
constexpr IntegerRange kGridCells{1, 256};
constexpr IntegerRange kFlag{0, 1};
// Small craft a carrier holds.
constexpr IntegerRange kBays{0, 100};
constexpr IntegerRange kTubes{0, kShipTorpedoTubeSlots};
// A shield facing's strength, and a starting torpedo load.
constexpr NumberRange kShieldStrength{0, 1e6};
constexpr IntegerRange kTorpedoCount{0, 10000};
// The wire form to a client carries at most 64 shield facings and 64 torpedo
// types; a hull with more could not be sent.
constexpr size_t kMaxShieldFacings = 64;
constexpr size_t kMaxTorpedoTypes = 64;
// Beam ports.
constexpr NumberRange kArcDegrees{0, 360};
constexpr NumberRange kBeamDamage{0, 1e6};
constexpr NumberRange kBeamRange{0, 1e5};
// Degrees from forward, either way; 1000 aims from the hull centre through the port.
constexpr NumberRange kBarrelAngle{-360, 1000};

// Defaults of the optional keys, as the ship list documents them.
constexpr double kDefaultCoefficient = 1.0;  // turn rate, speed and energy costs, scan strength
constexpr int32_t kDefaultBayCount = 1;
constexpr const char* kDefaultRoles = "none";
constexpr double kDefaultArcWidth = 60.0;
constexpr double kDefaultBeamRange = 1000.0;
constexpr double kDefaultBarrelAngle = 1000.0;
constexpr const char* kDefaultBeamColor = "red";
constexpr const char* kDefaultExhaustColor = "blue";
constexpr glm::vec3 kNoPosition{0.0f};

// A number field of the record: required, or optional with its default.
struct NumberField {
    const char* key;
    float ShipDataRecord::*member;
    NumberRange range;
    bool required;
    double fallback;
};

constexpr NumberField kNumberFields[] = {
    {"meshscale", &ShipDataRecord::meshScale, kMeshScale, true, 0},
    {"radarscale", &ShipDataRecord::radarScale, kRadarScale, true, 0},
    {"defaultside", &ShipDataRecord::defaultSide, kAnyFloat, true, 0},
    {"meshrotate", &ShipDataRecord::meshRotate, kMeshRotate, true, 0},
    {"hullpoints", &ShipDataRecord::hullPoints, kHullPoints, true, 0},
    {"movespeed", &ShipDataRecord::moveSpeed, kSpeed, true, 0},
    {"exclusionradius", &ShipDataRecord::exclusionRadius, kRadius, true, 0},
    {"interactionradius", &ShipDataRecord::interactionRadius, kRadius, true, 0},
    {"turn_rate", &ShipDataRecord::turn_rate, kTurnRate, false, kDefaultCoefficient},
    {"speed_coeff", &ShipDataRecord::speed_coeff, kCoefficient, false, kDefaultCoefficient},
    {"ship_energy_cost", &ShipDataRecord::ship_energy_cost, kCoefficient, false, kDefaultCoefficient},
    {"warp_energy_cost", &ShipDataRecord::warp_energy_cost, kCoefficient, false, kDefaultCoefficient},
    {"jump_energy_cost", &ShipDataRecord::jump_energy_cost, kCoefficient, false, kDefaultCoefficient},
    {"drone_launch_timer", &ShipDataRecord::drone_launch_timer, kSeconds, false, 0},
    {"scan_strength_coeff", &ShipDataRecord::scan_strength_coeff, kCoefficient, false, kDefaultCoefficient},
};

float ToFloat(double value)
{
    return static_cast<float>(value);
}

// Reads one entry of the list; every fault names the document, the record
// and the key through the DocumentReader.
class EntryReader {
public:
    EntryReader(const DocumentField& entry, int index, const std::string& documentPath)
        : entry_(entry), index_(index), documentPath_(documentPath)
    {
    }

    std::unique_ptr<ShipDataRecord> Read()
    {
        auto rec = std::make_unique<ShipDataRecord>();
        const DocumentReader unnamed = RecordReader("");
        rec->key = LowerCaseAscii(unnamed["key"].Text());
        if (rec->key.empty())
            unnamed["key"].Fail("a ship key (not empty)");
        const DocumentReader record = RecordReader(rec->key);
        ReadIdentity(record, *rec);
        for (const NumberField& field : kNumberFields) {
            const DocumentField value = record[field.key];
            rec.get()->*field.member =
                ToFloat(field.required ? value.Number(field.range) : value.NumberOr(field.range, field.fallback));
        }
        ReadInterior(record, *rec);
        rec->bayCount = record["baycount"].IntegerOr(kBays, kDefaultBayCount);
        rec->tubeCount = record["tubecount"].IntegerOr(kTubes, 0);
        ReadShields(record, *rec);
        ReadPortSets(record, *rec);
        ReadTorpedoStart(record, *rec);
        SplitString(record["roles"].TextOr(kDefaultRoles), ",", rec->roles);
        rec->monsterStyle = record["monster_style"].Text();
        return rec;
    }

private:
    // The entry as a map, its errors naming the record by position and key.
    DocumentReader RecordReader(const std::string& key) const
    {
        std::string where = "record " + std::to_string(index_);
        if (!key.empty())
            where += " (\"" + key + "\")";
        if (entry_.Raw().type() != Hjson::Type::Map)
            entry_.Fail("a map of the record's keys");
        return DocumentReader(entry_.Raw(), documentPath_, where);
    }

    static void ReadIdentity(const DocumentReader& record, ShipDataRecord& rec)
    {
        rec.name = LowerCaseAscii(record["name"].Text());
        rec.side = LowerCaseAscii(record["side"].Text());
        rec.origin = LowerCaseAscii(record["origin"].Text());
        rec.artFileRoot = record["artfileroot"].Text();
        rec.longDesc = record["long_desc"].Text();
    }

    // The interior grid's size only means something for a hull that has one;
    // a grid with a scale needs at least one cell each way.
    static void ReadInterior(const DocumentReader& record, ShipDataRecord& rec)
    {
        if (!record["internalmapscale"].Present())
            return;
        rec.internalMapScale = ToFloat(record["internalmapscale"].Number(kGridScale));
        if (rec.internalMapScale > 0.0f) {
            rec.internalMapW = record["internalmapw"].Integer(kGridCells);
            rec.internalMapH = record["internalmaph"].Integer(kGridCells);
        } else {
            rec.internalMapW = record["internalmapw"].IntegerOr({0, kGridCells.high}, 0);
            rec.internalMapH = record["internalmaph"].IntegerOr({0, kGridCells.high}, 0);
        }
        rec.internalSymmetry = record["internalsymmetry"].IntegerOr(kFlag, 0);
    }

    static void ReadShields(const DocumentReader& record, ShipDataRecord& rec)
    {
        const DocumentField shields = record["shields"];
        const std::vector<DocumentField> facings = shields.Elements();
        if (facings.size() > kMaxShieldFacings)
            shields.Fail("a list of at most " + std::to_string(kMaxShieldFacings) + " shield strengths");
        for (const DocumentField& facing : facings)
            rec.shields.push_back(ToFloat(facing.Number(kShieldStrength)));
    }

    static void ReadPortSets(const DocumentReader& record, ShipDataRecord& rec)
    {
        int beamCount = 0;  // runs on across every set of both forms
        const DocumentField oldSets = record["hull_port_sets"];
        if (oldSets.Present()) {
            const DocumentReader sets = oldSets.Fields();
            for (const std::string& setName : sets.Keys()) {
                if (setName == "beam")
                    ReadOldBeamPorts(rec, sets[setName], beamCount);
                else if (setName == "exhaust")
                    ReadOldExhaustPorts(rec, sets[setName]);
            }
        }
        for (const DocumentField& element : record["hullportsets"].Elements()) {
            const DocumentReader set = element.Fields();
            const std::string type = set["type"].Text();
            if (type == "engine")
                ReadEngineSet(rec, set);
            else if (type == "beam")
                ReadBeamSet(rec, set, beamCount);
            else if (type == "torpedo")
                ReadTorpedoSet(rec, set);
        }
    }

    // Ports past the last slot are left out, as the ship list documents.
    static void ReadOldBeamPorts(ShipDataRecord& rec, const DocumentField& list, int& beamCount)
    {
        for (const DocumentField& element : list.Elements()) {
            if (beamCount == kShipBeamPortSlots)
                return;
            const DocumentReader port = element.Fields();
            ShipBeamPort& beam = rec.beamPorts[beamCount++];
            beam.position = port["position"].PositionOr(kMeshCoordinate, kNoPosition);
            beam.arcWidth = ToFloat(port["arcwidth"].NumberOr(kArcDegrees, kDefaultArcWidth));
            beam.damageCoeff = ToFloat(port["damage_coeff"].NumberOr(kBeamDamage, kDefaultCoefficient));
            beam.cycleTime = ToFloat(port["cycle_time"].NumberOr(kSeconds, kDefaultCoefficient));
            beam.range = ToFloat(port["range"].NumberOr(kBeamRange, kDefaultBeamRange));
            beam.barrelAngle = ToFloat(port["barrel_angle"].NumberOr(kBarrelAngle, kDefaultBarrelAngle));
            beam.arcColor = port["arccolor"].ColourOr(kDefaultBeamColor);
            beam.color = port["color"].ColourOr(kDefaultBeamColor);
        }
    }

    static void ReadOldExhaustPorts(ShipDataRecord& rec, const DocumentField& list)
    {
        const std::vector<DocumentField> ports = list.Elements();
        for (size_t i = 0; i < ports.size() && i < kShipExhaustPortSlots; ++i) {
            const DocumentReader port = ports[i].Fields();
            rec.exhaustPorts[i].position = port["position"].PositionOr(kMeshCoordinate, kNoPosition);
            rec.exhaustPorts[i].color = port["color"].ColourOr(kDefaultExhaustColor);
        }
    }

    // Exhausts as [x, y, z, colour] (blue without the colour), then an
    // optional list of colours over them.
    static void ReadEngineSet(ShipDataRecord& rec, const DocumentReader& set)
    {
        constexpr size_t kColourElement = 3;
        const std::vector<DocumentField> exhausts = set["exhaust"].Elements();
        for (size_t i = 0; i < exhausts.size() && i < kShipExhaustPortSlots; ++i) {
            rec.exhaustPorts[i].position = exhausts[i].Position(kMeshCoordinate);
            rec.exhaustPorts[i].color = exhausts[i].Element(kColourElement).ColourOr(kDefaultExhaustColor);
        }
        const std::vector<DocumentField> colours = set["exhaustcolor"].Elements();
        for (size_t i = 0; i < colours.size() && i < kShipExhaustPortSlots; ++i)
            rec.exhaustPorts[i].color = colours[i].Colour();
    }

    // One weapon's beams: shared damage, cycle and range, a position each, and
    // colours that apply to the beams this set added, in order.
    static void ReadBeamSet(ShipDataRecord& rec, const DocumentReader& set, int& beamCount)
    {
        const float damage = ToFloat(set["damage"].NumberOr(kBeamDamage, 0));
        const float cycleTime = ToFloat(set["cycletime"].NumberOr(kSeconds, 0));
        const float range = ToFloat(set["range"].NumberOr(kBeamRange, 0));
        const int first = beamCount;
        for (const DocumentField& position : set["position"].Elements()) {
            if (beamCount == kShipBeamPortSlots)
                break;
            ShipBeamPort& beam = rec.beamPorts[beamCount++];
            beam.position = position.Position(kMeshCoordinate);
            beam.arcWidth = ToFloat(kDefaultArcWidth);
            beam.damageCoeff = damage;
            beam.cycleTime = cycleTime;
            beam.range = range;
        }
        const size_t added = static_cast<size_t>(beamCount - first);
        const std::vector<DocumentField> beamColours = set["beamcolor"].Elements();
        for (size_t k = 0; k < std::min(beamColours.size(), added); ++k) {
            ShipBeamPort& beam = rec.beamPorts[first + k];
            beam.color = beamColours[k].Colour();
            beam.barrelAngle = ToFloat(kDefaultBarrelAngle);
        }
        const std::vector<DocumentField> arcColours = set["arccolor"].Elements();
        for (size_t k = 0; k < std::min(arcColours.size(), added); ++k)
            rec.beamPorts[first + k].arcColor = arcColours[k].Colour();
    }

    // Each torpedo set lays its tubes from slot 0; every tube adds to the count.
    static void ReadTorpedoSet(ShipDataRecord& rec, const DocumentReader& set)
    {
        const std::vector<DocumentField> positions = set["position"].Elements();
        for (size_t i = 0; i < positions.size() && i < kShipTorpedoTubeSlots; ++i) {
            rec.torpedoTubePositions[i] = positions[i].Position(kMeshCoordinate);
            rec.tubeCount += 1;
        }
    }

    static void ReadTorpedoStart(const DocumentReader& record, ShipDataRecord& rec)
    {
        const DocumentField start = record["torpedostart"];
        for (const DocumentField& element : start.Elements()) {
            const DocumentReader group = element.Fields();
            for (const std::string& type : group.Keys()) {
                rec.torpedoStartTypes.push_back(type);
                rec.torpedoStartCounts.push_back(group[type].Integer(kTorpedoCount));
            }
        }
        if (rec.torpedoStartTypes.size() > kMaxTorpedoTypes)
            start.Fail("at most " + std::to_string(kMaxTorpedoTypes) + " torpedo types");
    }

    const DocumentField& entry_;
    int index_;
    const std::string& documentPath_;
};

}  // namespace

std::unique_ptr<ShipDataRecord> ShipRecordReader::Read(const DocumentField& entry, int index,
                                                       const std::string& documentPath)
{
    return EntryReader(entry, index, documentPath).Read();
}
