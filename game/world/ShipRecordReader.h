#pragma once
// Fills one ship record from its entry in a ship list document.

#include "game/world/ShipDataRecord.h"

#include <memory>
#include <string>

class DocumentField;

class ShipRecordReader {
public:
    // The record of the entry at the given position of the list. Throws
    // JSONLoaderError naming the document, the position (and the key, once it
    // is known), the key and the value when a required key is absent or a
    // value has the wrong type or lies outside its range.
    static std::unique_ptr<ShipDataRecord> Read(const DocumentField& entry, int index,
                                                const std::string& documentPath);
};
