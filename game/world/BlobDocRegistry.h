#pragma once
// What every data-set tag written by name means: its documentation sentence,
// the type it was set as and whether it is used with indexes above 0. The
// named setters of ObjectDataBlob record into it; it lives until process exit
// and is never emptied, so it ends up describing every tag a run has used.

#include <cstdint>
#include <map>
#include <string>

class BlobDocRegistry {
public:
    struct Entry {
        std::string doc;
        std::string typeName;  // "int", "int64", "uint64", "float" or "string"
        bool indexed = false;  // set once a write used an index above 0
    };

    // Tag name -> entry, created on first use.
    static std::map<std::string, Entry>& Entries();

    // The longest documentation wins: a text at least as long as the stored
    // one replaces it and the type name, and may set the indexed flag; a
    // shorter text (such as the "a" of values written during play) leaves the
    // entry as it is.
    static void Record(const std::string& tag, std::string doc, const char* typeName, int32_t index);
};
