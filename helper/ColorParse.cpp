#include "helper/ColorParse.h"

#include "helper/GeneralUtils.h"

#include <glm/common.hpp>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace {

struct NamedColor {
    const char* name;  // lower case
    int red, green, blue;  // 0..255
};

// The extended colour keywords of CSS Color Module Level 3. Of the pairs that
// differ only in "gray" and "grey" only the "gray" spelling is kept, so
// "grey" reads as unreadable text; there is no "transparent".
constexpr NamedColor colorNameTable[] = {
    {"aliceblue", 240, 248, 255},       {"antiquewhite", 250, 235, 215},
    {"aqua", 0, 255, 255},              {"aquamarine", 127, 255, 212},
    {"azure", 240, 255, 255},           {"beige", 245, 245, 220},
    {"bisque", 255, 228, 196},          {"black", 0, 0, 0},
    {"blanchedalmond", 255, 235, 205},  {"blue", 0, 0, 255},
    {"blueviolet", 138, 43, 226},       {"brown", 165, 42, 42},
    {"burlywood", 222, 184, 135},       {"cadetblue", 95, 158, 160},
    {"chartreuse", 127, 255, 0},        {"chocolate", 210, 105, 30},
    {"coral", 255, 127, 80},            {"cornflowerblue", 100, 149, 237},
    {"cornsilk", 255, 248, 220},        {"crimson", 220, 20, 60},
    {"cyan", 0, 255, 255},              {"darkblue", 0, 0, 139},
    {"darkcyan", 0, 139, 139},          {"darkgoldenrod", 184, 134, 11},
    {"darkgray", 169, 169, 169},        {"darkgreen", 0, 100, 0},
    {"darkkhaki", 189, 183, 107},       {"darkmagenta", 139, 0, 139},
    {"darkolivegreen", 85, 107, 47},    {"darkorange", 255, 140, 0},
    {"darkorchid", 153, 50, 204},       {"darkred", 139, 0, 0},
    {"darksalmon", 233, 150, 122},      {"darkseagreen", 143, 188, 143},
    {"darkslateblue", 72, 61, 139},     {"darkslategray", 47, 79, 79},
    {"darkturquoise", 0, 206, 209},     {"darkviolet", 148, 0, 211},
    {"deeppink", 255, 20, 147},         {"deepskyblue", 0, 191, 255},
    {"dimgray", 105, 105, 105},         {"dodgerblue", 30, 144, 255},
    {"firebrick", 178, 34, 34},         {"floralwhite", 255, 250, 240},
    {"forestgreen", 34, 139, 34},       {"fuchsia", 255, 0, 255},
    {"gainsboro", 220, 220, 220},       {"ghostwhite", 248, 248, 255},
    {"gold", 255, 215, 0},              {"goldenrod", 218, 165, 32},
    {"gray", 128, 128, 128},            {"green", 0, 128, 0},
    {"greenyellow", 173, 255, 47},      {"honeydew", 240, 255, 240},
    {"hotpink", 255, 105, 180},         {"indianred", 205, 92, 92},
    {"indigo", 75, 0, 130},             {"ivory", 255, 255, 240},
    {"khaki", 240, 230, 140},           {"lavender", 230, 230, 250},
    {"lavenderblush", 255, 240, 245},   {"lawngreen", 124, 252, 0},
    {"lemonchiffon", 255, 250, 205},    {"lightblue", 173, 216, 230},
    {"lightcoral", 240, 128, 128},      {"lightcyan", 224, 255, 255},
    {"lightgoldenrodyellow", 250, 250, 210}, {"lightgray", 211, 211, 211},
    {"lightgreen", 144, 238, 144},      {"lightpink", 255, 182, 193},
    {"lightsalmon", 255, 160, 122},     {"lightseagreen", 32, 178, 170},
    {"lightskyblue", 135, 206, 250},    {"lightslategray", 119, 136, 153},
    {"lightsteelblue", 176, 196, 222},  {"lightyellow", 255, 255, 224},
    {"lime", 0, 255, 0},                {"limegreen", 50, 205, 50},
    {"linen", 250, 240, 230},           {"magenta", 255, 0, 255},
    {"maroon", 128, 0, 0},              {"mediumaquamarine", 102, 205, 170},
    {"mediumblue", 0, 0, 205},          {"mediumorchid", 186, 85, 211},
    {"mediumpurple", 147, 112, 219},    {"mediumseagreen", 60, 179, 113},
    {"mediumslateblue", 123, 104, 238}, {"mediumspringgreen", 0, 250, 154},
    {"mediumturquoise", 72, 209, 204},  {"mediumvioletred", 199, 21, 133},
    {"midnightblue", 25, 25, 112},      {"mintcream", 245, 255, 250},
    {"mistyrose", 255, 228, 225},       {"moccasin", 255, 228, 181},
    {"navajowhite", 255, 222, 173},     {"navy", 0, 0, 128},
    {"oldlace", 253, 245, 230},         {"olive", 128, 128, 0},
    {"olivedrab", 107, 142, 35},        {"orange", 255, 165, 0},
    {"orangered", 255, 69, 0},          {"orchid", 218, 112, 214},
    {"palegoldenrod", 238, 232, 170},   {"palegreen", 152, 251, 152},
    {"paleturquoise", 175, 238, 238},   {"palevioletred", 219, 112, 147},
    {"papayawhip", 255, 239, 213},      {"peachpuff", 255, 218, 185},
    {"peru", 205, 133, 63},             {"pink", 255, 192, 203},
    {"plum", 221, 160, 221},            {"powderblue", 176, 224, 230},
    {"purple", 128, 0, 128},            {"red", 255, 0, 0},
    {"rosybrown", 188, 143, 143},       {"royalblue", 65, 105, 225},
    {"saddlebrown", 139, 69, 19},       {"salmon", 250, 128, 114},
    {"sandybrown", 244, 164, 96},       {"seagreen", 46, 139, 87},
    {"seashell", 255, 245, 238},        {"sienna", 160, 82, 45},
    {"silver", 192, 192, 192},          {"skyblue", 135, 206, 235},
    {"slateblue", 106, 90, 205},        {"slategray", 112, 128, 144},
    {"snow", 255, 250, 250},            {"springgreen", 0, 255, 127},
    {"steelblue", 70, 130, 180},        {"tan", 210, 180, 140},
    {"teal", 0, 128, 128},              {"thistle", 216, 191, 216},
    {"tomato", 255, 99, 71},            {"turquoise", 64, 224, 208},
    {"violet", 238, 130, 238},          {"wheat", 245, 222, 179},
    {"white", 255, 255, 255},           {"whitesmoke", 245, 245, 245},
    {"yellow", 255, 255, 0},            {"yellowgreen", 154, 205, 50},
};
static_assert(std::size(colorNameTable) == 140);

