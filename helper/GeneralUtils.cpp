#include "helper/GeneralUtils.h"

#include "helper/CRand.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <string>
#include <system_error>

namespace {

// π and 2π as the game has always used them: the single-precision values,
// carried in double arithmetic.
constexpr double kPi = 3.1415927410125732;
constexpr double kTwoPi = 6.2831854820251465;

// Wrapping steps by whole turns, which is exact enough for the few turns a
// heading ever drifts; far beyond that (or at infinity) stepping would take
// forever or never end, so such angles are reduced with fmod first.
constexpr double kMostTurnsToStep = 64.0;

constexpr char kBackQuote = '`';
constexpr std::string_view kBlanks = " \t\n\v\f\r";

constexpr std::array<uint32_t, 256> MakeCrc32Table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();

bool InSet(const std::string& set, char c)
{
    return set.find(c) != std::string::npos;
}

int Length(const std::string& text)
{
    return static_cast<int>(text.size());
}

// Searches start at 0 at the earliest: no caller means to look before the text.
int FirstSearchPosition(int start)
{
    return std::max(start, 0);
}

double ReduceFarAngle(double angle)
{
    if (std::fabs(angle) > kMostTurnsToStep * kTwoPi || !std::isfinite(angle))
        return std::fmod(angle, kTwoPi);
    return angle;
}

// A value of crand() mapped onto −π..π.
float RandomAngle()
{
    return static_cast<float>(crand() / 32767.0 * 6.2831854 - 3.1415927);
}

}  // namespace

uint32_t Crc32String(std::string_view text)
{
    if (text.empty())
        return 0;
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : text)
        crc = (crc >> 8) ^ kCrc32Table[(crc ^ static_cast<uint8_t>(c)) & 0xFFu];
    return crc;
}

int SplitString(const std::string& text, const std::string& delimiters, std::vector<std::string>& pieces)
{
    pieces.clear();
    std::string::size_type begin = 0;
    while (begin < text.size()) {
        std::string::size_type end = text.find_first_of(delimiters, begin);
        if (end == std::string::npos)
            end = text.size();
        if (end > begin)
            pieces.emplace_back(text, begin, end - begin);
        begin = end + 1;
    }
    // Lines read from CRLF files keep their carriage return on the last piece.
    // A piece that was nothing but that return is no piece at all.
    if (!pieces.empty() && !pieces.back().empty() && pieces.back().back() == '\r') {
        pieces.back().pop_back();
        if (pieces.back().empty())
            pieces.pop_back();
    }
    return static_cast<int>(pieces.size());
}

int FindFirstOfUnquoted(const std::string& text, const std::string& set, int start)
{
    const int length = Length(text);
    for (int i = FirstSearchPosition(start); i < length; ++i) {
        if (text[i] == kBackQuote) {
            const std::string::size_type closing = text.find(kBackQuote, i + 1);
            if (closing == std::string::npos)
                return length;
            i = static_cast<int>(closing);
        }
        if (InSet(set, text[i]))
            return i;
    }
    return length;
}

// An opening back-quote counts as not in the set, even when the set holds a
// back-quote: a back-quoted span then always begins a token, and the search for
// the token's end steps over the span, so it stays whole with its back-quotes.
int FindFirstNotOfUnquoted(const std::string& text, const std::string& set, int start)
{
    const int length = Length(text);
    for (int i = FirstSearchPosition(start); i < length; ++i) {
        if (text[i] == kBackQuote || !InSet(set, text[i]))
            return i;
    }
    return length;
}

void Tokenize(const std::string& text, std::vector<std::string>& tokens, const std::string& delimiters)
{
    const int length = Length(text);
    int position = 0;
    while (true) {
        const int tokenStart = FindFirstNotOfUnquoted(text, delimiters, position);
        const int tokenEnd = FindFirstOfUnquoted(text, delimiters, tokenStart);
        if (tokenStart == length && tokenEnd == length)
            return;
        tokens.emplace_back(text, tokenStart, tokenEnd - tokenStart);
        position = tokenEnd;
    }
}

float TurnToward(float fromX, float fromZ, float toX, float toZ, float heading, float maxStep)
{
    const double current = WrapAnglePi(heading);
    const double bearing = WrapAnglePi(std::atan2(double(toX - fromX), double(toZ - fromZ)));
    const double difference = WrapAnglePi(bearing - current);
    if (std::fabs(difference) <= maxStep)
        return static_cast<float>(difference);
    return difference < 0.0 ? -maxStep : maxStep;
}

double WrapAngle2Pi(double angle)
{
    angle = ReduceFarAngle(angle);
    while (angle < 0.0)
        angle += kTwoPi;
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle;
}

double WrapAnglePi(double angle)
{
    angle = ReduceFarAngle(angle);
    while (angle > kPi)
        angle -= kTwoPi;
    while (angle <= -kPi)
        angle += kTwoPi;
    return angle;
}

void HsvToRgb(float hue, float saturation, float value, float& r, float& g, float& b)
{
    if (saturation == 0.0f || hue == -1.0f) {
        r = g = b = value;
        return;
    }
    const float h = hue / 60.0f;
    // Outside the six sectors (and for NaN) nothing is written; checked on the
    // float so that a wild hue is never converted to an out-of-range int.
    if (!(h >= 0.0f && h < 6.0f))
        return;
    const int sector = static_cast<int>(std::floor(h));
    const float f = h - static_cast<float>(sector);
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - saturation * f);
    const float t = value * (1.0f - saturation * (1.0f - f));
    switch (sector) {
    case 0: r = value; g = t; b = p; break;
    case 1: r = q; g = value; b = p; break;
    case 2: r = p; g = value; b = t; break;
    case 3: r = p; g = q; b = value; break;
    case 4: r = t; g = p; b = value; break;
    default: r = value; g = p; b = q; break;
    }
}

