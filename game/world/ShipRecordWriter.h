#pragma once
// The ship list entry of one record: the form ShipRecordReader reads, so a
// record the console received from a server can be kept in a document of the
// data folder and read back at the next start.

#include "game/world/ShipDataRecord.h"

namespace Hjson {
class Value;
}

class ShipRecordWriter {
public:
    // Every field of the record, port slots included, so reading the entry
    // gives the record again (colours held to 0..1).
    static Hjson::Value Write(const ShipDataRecord& record);
};