// Separators between the components of a numeric colour.
constexpr const char* kComponentDelimiters = " ,()";

// One numeric component: its text read as a float (HSL takes the hue from
// this) and its value as a colour channel.
struct Component {
    float raw;
    float value;
};

// Filled on first use; the function-local static makes the fill safe even if
// a second thread ever parses a colour.
const std::map<std::string, const NamedColor*, std::less<>>& ColorNameMap()
{
    static const auto colorNameMap = [] {
        std::map<std::string, const NamedColor*, std::less<>> map;
        for (const NamedColor& entry : colorNameTable)
            map.emplace(entry.name, &entry);
        return map;
    }();
    return colorNameMap;
}

// Value of the hexadecimal number the two characters begin; a character that
// is not a hexadecimal digit ends it, so "g1" is 0 and "1g" is 1.
int ReadHexPair(char high, char low)
{
    int value = 0;
    for (char c : {high, low}) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + digit;
    }
    return value;
}

// "#rgb", "#rgba", "#rrggbb" or "#rrggbbaa"; any other length is unreadable.
std::optional<glm::vec4> ParseHexColor(std::string_view token)
{
    const std::string_view digits = token.substr(1);
    glm::vec4 color{0.0f, 0.0f, 0.0f, 1.0f};
    if (digits.size() == 3 || digits.size() == 4) {
        for (size_t i = 0; i < digits.size(); ++i)
            color[static_cast<int>(i)] = ReadHexPair(digits[i], digits[i]) / 255.0f;
        return color;
    }
    if (digits.size() == 6 || digits.size() == 8) {
        for (size_t i = 0; i < digits.size() / 2; ++i)
            color[static_cast<int>(i)] = ReadHexPair(digits[2 * i], digits[2 * i + 1]) / 255.0f;
        return color;
    }
    return std::nullopt;
}

// The text's leading number as a float; nothing when there is no number or it
// lies beyond the range of a float.
std::optional<float> ReadFloat(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(begin, &end);
    if (end == begin || errno == ERANGE)
        return std::nullopt;
    return value;
}

