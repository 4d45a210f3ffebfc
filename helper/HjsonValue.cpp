#include "helper/Hjson.h"

#include "helper/HjsonSyntax.h"

#include <cmath>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Hjson {

// Vector elements, or Map entries as parallel key and value lists in insertion
// order plus an index from key to position, so that large documents do not
// make every lookup a linear search.
struct Value::Members {
    std::vector<Value> values;
    std::vector<std::string> keys;
    std::unordered_map<std::string, size_t> positions;
};

namespace {

const char* const kIllegalType = "Illegal type for this operation.";

bool IsNumber(Type type)
{
    return type == Type::Double || type == Type::Int64;
}

// Truncates toward zero; values beyond the int64 range saturate, NaN gives 0,
// where a plain cast would be undefined behaviour.
int64_t TruncateToInt64(double value)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= kTwoTo63) return std::numeric_limits<int64_t>::max();
    if (value < -kTwoTo63) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

// An Int64 and a Double are equal when the double holds exactly that integer.
bool IntegerEqualsDouble(int64_t integer, double value)
{
    constexpr double kTwoTo63 = 9223372036854775808.0;
    return value >= -kTwoTo63 && value < kTwoTo63 && static_cast<int64_t>(value) == integer &&
           static_cast<double>(integer) == value;
}

const Value& UndefinedValue()
{
    static const Value undefined;
    return undefined;
}

}  // namespace

Value::Value() = default;

Value::Value(std::nullptr_t) : type_(Type::Null) {}

Value::Value(bool value) : type_(Type::Bool), bool_(value) {}

Value::Value(double value) : type_(Type::Double), double_(value) {}

Value::Value(int64_t value) : type_(Type::Int64), int_(value) {}

Value::Value(int value) : type_(Type::Int64), int_(value) {}

Value::Value(const char* text) : type_(Type::String), text_(text ? text : "") {}

Value::Value(std::string text) : type_(Type::String), text_(std::move(text)) {}

Value::Value(Type type) : type_(type)
{
    if (type == Type::Vector || type == Type::Map) members_ = std::make_unique<Members>();
}

Value::Value(const Value& other)
    : type_(other.type_),
      bool_(other.bool_),
      int_(other.int_),
      double_(other.double_),
      text_(other.text_),
      members_(other.members_ ? std::make_unique<Members>(*other.members_) : nullptr)
{
}

// A moved-from value is left Undefined, never a Map or Vector without members.
Value::Value(Value&& other) noexcept
    : type_(std::exchange(other.type_, Type::Undefined)),
      bool_(other.bool_),
      int_(other.int_),
      double_(other.double_),
      text_(std::move(other.text_)),
      members_(std::move(other.members_))
{
}

