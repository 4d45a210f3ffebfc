#include "game/world/ObjectDataBlobElement.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

// 2^63 and 2^64 are exact floats; every float below them (and at or above
// -2^63) converts to the integer type without overflow.
constexpr float kTwoPow63 = 9223372036854775808.0f;
constexpr float kTwoPow64 = 18446744073709551616.0f;

}  // namespace

int64_t BlobFloatToInt64(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= kTwoPow63)
        return std::numeric_limits<int64_t>::max();
    if (value < -kTwoPow63)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

uint64_t BlobFloatToUInt64(float value)
{
    if (std::isnan(value))
        return 0;
    if (value < 0.0f)
        return static_cast<uint64_t>(BlobFloatToInt64(value));
    if (value >= kTwoPow64)
        return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(value);
}

void ObjectDataBlobElement::StoreInt(int64_t value, int64_t tick)
{
    if (dataType != ODBE_INT || intValue != value)
        changeTick = tick;
    dataType = ODBE_INT;
    intValue = value;
    uintValue = static_cast<uint64_t>(value);
    floatValue = static_cast<float>(value);
}

void ObjectDataBlobElement::StoreUInt64(uint64_t value, int64_t tick)
{
    changeTick = tick;
    dataType = ODBE_UINT64;
    uintValue = value;
    intValue = static_cast<int64_t>(value);
    floatValue = static_cast<float>(value);
}

void ObjectDataBlobElement::StoreFloat(float value, int64_t tick)
{
    changeTick = tick;
    dataType = ODBE_FLOAT;
    floatValue = value;
    intValue = BlobFloatToInt64(value);
    uintValue = BlobFloatToUInt64(value);
}

void ObjectDataBlobElement::StoreString(std::string value, int64_t tick)
{
    changeTick = tick;
    dataType = ODBE_STRING;
    stringValue = std::move(value);
    intValue = 0;
    uintValue = 0;
    floatValue = 0.0f;
}
