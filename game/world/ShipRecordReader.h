#pragma once
// Fills one ship record from its entry in a ship list document.

#include "game/world/ShipDataRecord.h"

#include <memory>
#include <string>

namespace Hjson {
class Value;
}

class ShipRecordReader {
public:
    // The record of the entry at the given position of the list. Throws
    // ShipDataError naming the document, the position (and the key, once it
    // is known) when a required key is absent or a value has the wrong shape.
    static std::unique_ptr<ShipDataRecord> Read(const Hjson::Value& entry, int index,
                                                const std::string& documentName);
};
