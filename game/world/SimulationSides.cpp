// Sides and diplomacy: the tables the consoles colour objects by and tell
// friend from foe with. Every change marks them for the server to send.

#include "game/world/Simulation.h"

#include "helper/ColorParse.h"
#include "helper/QelAssert.h"

void Simulation::SetSideRelationship(const std::string& firstSideTag, const std::string& secondSideTag,
                                     int32_t diplomacyEnumValue)
{
    QEL_ASSERT(SideTables::IsDiplomacyValue(diplomacyEnumValue),
               "Simulation::SetSideRelationship() bad diplomacy input");
    QEL_ASSERT(!firstSideTag.empty() && !secondSideTag.empty(),
               "Simulation::SetSideRelationship() empty string input");
    sideTables.relationships[SideTables::SideKey(firstSideTag)][SideTables::SideKey(secondSideTag)] =
        diplomacyEnumValue;
    sideTablesChanged = true;
}

int32_t Simulation::GetSideRelationship(const std::string& firstSideTag, const std::string& secondSideTag) const
{
    return sideTables.Relationship(firstSideTag, secondSideTag);
}

void Simulation::SetSideIconColor(const std::string& sideTag, const std::string& colorString)
{
    QEL_ASSERT(!sideTag.empty(), "Simulation::SetSideIconColor() empty sideTag input");
    QEL_ASSERT(!colorString.empty(), "Simulation::SetSideIconColor() empty colorString input");
    ParseColor(sideTables.iconColours[SideTables::SideKey(sideTag)], colorString);
    sideTablesChanged = true;
}

void Simulation::SetSideIconIndex(const std::string& sideTag, int32_t iconIndex)
{
    QEL_ASSERT(!sideTag.empty(), "Simulation::SetSideIconColor() empty sideTag input");
    sideTables.iconIndexes[SideTables::SideKey(sideTag)] = iconIndex;
    sideTablesChanged = true;
}

void Simulation::SetDiplomacyColor(int32_t diplomacyEnumValue, const std::string& colorString)
{
    QEL_ASSERT(SideTables::IsDiplomacyValue(diplomacyEnumValue), "Simulation::SetDiplomacyColor() bad diplomacy input");
    ParseColor(sideTables.diplomacyColours[diplomacyEnumValue], colorString);
    sideTablesChanged = true;
}
