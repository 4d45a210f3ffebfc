#pragma once
// One keyed value of an object data set. Every setter keeps the three numeric
// fields consistent with the value it stores, so a reader may take whichever
// field suits it: an integer read of a float gives it truncated, a float read
// of an integer gives it converted.

#include <cstdint>
#include <map>
#include <string>

enum ObjectDataBlobElementType : int32_t {
    ODBE_INT = 0,     // signed integer, 32 or 64 bits
    ODBE_UINT64 = 1,
    ODBE_FLOAT = 2,
    ODBE_STRING = 3,
    ODBE_NONE = 4,    // created by a read, never set
};

struct ObjectDataBlobElement {
    // The numbers first, together: a read finds them in one cache line.
    int64_t intValue = 0;
    uint64_t uintValue = 0;
    float floatValue = 0.0f;
    int32_t dataType = ODBE_NONE;
    int64_t changeTick = 0;    // tick of the last change, 0 = never
    std::string stringValue;
    // Client id -> tick at which this element was last sent to that client;
    // only the server's replication touches it.
    std::map<uint64_t, int64_t> sentTicks;

    // Each store stamps a change with the tick given (the world's current
    // tick, as its data set passes it). Re-storing the same integer is no
    // change, so replication does not resend it; a change of type always is,
    // whatever the value.
    void StoreInt(int64_t value, int64_t tick);
    // The stores below always count as a change.
    void StoreUInt64(uint64_t value, int64_t tick);
    void StoreFloat(float value, int64_t tick);
    // Zeroes the numeric fields.
    void StoreString(std::string value, int64_t tick);
};

// Float to integer conversions of the data set, defined for every float:
// truncation toward zero, NaN gives 0, values beyond the range saturate.
int64_t BlobFloatToInt64(float value);
// Negative values give the same 64 bits as their signed truncation, as the
// integer setters store them.
uint64_t BlobFloatToUInt64(float value);
