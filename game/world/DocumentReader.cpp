#include "game/world/DocumentReader.h"

#include "helper/ColorParse.h"
#include "helper/HjsonSyntax.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

using Hjson::Type;

// Enough of a wrong text to recognise it; a whole line of garbage is not.
constexpr size_t kShownTextBytes = 40;
// Integral bounds up to this are written out in full ("1000000"), larger
// ones in exponent form.
constexpr double kLargestPlainNumber = 1e15;

constexpr const char* kColourForms = "a colour such as \"red\", \"#40c0ff\" or \"rgb(64, 192, 255)\"";

std::string FormatNumber(double value)
{
    if (std::trunc(value) == value && std::fabs(value) < kLargestPlainNumber)
        return std::to_string(static_cast<int64_t>(value));
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Quoted(std::string_view text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string shown = "\"";
    for (size_t i = 0; i < text.size() && i < kShownTextBytes; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < ' ' || byte == 0x7F)
            shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xF];
        else if (byte == '"' || byte == '\\')
            shown += std::string("\\") + static_cast<char>(byte);
        else
            shown += static_cast<char>(byte);
    }
    if (text.size() > kShownTextBytes)
        shown += "...";
    return shown + "\"";
}

// A number, or text that spells one as the document format writes numbers.
std::optional<double> NumberOf(const Hjson::Value& value)
{
    switch (value.type()) {
    case Type::Double:
    case Type::Int64: return value.to_double();
    case Type::String:
        if (const std::optional<Hjson::Value> number = Hjson::syntax::ReadNumber(value.to_string()))
            return number->to_double();
        return std::nullopt;
    default: return std::nullopt;
    }
}

bool IsCollection(const Hjson::Value& value)
{
    return value.type() == Type::Vector || value.type() == Type::Map;
}

std::string Expected(const char* what, NumberRange range)
{
    if (range.low == kAnyFloat.low && range.high == kAnyFloat.high)
        return what;
    return std::string(what) + " from " + FormatNumber(range.low) + " to " + FormatNumber(range.high);
}

std::string Expected(IntegerRange range)
{
    if (range.low == kAnyInt32.low && range.high == kAnyInt32.high)
        return "a whole number";
    return "a whole number from " + std::to_string(range.low) + " to " + std::to_string(range.high);
}

std::string Counted(size_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

std::string DescribeDocumentValue(const Hjson::Value& value)
{
    switch (value.type()) {
    case Type::Undefined: return "missing";
    case Type::Null: return "null";
    case Type::Bool:
    case Type::Int64: return value.to_string();
    case Type::Double: return std::isfinite(value.to_double()) ? value.to_string() : FormatNumber(value.to_double());
    case Type::String: return Quoted(value.to_string()) + " (text)";
    case Type::Vector: return value.size() == 0 ? "an empty list" : "a list of " + Counted(value.size(), "element");
    case Type::Map: return value.size() == 0 ? "an empty map" : "a map of " + Counted(value.size(), "key");
    }
    return "unknown";
}

DocumentField::DocumentField(const Hjson::Value& value, std::string origin, std::string name)
    : value_(&value), origin_(std::move(origin)), name_(std::move(name))
{
}

void DocumentField::Fail(const std::string& expected) const
{
    throw JSONLoaderError(origin_ + ": \"" + name_ + "\" is " + DescribeDocumentValue(*value_) + "; expected " +
                          expected + ".");
}

double DocumentField::Number(NumberRange range) const
{
    const std::optional<double> number = NumberOf(*value_);
    if (!number || !std::isfinite(*number) || *number < range.low || *number > range.high)
        Fail(Expected("a number", range));
    return *number;
}

double DocumentField::NumberOr(NumberRange range, double fallback) const
{
    return Present() ? Number(range) : fallback;
}

int32_t DocumentField::Integer(IntegerRange range) const
{
    const std::optional<double> number = NumberOf(*value_);
    const double whole = number ? std::trunc(*number) : 0.0;
    if (!number || !std::isfinite(whole) || whole < static_cast<double>(range.low) ||
        whole > static_cast<double>(range.high))
        Fail(Expected(range));
    return static_cast<int32_t>(whole);
}

int32_t DocumentField::IntegerOr(IntegerRange range, int32_t fallback) const
{
    return Present() ? Integer(range) : fallback;
}

std::string DocumentField::Text() const
{
    if (!Present() || value_->type() == Type::Null || IsCollection(*value_))
        Fail("text");
    return value_->to_string();
}

std::string DocumentField::TextOr(std::string fallback) const
{
    return Present() ? Text() : fallback;
}

glm::vec4 DocumentField::Colour() const
{
    if (value_->type() != Type::String)
        Fail(kColourForms);
    const std::optional<glm::vec4> colour = TryParseColor(value_->to_string());
    if (!colour)
        Fail(kColourForms);
    return *colour;
}

glm::vec4 DocumentField::ColourOr(const char* fallback) const
{
    if (Present())
        return Colour();
    glm::vec4 colour;
    ParseColor(colour, fallback);
    return colour;
}

glm::vec3 DocumentField::Position(NumberRange coordinate) const
{
    const std::string expected = Expected("a list of three numbers", coordinate);
    if (value_->type() != Type::Vector || value_->size() < 3)
        Fail(expected);
    glm::vec3 position;
    for (int axis = 0; axis < 3; ++axis) {
        const std::optional<double> number = NumberOf((*value_)[axis]);
        if (!number || !(*number >= coordinate.low && *number <= coordinate.high))
            Fail(expected);
        position[axis] = static_cast<float>(*number);
    }
    return position;
}

glm::vec3 DocumentField::PositionOr(NumberRange coordinate, glm::vec3 fallback) const
{
    return Present() ? Position(coordinate) : fallback;
}

std::vector<DocumentField> DocumentField::Elements() const
{
    if (!Present())
        return {};
    if (value_->type() != Type::Vector)
        Fail("a list");
    std::vector<DocumentField> elements;
    elements.reserve(value_->size());
    for (size_t i = 0; i < value_->size(); ++i)
        elements.push_back(Element(i));
    return elements;
}

DocumentField DocumentField::Element(size_t index) const
{
    if (!IsCollection(*value_))
        Fail("a list");
    return DocumentField((*value_)[static_cast<int>(index)], origin_, name_ + "[" + std::to_string(index) + "]");
}

DocumentReader DocumentField::Fields() const
{
    if (value_->type() != Type::Map)
        Fail("a map of keys and values");
    return DocumentReader::Nested(*value_, origin_, name_ + ".");
}

DocumentReader::DocumentReader(const Hjson::Value& fields, std::string path, std::string record)
    : fields_(&fields), origin_(record.empty() ? std::move(path) : path + ": " + record)
{
}

DocumentReader DocumentReader::Nested(const Hjson::Value& fields, std::string origin, std::string prefix)
{
    DocumentReader reader;
    reader.fields_ = &fields;
    reader.origin_ = std::move(origin);
    reader.prefix_ = std::move(prefix);
    return reader;
}

DocumentField DocumentReader::operator[](std::string_view key) const
{
    return DocumentField((*fields_)[std::string(key)], origin_, prefix_ + std::string(key));
}

std::vector<std::string> DocumentReader::Keys() const
{
    std::vector<std::string> keys;
    if (fields_->type() != Type::Map)
        return keys;
    for (size_t i = 0; i < fields_->size(); ++i)
        keys.push_back(fields_->key(static_cast<int>(i)));
    return keys;
}
