#pragma once
// The ship definitions: the main list read from the data folder, an extra list
// that a mission may add from its own folder, and the records a client
// receives from the server for keys it did not know.

#include "game/world/ShipDataRecord.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QelNetworkMessage;
namespace Hjson {
class Value;
}

// What the client shows of a hull is built from its record; when a record
// arrives from the server, the look built so far for that key must be dropped.
// The render manager implements this; the headless server has none.
class ShipDrawDataService {
public:
    virtual ~ShipDrawDataService() = default;
    virtual void ReplaceDrawData(const std::string& shipKey) = 0;
};

// How one received record fared.
enum class ShipRecordReceipt { Stored, AlreadyKnown, Malformed };

class ShipData {
public:
    using RecordList = std::vector<std::unique_ptr<ShipDataRecord>>;
    using KeyMap = std::map<std::string, ShipDataRecord*>;

    // The key whose record answers every look-up that finds nothing.
    static constexpr const char* kUnknownKey = "unknown";
    // Data tags the views draw by the tag alone, with no record: markers
    // nobody sees, nebulae, black holes and planets.
    static constexpr std::array<const char*, 5> kTagsWithoutRecord = {"invisible", "nebula", "maelstrom",
                                                                      "blackhole", "planet"};
    static constexpr const char* kMainDocument = "shipData";
    // Records received from servers, kept beside the main list for later runs;
    // the main list itself is the game's and is never rewritten.
    static constexpr const char* kFetchedDocument = "fetchedShipData";

    // The process's one set of definitions.
    static ShipData& Instance();

    // Reads the ship list document of the given name and appends its records.
    // A document that cannot be used throws JSONLoaderError (or the Hjson
    // syntax error) naming the file, the record, the key and the value, and
    // then adds nothing.
    static void Load(RecordList& records, KeyMap& keys, const std::string& documentName);
    // The same from a parsed document; the path only labels errors.
    static void LoadDocument(RecordList& records, KeyMap& keys, const Hjson::Value& root,
                             const std::string& documentPath);
    // Frees every record of the list and empties it; the key map entries
    // that named them go too, so no look-up can reach a freed record.
    void ClearRecords(RecordList& records);

    // Reads the main list ("shipData").
    void LoadMain();
    // Replaces the records an earlier mission added from its folder with the
    // mission's own "extraShipData" list, when it has one. Received records
    // stay. The folder is "missions/<name>/" below the data folder, or the
    // absolute path of a folder the operator hosts from elsewhere.
    void LoadExtra(const std::string& missionPath);
    // The record of the key: the extra list first, then the main list. A miss
    // is counted and answered with the main list's "unknown" record (null
    // when the list defines none).
    const ShipDataRecord* Find(const std::string& key);
    // The record of the key, or null: no miss is counted and "unknown"
    // answers nothing, so keys from a peer cannot grow the miss counters.
    const ShipDataRecord* FindDefined(const std::string& key) const;

    // Appends the wire form of the record to the message.
    static void PackRecordToMessage(const ShipDataRecord& record, QelNetworkMessage& message);
    // Reads one record in wire form and stores it as an extra record, unless
    // its key is known already. A malformed record is dropped whole.
    ShipRecordReceipt UnPackRecordToData(QelNetworkMessage& message);

    // Adds the received record of the key to the fetched document (written
    // whole to a temporary file and renamed), so the next start knows the
    // hull without asking. A record the document could not give back, or no
    // received record of the key, is not stored; false then, or when the
    // file cannot be written.
    bool StoreReceivedRecord(const std::string& key);
    // Reads the fetched document when there is one: each record joins the
    // received ones unless the main list or a received record has its key.
    // A document that cannot be read is reported in one line and left out.
    void LoadFetched();

    void SetDrawDataService(ShipDrawDataService* service) { drawData_ = service; }

    RecordList mainRecords;
    KeyMap mainKeys;
    RecordList extraRecords;  // loaded from a mission's file
    KeyMap extraKeys;         // the extra file's records and the received ones
    RecordList receivedRecords;
    // Failed look-ups per key, which the client turns into requests to the
    // server; emptied when the simulation is cleared.
    std::map<std::string, int32_t> missCounters;
    // 1 once the key was requested from the server; kept for the process.
    std::map<std::string, int> requestedFlags;
    // Received records that were dropped as malformed.
    int32_t malformedRecordCount = 0;
    // Keys of the received records the fetched document holds.
    std::set<std::string> fetchedKeys;

private:
    void ForgetFileRecords();

    ShipDrawDataService* drawData_ = nullptr;
};
