// The ship librarian's write-back on any ship data text: a text that is not
// a document is refused; a document is rewritten (the last record's key
// scaled) into a text that reads back, with the numbers changed and nothing
// else.

#include "fuzz/support/FuzzProcess.h"
#include "game/world/ShipDataFileUpdate.h"
#include "helper/Hjson.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::string text(reinterpret_cast<const char*>(data), size);
    Hjson::Value root;
    try {
        root = Hjson::Unmarshal(text);
    } catch (const Hjson::syntax_error&) {
        QEL_FUZZ_CHECK(!RewriteShipDataText(text, "unknown", 2.0f, 0.5f).parsed, "a broken text was taken");
        return 0;
    }
    const Hjson::Value& list = static_cast<const Hjson::Value&>(root)["#ship-list"];
    const Hjson::Value& lastKey = list[static_cast<int>(list.size()) - 1]["key"];
    const std::string key = lastKey.type() == Hjson::Type::String ? lastKey.to_string() : "unknown";
    const ShipDataRewrite rewrite = RewriteShipDataText(text, key, 2.0f, 0.5f);
    QEL_FUZZ_CHECK(rewrite.parsed, "a document was refused");
    if (rewrite.recordsChanged == 0)
        return 0;
    try {
        const Hjson::Value reread = Hjson::Unmarshal(rewrite.text);
        QEL_FUZZ_CHECK(static_cast<const Hjson::Value&>(reread)["#ship-list"].size() == list.size(),
                       "the rewrite lost records");
    } catch (const Hjson::syntax_error&) {
        QEL_FUZZ_CHECK(false, "the rewritten text does not read back");
    }
    return 0;
}
