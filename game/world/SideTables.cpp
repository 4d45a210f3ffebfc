#include "game/world/SideTables.h"

#include "helper/GeneralUtils.h"

int32_t SideTables::SideKey(std::string_view tag)
{
    return static_cast<int32_t>(Crc32String(tag));
}

bool SideTables::IsDiplomaticTag(std::string_view tag)
{
    return !tag.empty() && tag.front() != '#';
}

int32_t SideTables::Relationship(std::string_view first, std::string_view second) const
{
    if (!IsDiplomaticTag(first) || !IsDiplomaticTag(second))
        return DIPLOMACY_UNKNOWN;
    const auto row = relationships.find(SideKey(first));
    if (row == relationships.end())
        return DIPLOMACY_UNKNOWN;
    const auto entry = row->second.find(SideKey(second));
    return entry == row->second.end() ? DIPLOMACY_UNKNOWN : entry->second;
}
