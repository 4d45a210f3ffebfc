#include "game/world/ShipRecordWriter.h"

#include "helper/Hjson.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

Hjson::Value Number(float value)
{
    return Hjson::Value(static_cast<double>(value));
}

Hjson::Value Position(const glm::vec3& position)
{
    Hjson::Value list(Hjson::Type::Vector);
    for (int axis = 0; axis < 3; ++axis)
        list.push_back(Number(position[axis]));
    return list;
}

// "rgba(r, g, b, a)" with every component written with a decimal point, which
// the colour reader takes as a fraction as it stands rather than a 0..255
// channel; twelve decimals give back every component a display can tell apart.
Hjson::Value Colour(const glm::vec4& colour)
{
    char text[96];
    std::snprintf(text, sizeof text, "rgba(%.12f, %.12f, %.12f, %.12f)", std::clamp(colour.r, 0.0f, 1.0f),
                  std::clamp(colour.g, 0.0f, 1.0f), std::clamp(colour.b, 0.0f, 1.0f), std::clamp(colour.a, 0.0f, 1.0f));
    return Hjson::Value(text);
}

Hjson::Value BeamPorts(const ShipDataRecord& record)
{
    Hjson::Value ports(Hjson::Type::Vector);
    for (const ShipBeamPort& beam : record.beamPorts) {
        Hjson::Value port;
        port["position"] = Position(beam.position);
        port["arcwidth"] = Number(beam.arcWidth);
        port["damage_coeff"] = Number(beam.damageCoeff);
        port["cycle_time"] = Number(beam.cycleTime);
        port["range"] = Number(beam.range);
        port["barrel_angle"] = Number(beam.barrelAngle);
        port["color"] = Colour(beam.color);
        port["arccolor"] = Colour(beam.arcColor);
        ports.push_back(std::move(port));
    }
    return ports;
}

Hjson::Value ExhaustPorts(const ShipDataRecord& record)
{
    Hjson::Value ports(Hjson::Type::Vector);
    for (const ShipExhaustPort& exhaust : record.exhaustPorts) {
        Hjson::Value port;
        port["position"] = Position(exhaust.position);
        port["color"] = Colour(exhaust.color);
        ports.push_back(std::move(port));
    }
    return ports;
}

// The reader counts a tube for every position of a torpedo set.
Hjson::Value TorpedoTubes(const ShipDataRecord& record)
{
    Hjson::Value positions(Hjson::Type::Vector);
    const int tubes = std::clamp(record.tubeCount, 0, kShipTorpedoTubeSlots);
    for (int tube = 0; tube < tubes; ++tube)
        positions.push_back(Position(record.torpedoTubePositions[tube]));
    Hjson::Value set;
    set["type"] = "torpedo";
    set["position"] = std::move(positions);
    Hjson::Value sets(Hjson::Type::Vector);
    sets.push_back(std::move(set));
    return sets;
}

Hjson::Value TorpedoStart(const ShipDataRecord& record)
{
    Hjson::Value group(Hjson::Type::Map);
    for (size_t i = 0; i < record.torpedoStartTypes.size(); ++i)
        group[record.torpedoStartTypes[i]] =
            Hjson::Value(i < record.torpedoStartCounts.size() ? record.torpedoStartCounts[i] : 0);
    Hjson::Value start(Hjson::Type::Vector);
    start.push_back(std::move(group));
    return start;
}

std::string Roles(const ShipDataRecord& record)
{
    std::string joined;
    for (const std::string& role : record.roles)
        joined += (joined.empty() ? "" : ",") + role;
    return joined;
}

}  // namespace

Hjson::Value ShipRecordWriter::Write(const ShipDataRecord& record)
{
    Hjson::Value entry;
    entry["key"] = record.key;
    entry["name"] = record.name;
    entry["side"] = record.side;
    entry["origin"] = record.origin;
    entry["artfileroot"] = record.artFileRoot;
    entry["long_desc"] = record.longDesc;
    entry["meshscale"] = Number(record.meshScale);
    entry["radarscale"] = Number(record.radarScale);
    entry["defaultside"] = Number(record.defaultSide);
    entry["meshrotate"] = Number(record.meshRotate);
    entry["hullpoints"] = Number(record.hullPoints);
    entry["movespeed"] = Number(record.moveSpeed);
    entry["exclusionradius"] = Number(record.exclusionRadius);
    entry["interactionradius"] = Number(record.interactionRadius);
    entry["internalmapscale"] = Number(record.internalMapScale);
    entry["internalmapw"] = Hjson::Value(record.internalMapW);
    entry["internalmaph"] = Hjson::Value(record.internalMapH);
    entry["internalsymmetry"] = Hjson::Value(record.internalSymmetry);
    entry["turn_rate"] = Number(record.turn_rate);
    entry["speed_coeff"] = Number(record.speed_coeff);
    entry["ship_energy_cost"] = Number(record.ship_energy_cost);
    entry["warp_energy_cost"] = Number(record.warp_energy_cost);
    entry["jump_energy_cost"] = Number(record.jump_energy_cost);
    entry["drone_launch_timer"] = Number(record.drone_launch_timer);
    entry["scan_strength_coeff"] = Number(record.scan_strength_coeff);
    entry["baycount"] = Hjson::Value(record.bayCount);
    Hjson::Value shields(Hjson::Type::Vector);
    for (float shield : record.shields)
        shields.push_back(Number(shield));
    entry["shields"] = std::move(shields);
    entry["torpedostart"] = TorpedoStart(record);
    entry["roles"] = Roles(record);
    entry["monster_style"] = record.monsterStyle;
    Hjson::Value portSets;
    portSets["beam"] = BeamPorts(record);
    portSets["exhaust"] = ExhaustPorts(record);
    entry["hull_port_sets"] = std::move(portSets);
    entry["hullportsets"] = TorpedoTubes(record);
    return entry;
}