// The text's leading decimal integer; nothing when there is none or it lies
// beyond the range of an int.
std::optional<int> ReadInt(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

// A token that begins with a digit or '.'. A '.' makes it a plain float
// ("0.5", and "50.5%" is 50.5); otherwise a '%' inside it or as the next token
// makes it a percentage, and a bare integer is a 0..255 channel. A lone "%"
// token after a component needs no skipping: it is not a component itself.
std::optional<Component> ReadComponent(std::string token, bool nextIsPercent)
{
    const bool hadPercent = token.find('%') != std::string::npos;
    for (char& c : token)
        if (c == '%')
            c = ' ';
    const std::optional<float> raw = ReadFloat(token);
    if (!raw)
        return std::nullopt;
    if (token.find('.') != std::string::npos)
        return Component{*raw, *raw};
    const std::optional<int> integer = ReadInt(token);
    if (!integer)
        return std::nullopt;
    const float scale = hadPercent || nextIsPercent ? 100.0f : 255.0f;
    return Component{*raw, *integer / scale};
}

glm::vec4 HslToRgba(const Component& hue, float saturation, float lightness, float alpha)
{
    if (saturation == 0.0f)
        return {lightness, lightness, lightness, alpha};
    const float h = hue.raw / 360.0f;
    const float q = lightness < 0.5f ? lightness * (1.0f + saturation)
                                     : lightness + saturation - lightness * saturation;
    const float p = 2.0f * lightness - q;
    const float third = 1.0f / 3.0f;
    return {HueToRgb(p, q, h + third), HueToRgb(p, q, h), HueToRgb(p, q, h - third), alpha};
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Three or four components, read as RGB(A), or as HSL(A) once a token
// beginning with 'h' has been seen. Words and signed numbers are skipped.
std::optional<glm::vec4> ParseComponentColor(const std::vector<std::string>& tokens)
{
    constexpr size_t kChannels = 4;
    bool hsl = false;
    std::vector<Component> components;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const char first = tokens[i][0];
        if (first == 'h') {
            hsl = true;
            continue;
        }
        if (!IsDigit(first) && first != '.')
            continue;
        const bool nextIsPercent = i + 1 < tokens.size() && tokens[i + 1] == "%";
        const std::optional<Component> component = ReadComponent(tokens[i], nextIsPercent);
        if (!component || components.size() == kChannels)
            return std::nullopt;
        components.push_back(*component);
    }
    if (components.size() == kChannels - 1)
        components.push_back({1.0f, 1.0f});
    if (components.size() != kChannels)
        return std::nullopt;
    if (hsl)
        return HslToRgba(components[0], components[1].value, components[2].value, components[3].value);
    return glm::vec4{components[0].value, components[1].value, components[2].value, components[3].value};
}

// Arithmetic on huge components (HSL especially) can overflow to infinity or
// NaN, which would poison whatever is drawn with the colour.
bool IsFinite(const glm::vec4& color)
{
    return std::isfinite(color.r) && std::isfinite(color.g) && std::isfinite(color.b) &&
           std::isfinite(color.a);
}

std::optional<glm::vec4> ParseColorText(std::string& text)
{
    text = LowerCaseAscii(std::move(text));
    const auto& names = ColorNameMap();
    if (const auto named = names.find(text); named != names.end()) {
        const NamedColor& entry = *named->second;
        return glm::vec4{entry.red / 255.0f, entry.green / 255.0f, entry.blue / 255.0f, 1.0f};
    }
    std::vector<std::string> tokens;
    Tokenize(text, tokens, kComponentDelimiters);
    if (tokens.empty())
        return std::nullopt;
    if (tokens[0][0] == '#')
        return ParseHexColor(tokens[0]);
    return ParseComponentColor(tokens);
}

}  // namespace

void ParseColor(glm::vec4& out, std::string text)
{
    out = TryParseColor(std::move(text)).value_or(kUnreadableColor);
}

// Components beyond 0..1 ("300, 0, 0", an HSL hue of many turns) are held at
// the nearest bound: a colour is four shares, and a value past them would
// brighten, darken or make transparent whatever is blended with it.
std::optional<glm::vec4> TryParseColor(std::string text)
{
    const std::optional<glm::vec4> color = ParseColorText(text);
    if (!color || !IsFinite(*color))
        return std::nullopt;
    return glm::clamp(*color, 0.0f, 1.0f);
}

glm::vec4 ParsedColor(std::string text)
{
    glm::vec4 colour;
    ParseColor(colour, std::move(text));
    return colour;
}
