#pragma once
// Checks shared by the Hjson tests.

#include "helper/Hjson.h"

#include <gtest/gtest.h>

namespace hjson_test {

// Whether every Map in the two trees lists the same keys in the same order
// (operator== treats Maps as dictionaries and ignores the order).
inline bool SameKeyOrder(const Hjson::Value& a, const Hjson::Value& b)
{
    if (a.type() != b.type() || a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const int index = static_cast<int>(i);
        if (a.type() == Hjson::Type::Map && a.key(index) != b.key(index)) return false;
        if (!SameKeyOrder(a[index], b[index])) return false;
    }
    return true;
}

// Writing the value as Hjson and as JSON and reading it back gives the same
// value with the same key order.
inline void ExpectRoundTrip(const Hjson::Value& value)
{
    for (const std::string& text : {Hjson::Marshal(value), Hjson::MarshalJson(value)}) {
        SCOPED_TRACE("written as:\n" + text);
        Hjson::Value readBack;
        ASSERT_NO_THROW(readBack = Hjson::Unmarshal(text));
        EXPECT_TRUE(readBack == value);
        EXPECT_TRUE(SameKeyOrder(readBack, value));
    }
}

}  // namespace hjson_test