float HueToRgb(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (t < 1.0f / 6.0f)
        return p + (q - p) * 6.0f * t;
    if (t < 1.0f / 2.0f)
        return q;
    if (t < 2.0f / 3.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

std::string TrimWhitespace(std::string_view text)
{
    const std::string_view::size_type first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::string_view::size_type last = text.find_last_not_of(kBlanks);
    return std::string(text.substr(first, last - first + 1));
}

int32_t LeadingInt(std::string_view text)
{
    std::string_view::size_type i = text.find_first_not_of(kBlanks);
    if (i == std::string_view::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    // Summed as a magnitude that stops growing past the int32 range, so any
    // run of digits is read without overflow.
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string FloatToString(float value)
{
    const double wide = value;
    const int length = std::snprintf(nullptr, 0, "%f", wide);
    std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, "%f", wide);
    return text;
}

float LeadingFloat(std::string_view text)
{
    const auto digitsFrom = [&](size_t i) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i;
    };
    const size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos)
        return 0.0f;
    const bool negative = text[begin] == '-';
    const size_t mantissa = begin + ((negative || text[begin] == '+') ? 1 : 0);
    const size_t integerEnd = digitsFrom(mantissa);
    size_t numberEnd = integerEnd;
    if (numberEnd < text.size() && text[numberEnd] == '.')
        numberEnd = digitsFrom(numberEnd + 1);
    if (integerEnd == mantissa && numberEnd <= integerEnd + 1)
        return 0.0f;  // no digit at all
    // An exponent counts only with digits of its own.
    bool negativeExponent = false;
    if (numberEnd < text.size() && (text[numberEnd] == 'e' || text[numberEnd] == 'E')) {
        size_t exponent = numberEnd + 1;
        negativeExponent = exponent < text.size() && text[exponent] == '-';
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+'))
            ++exponent;
        const size_t exponentEnd = digitsFrom(exponent);
        if (exponentEnd > exponent)
            numberEnd = exponentEnd;
        else
            negativeExponent = false;
    }
    // from_chars reads no locale, and no leading '+'.
    double value = 0.0;
    const auto [stop, error] = std::from_chars(text.data() + mantissa, text.data() + numberEnd, value);
    if (error == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : HUGE_VAL;
    return static_cast<float>(negative ? -value : value);
}

std::string FoldUtf8ToLatin1(std::string_view text)
{
    constexpr unsigned char kLowLead = 0xC2;   // U+0080..U+00BF: the second byte is the code
    constexpr unsigned char kHighLead = 0xC3;  // U+00C0..U+00FF: the second byte plus 64
    constexpr unsigned char kHighOffset = 64;
    std::string folded;
    folded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == kLowLead)
            continue;
        if (byte == kHighLead) {
            if (++i < text.size())
                folded += static_cast<char>(static_cast<unsigned char>(text[i]) + kHighOffset);
            continue;
        }
        folded += text[i];
    }
    return folded;
}

void TrimStoredText(std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\n\v\f\r");
    text.erase(0, first == std::string::npos ? text.size() : first);
    const size_t last = text.find_last_not_of('\0');
    text.erase(last == std::string::npos ? 0 : last + 1);
}

std::string LowerCaseAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

float Clamp(float x, float lower, float upper)
{
    return std::min(upper, std::max(x, lower));
}

glm::vec3& RandomVector(glm::vec3& out, float length)
{
    const float azimuth = RandomAngle();
    crand();  // drawn and unused, so the sequence stays as the game expects
    const float elevation = RandomAngle();
    out.x = std::sin(azimuth) * std::cos(elevation) * length;
    out.y = std::sin(elevation) * length;
    out.z = std::cos(azimuth) * std::cos(elevation) * length;
    return out;
}

void RankedList::Insert(void* item, float score)
{
    for (int slot = 0; slot < capacity; ++slot) {
        if (score >= scores[slot]) {
            std::copy_backward(items + slot, items + capacity - 1, items + capacity);
            std::copy_backward(scores + slot, scores + capacity - 1, scores + capacity);
            items[slot] = item;
            scores[slot] = score;
            return;
        }
    }
}

void RankedList::Free()
{
    delete[] items;
    delete[] scores;
    items = nullptr;
    scores = nullptr;
    capacity = 0;
}

void GeneralUtilsSelfTest()
{
    struct Check {
        int (*search)(const std::string&, const std::string&, int);
        int start;
        int expected;
        const char* text;  // the failed check as the error box shows it
    };
    const Check checks[] = {
        {FindFirstOfUnquoted, 0, 8, "result == 8"},
        {FindFirstOfUnquoted, 4, 8, "result == 8"},
        {FindFirstOfUnquoted, 8, 8, "result == 8"},
        {FindFirstNotOfUnquoted, 0, 0, "result == 0"},
        {FindFirstNotOfUnquoted, 4, 4, "result == 4"},
        {FindFirstNotOfUnquoted, 8, 9, "result == 9"},
        {FindFirstNotOfUnquoted, 9, 9, "result == 9"},
    };
    const std::string text = "aaaabbbb|";
    const std::string set = "|";
    for (const Check& check : checks) {
        const int result = check.search(text, set, check.start);
        QEL_ASSERT(result == check.expected, check.text);
    }
}
