// Hjson documents (the preferences, the ship lists, every data file): any
// text parses or fails with syntax_error, and what parses is written back in
// Hjson and in JSON as documents that read back equal, keys in their order.

#include "fuzz/support/FuzzProcess.h"
#include "helper/Hjson.h"

#include <string>
#include <string_view>

namespace {

// Equal, and every map's keys in the same order (== compares maps as
// dictionaries).
bool SameKeyOrder(const Hjson::Value& a, const Hjson::Value& b)
{
    if (a.type() != b.type() || a.size() != b.size())
        return false;
    for (int i = 0; i < static_cast<int>(a.size()); ++i) {
        if (a.type() == Hjson::Type::Map && a.key(i) != b.key(i))
            return false;
        if (!SameKeyOrder(a[i], b[i]))
            return false;
    }
    return true;
}

void CheckReadsBack(const Hjson::Value& value, const std::string& written, const char* form)
{
    Hjson::Value again;
    try {
        again = Hjson::Unmarshal(written);
    } catch (const Hjson::syntax_error& error) {
        FuzzCheckFailed(std::string(form) + " wrote a document that does not parse: " + error.what() + "\n" +
                        written);
    }
    QEL_FUZZ_CHECK(again == value, std::string(form) + " wrote a document that reads back different:\n" + written);
    QEL_FUZZ_CHECK(SameKeyOrder(again, value), std::string(form) + " changed the order of keys:\n" + written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Hjson::Value value;
    try {
        value = Hjson::Unmarshal(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const Hjson::syntax_error&) {
        return 0;
    }
    CheckReadsBack(value, Hjson::Marshal(value), "Marshal");
    CheckReadsBack(value, Hjson::MarshalJson(value), "MarshalJson");
    return 0;
}
