#include "game/widgets/TorpedoTypeText.h"

#include "game/guimodel/KeyValueParser.h"
#include "game/world/ServerStringMap.h"
#include "helper/GeneralUtils.h"

namespace {

// The documentation context the ship data widget records these keys under.
constexpr const char* kContext = "ViewShipDataDraw";

}  // namespace

TorpedoTypeText ReadTorpedoTypeText(const std::string& typeKey)
{
    TorpedoTypeText text;
    // Looked up without Get, which would add every unknown type to the map
    // the server sends to each console that connects.
    const auto& entries = ServerStringMap::Instance().Entries();
    const auto style = entries.find(typeKey);
    if (style == entries.end() || style->second.empty())
        return text;
    KeyValueParser& parser = KeyValueParser::Global();
    parseStyleString(parser, style->second);
    text.described = true;
    text.name = parser.Get(kContext, "gui_text", "the proper name of the torp type");
    // Asked for only so that the style-string documentation lists the key.
    parser.Get(kContext, "desc", "short text description of the torp type");
    text.energyValue = LeadingInt(
        parser.Get(kContext, "energy_conversion_value", "How much energy you get from destroying this torp type"));
    return text;
}