Value& Value::operator=(const Value& other)
{
    if (this != &other) {
        Value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Value& Value::operator=(Value&& other) noexcept
{
    if (this != &other) {
        type_ = std::exchange(other.type_, Type::Undefined);
        bool_ = other.bool_;
        int_ = other.int_;
        double_ = other.double_;
        text_ = std::move(other.text_);
        members_ = std::move(other.members_);
    }
    return *this;
}

Value::~Value() = default;

size_t Value::size() const
{
    const Members* members = membersOrNull();
    return members ? members->values.size() : 0;
}

const Value& Value::operator[](const std::string& key) const
{
    if (type_ != Type::Map) return UndefinedValue();
    const auto found = members_->positions.find(key);
    return found == members_->positions.end() ? UndefinedValue() : members_->values[found->second];
}

Value& Value::operator[](const std::string& key)
{
    if (type_ == Type::Undefined) *this = Value(Type::Map);
    if (type_ != Type::Map) throw type_mismatch("Must be of type Map for that operation.");
    Members& entries = members();
    const auto [found, inserted] = entries.positions.try_emplace(key, entries.values.size());
    if (inserted) {
        entries.keys.push_back(key);
        entries.values.emplace_back();
    }
    return entries.values[found->second];
}

const Value& Value::operator[](int index) const
{
    const Members* members = membersOrNull();
    if (!members || index < 0 || static_cast<size_t>(index) >= members->values.size()) return UndefinedValue();
    return members->values[static_cast<size_t>(index)];
}

void Value::push_back(Value element)
{
    if (type_ == Type::Undefined) *this = Value(Type::Vector);
    if (type_ != Type::Vector) throw type_mismatch("Must be of type Vector for that operation.");
    members().values.push_back(std::move(element));
}

std::string Value::key(int index) const
{
    if (type_ != Type::Map) throw type_mismatch("Must be of type Map for that operation.");
    if (index < 0 || static_cast<size_t>(index) >= members_->keys.size()) {
        throw index_out_of_bounds("Index out of bounds.");
    }
    return members_->keys[static_cast<size_t>(index)];
}

bool Value::erase(const std::string& key)
{
    if (type_ != Type::Map) return false;
    Members& entries = members();
    const auto found = entries.positions.find(key);
    if (found == entries.positions.end()) return false;
    const size_t position = found->second;
    entries.positions.erase(found);
    entries.keys.erase(entries.keys.begin() + static_cast<std::ptrdiff_t>(position));
    entries.values.erase(entries.values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [name, at] : entries.positions) {
        if (at > position) --at;
    }
    return true;
}

std::string Value::to_string() const
{
    switch (type_) {
    case Type::Undefined: return "";
    case Type::Null: return "null";
    case Type::Bool: return bool_ ? "true" : "false";
    case Type::Double: return syntax::FormatDouble(double_);
    case Type::Int64: return std::to_string(int_);
    case Type::String: return text_;
    case Type::Vector:
    case Type::Map: break;
    }
    throw type_mismatch(kIllegalType);
}

double Value::to_double() const
{
    switch (type_) {
    case Type::Undefined:
    case Type::Null: return 0.0;
    case Type::Bool: return bool_ ? 1.0 : 0.0;
    case Type::Double: return double_;
    case Type::Int64: return static_cast<double>(int_);
    case Type::String: {
        const auto number = syntax::ReadNumber(text_);
        return number ? number->to_double() : 0.0;
    }
    case Type::Vector:
    case Type::Map: break;
    }
    throw type_mismatch(kIllegalType);
}

int64_t Value::to_int64() const
{
    switch (type_) {
    case Type::Undefined:
    case Type::Null: return 0;
    case Type::Bool: return bool_ ? 1 : 0;
    case Type::Double: return TruncateToInt64(double_);
    case Type::Int64: return int_;
    case Type::String: {
        const auto number = syntax::ReadNumber(text_);
        return number ? number->to_int64() : 0;
    }
    case Type::Vector:
    case Type::Map: break;
    }
    throw type_mismatch(kIllegalType);
}

bool Value::operator==(const Value& other) const
{
    if (IsNumber(type_) && IsNumber(other.type_)) {
        if (type_ == Type::Int64 && other.type_ == Type::Int64) return int_ == other.int_;
        if (type_ == Type::Double && other.type_ == Type::Double) return double_ == other.double_;
        return type_ == Type::Int64 ? IntegerEqualsDouble(int_, other.double_)
                                    : IntegerEqualsDouble(other.int_, double_);
    }
    if (type_ != other.type_) return false;
    switch (type_) {
    case Type::Undefined:
    case Type::Null: return true;
    case Type::Bool: return bool_ == other.bool_;
    case Type::String: return text_ == other.text_;
    case Type::Vector: return members_->values == other.members_->values;
    case Type::Map: {
        if (size() != other.size()) return false;
        for (size_t i = 0; i < members_->keys.size(); ++i) {
            const auto found = other.members_->positions.find(members_->keys[i]);
            if (found == other.members_->positions.end()) return false;
            if (!(members_->values[i] == other.members_->values[found->second])) return false;
        }
        return true;
    }
    default: return false;
    }
}

Value::Members& Value::members()
{
    return *members_;
}

const Value::Members* Value::membersOrNull() const
{
    return members_.get();
}

}  // namespace Hjson
