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
    if (typeKey.empty())
        return text;
    const std::string style = ServerStringMap::Instance().Get(typeKey);
    if (style.empty())
        return text;
    KeyValueParser& parser = KeyValueParser::Global();
    parseStyleString(parser, style);
    text.described = true;
    text.name = parser.Get(kContext, "gui_text", "the proper name of the torp type");
    text.description = parser.Get(kContext, "desc", "short text description of the torp type");
    text.energyValue =
        LeadingInt(parser.Get(kContext, "energy_conversion_value", "How much energy you get from destroying this torp type"));
    return text;
}
