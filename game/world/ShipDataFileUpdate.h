#pragma once
// The hull viewer's write-back: scales one hull's mesh scale and beam and
// exhaust port positions in the ship data file "data/shipData.yaml".
//
// The file is authored by hand, so its own text is kept: only the numbers
// that change are replaced, in place, and every other byte (keys, comments,
// layout) stays. Should that not read back as the edited document, the whole
// document is written by the Hjson writer instead (keys and values kept,
// comments lost). Either way the new file replaces the old one whole (a
// temporary file renamed over it), so a failed write leaves the old file.

#include <cstdint>
#include <string>

struct ShipDataFileUpdate {
    bool written = false;        // the file was replaced
    bool commentsKept = false;   // in place: only the changed numbers differ
    int32_t recordsChanged = 0;  // records of the key (every one is changed)
    std::string message;         // what happened, for the editor's log
};

// The text of a ship data document with the key's records scaled (see
// UpdateShipDataFile); what the file services do not touch, for the editor
// and for the fuzz target.
struct ShipDataRewrite {
    std::string text;             // the new document; empty when nothing changed
    bool parsed = false;          // the old text was a document
    std::string parseError;       // why it was not
    int32_t recordsChanged = 0;
    bool commentsKept = false;    // the old text with only the changed numbers replaced
};
ShipDataRewrite RewriteShipDataText(const std::string& text, const std::string& key, float meshFactor,
                                    float portFactor);

// Every record of "#ship-list" whose "key" is the key: "meshscale" becomes
// its old value × meshFactor, and each "position" of the members of
// "hull_port_sets" whose names begin with "beam" or "exhaust" is scaled by
// portFactor. Products are formed in single precision. A file that cannot be
// read or parsed, or a key no record has, writes nothing.
ShipDataFileUpdate UpdateShipDataFile(const std::string& key, float meshFactor, float portFactor);
