#pragma once
// What every data-set tag written by name means: its documentation sentence,
// the type it was set as and whether it is used with indexes above 0. The
// named setters of ObjectDataBlob record into it; it lives until process exit
// and is never emptied, so it ends up describing every tag a run has used.
//
// The game's own keys are written many times a tick with the same sentence
// (DataKey), so a write that would leave the entry as it is costs one glance
// at a small table of the last record of each key; only the first write of a
// key, or one that changes what is recorded, reaches the entry itself.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class BlobDocRegistry {
public:
    // The type names, one pointer each, so records compare them cheaply.
    static constexpr const char* kInt = "int";
    static constexpr const char* kInt64 = "int64";
    static constexpr const char* kUInt64 = "uint64";
    static constexpr const char* kFloat = "float";
    static constexpr const char* kString = "string";

    struct Entry {
        std::string doc;
        std::string typeName;  // one of the names above
        bool indexed = false;  // set once a write used an index above 0
    };

    // Tag name -> entry, created on first use.
    static std::map<std::string, Entry>& Entries();

    // The longest documentation wins: a text at least as long as the stored
    // one replaces it and the type name, and may set the indexed flag; a
    // shorter text (such as the "a" of values written during play) leaves the
    // entry as it is. tagKey is the tag's name hash.
    static void Record(uint64_t tagKey, std::string_view tag, std::string_view doc, const char* typeName,
                       int32_t index);
    // As Record, for a documentation text that lives as long as the program
    // (a literal, as every DataKey's is): a repeat of the key's last record
    // changes nothing and is passed over without reaching the entry.
    static void RecordLasting(uint64_t tagKey, std::string_view tag, std::string_view doc, const char* typeName,
                              int32_t index);
};
