#include "game/world/BlobDocRegistry.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/DataKey.h"
#include "game/world/ObjectDataBlob.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The registry is process-wide: every test uses tag names of its own.
const BlobDocRegistry::Entry& EntryOf(const std::string& tag)
{
    return BlobDocRegistry::Entries().at(tag);
}

TEST(BlobDocRegistry, named_setters_record_their_type_names)
{
    struct TypeCase {
        const char* tag;
        std::function<void(ObjectDataBlob&, const char*)> set;
        const char* typeName;
    };
    const TypeCase cases[] = {
        {"doc_int", [](ObjectDataBlob& b, const char* t) { b.SetInt(t, 1, 0, "count"); }, "int"},
        {"doc_int64", [](ObjectDataBlob& b, const char* t) { b.SetInt64(t, 1, 0, "count"); }, "int64"},
        {"doc_uint64", [](ObjectDataBlob& b, const char* t) { b.SetUInt64(t, 1, 0, "id"); }, "uint64"},
        {"doc_float", [](ObjectDataBlob& b, const char* t) { b.SetFloat(t, 1, 0, "level"); }, "float"},
        {"doc_string", [](ObjectDataBlob& b, const char* t) { b.SetString(t, "x", 0, "name"); }, "string"},
        {"doc_int_s", [](ObjectDataBlob& b, const char* t) { b.SetIntByIndexString(t, 1, "", "n"); }, "int"},
        {"doc_int64_s", [](ObjectDataBlob& b, const char* t) { b.SetInt64ByIndexString(t, 1, "", "n"); }, "int64"},
        {"doc_uint64_s", [](ObjectDataBlob& b, const char* t) { b.SetUInt64ByIndexString(t, 1, "", "n"); },
         "uint64"},
        {"doc_float_s", [](ObjectDataBlob& b, const char* t) { b.SetFloatByIndexString(t, 1, "", "n"); }, "float"},
        {"doc_string_s", [](ObjectDataBlob& b, const char* t) { b.SetStringByIndexString(t, "x", "", "n"); },
         "string"},
    };
    for (const TypeCase& c : cases) {
        ObjectDataBlob blob;
        c.set(blob, c.tag);
        EXPECT_EQ(EntryOf(c.tag).typeName, c.typeName) << c.tag;
    }
}

TEST(BlobDocRegistry, shorter_doc_leaves_entry_and_equal_or_longer_replaces_it)
{
    ObjectDataBlob blob;
    blob.SetInt("doc_keep", 3, 0, "Torpedoes loaded");
    blob.SetFloat("doc_keep", 2.0f, 5, "a");  // written during play
    EXPECT_EQ(EntryOf("doc_keep").doc, "Torpedoes loaded");
    EXPECT_EQ(EntryOf("doc_keep").typeName, "int");
    EXPECT_FALSE(EntryOf("doc_keep").indexed);

    blob.SetFloat("doc_keep", 2.0f, 0, "Torpedoes stored");
    EXPECT_EQ(EntryOf("doc_keep").doc, "Torpedoes stored");
    EXPECT_EQ(EntryOf("doc_keep").typeName, "float");
}

TEST(BlobDocRegistry, indexed_flag_follows_positive_indexes_only)
{
    struct IndexCase {
        const char* tag;
        std::function<void(ObjectDataBlob&, const char*)> set;
        bool indexed;
    };
    const IndexCase cases[] = {
        {"doc_idx_zero", [](ObjectDataBlob& b, const char* t) { b.SetInt(t, 1, 0, "d"); }, false},
        {"doc_idx_three", [](ObjectDataBlob& b, const char* t) { b.SetInt(t, 1, 3, "d"); }, true},
        {"doc_idx_negative", [](ObjectDataBlob& b, const char* t) { b.SetInt(t, 1, -2, "d"); }, false},
        {"doc_idx_crc_positive", [](ObjectDataBlob& b, const char* t) { b.SetIntByIndexString(t, 1, "Homing", "d"); },
         true},
        {"doc_idx_crc_negative", [](ObjectDataBlob& b, const char* t) { b.SetIntByIndexString(t, 1, "mine", "d"); },
         false},
    };
    for (const IndexCase& c : cases) {
        ObjectDataBlob blob;
        c.set(blob, c.tag);
        EXPECT_EQ(EntryOf(c.tag).indexed, c.indexed) << c.tag;
    }
}

TEST(BlobDocRegistry, indexed_flag_stays_once_set)
{
    ObjectDataBlob blob;
    blob.SetInt("doc_sticky", 1, 4, "d");
    blob.SetInt("doc_sticky", 1, 0, "dd");
    EXPECT_TRUE(EntryOf("doc_sticky").indexed);
}

TEST(BlobDocRegistry, setters_by_key_record_nothing)
{
    ObjectDataBlob blob;
    blob.SetIntById(HashMessageName("doc_by_key"), 1, 0);
    blob.SetStringById(HashMessageName("doc_by_key"), "x", 0);
    EXPECT_EQ(BlobDocRegistry::Entries().count("doc_by_key"), 0u);
}

// The game's own keys skip a record that would change nothing; what the
// registry ends up holding must be what recording every write would leave.
TEST(BlobDocRegistry, keys_written_again_and_again_leave_what_every_record_would)
{
    static constexpr DataKey kCargo{"doc_key_cargo", "tonnes of cargo in the hold"};
    static constexpr DataKey kCargoElsewhere{"doc_key_cargo", "tonnes of cargo in the forward hold"};
    ObjectDataBlob blob;
    WriteFloat(blob, kCargo, 1.0f);  // written during play before it is declared
    EXPECT_EQ(EntryOf("doc_key_cargo").doc, "a");
    EXPECT_EQ(EntryOf("doc_key_cargo").typeName, "float");
    DeclareInt(blob, kCargo, 5);
    WriteFloat(blob, kCargo, 2.0f);
    WriteFloat(blob, kCargo, 3.0f);
    EXPECT_EQ(EntryOf("doc_key_cargo").doc, "tonnes of cargo in the hold");
    EXPECT_EQ(EntryOf("doc_key_cargo").typeName, "int");
    EXPECT_FALSE(EntryOf("doc_key_cargo").indexed);

    DeclareInt(blob, kCargo, 5, 3);  // the same record, now with an index
    EXPECT_TRUE(EntryOf("doc_key_cargo").indexed);
    DeclareFloat(blob, kCargoElsewhere, 7.0f);  // a longer text of another declaration
    DeclareInt(blob, kCargo, 5);
    EXPECT_EQ(EntryOf("doc_key_cargo").doc, "tonnes of cargo in the forward hold");
    EXPECT_EQ(EntryOf("doc_key_cargo").typeName, "float");

    // A script's write by name between two of the same record.
    static constexpr DataKey kFuel{"doc_key_fuel", "litres of fuel"};
    DeclareFloat(blob, kFuel, 1.0f);
    blob.SetString("doc_key_fuel", "x", 0, "litres of gas!");
    EXPECT_EQ(EntryOf("doc_key_fuel").typeName, "string");
    DeclareFloat(blob, kFuel, 1.0f);
    EXPECT_EQ(EntryOf("doc_key_fuel").doc, "litres of fuel");
    EXPECT_EQ(EntryOf("doc_key_fuel").typeName, "float");
}

}  // namespace
