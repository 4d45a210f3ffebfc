#pragma once
// Typed, ranged reading of data documents: the preferences, the ship lists and
// every other Hjson file of the data folder. A read gives a value of the type
// asked for inside its range, or throws JSONLoaderError in one line that names
// the document (the path it was read from), the record and key, the value
// found and what was expected:
//
//   /srv/halvex/data/shipData.yaml: record 4 ("tern_frigate"): "movespeed" is "" (text);
//   expected a number from 0 to 1000.
//
// A DocumentReader stands for one map of a document (its root, a record, an
// element inside a record); indexing it by key gives a DocumentField, which is
// read as the type the key holds. Keys are named by their path below the
// record ("hull_port_sets.beam[2].range"). Numbers may be written with or
// without quotes; integers written with a fraction are cut toward zero, as
// the document loader has always read them.
//
// Usage, with the range's reason beside it:
//   const DocumentReader record(entry, loader.Path(), "record 3");
//   const float speed = record["movespeed"].Number({0, 1000});   // world units per tick
//   const float turn = record["turn_rate"].NumberOr({0, 100}, 1.0);

#include "game/world/JSONLoader.h"
#include "helper/Hjson.h"

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// Inclusive bounds of a number a document may give.
struct NumberRange {
    double low;
    double high;
};

struct IntegerRange {
    int64_t low;
    int64_t high;
};

// Any number a float holds; any integer an int32 holds.
inline constexpr NumberRange kAnyFloat{-std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
inline constexpr IntegerRange kAnyInt32{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};

class DocumentReader;

// One value of a document and where it sits. Every read of a required value
// fails for an absent key; the ...Or reads give the fallback instead, and
// still refuse a value that is there but wrong.
class DocumentField {
public:
    DocumentField(const Hjson::Value& value, std::string origin, std::string name);

    bool Present() const { return value_->defined(); }
    const Hjson::Value& Raw() const { return *value_; }
    const std::string& Name() const { return name_; }

    double Number(NumberRange range) const;
    double NumberOr(NumberRange range, double fallback) const;
    int32_t Integer(IntegerRange range) const;
    int32_t IntegerOr(IntegerRange range, int32_t fallback) const;
    // Text, or a number or true/false written where text belongs, as text.
    std::string Text() const;
    std::string TextOr(std::string fallback) const;
    // Text the colour parser reads ("red", "#40c0ff", "rgb(64, 192, 255)").
    glm::vec4 Colour() const;
    glm::vec4 ColourOr(const char* fallback) const;
    // The first three elements of a list, each a number in the range; a list
    // may hold more (an exhaust port is [x, y, z, colour]).
    glm::vec3 Position(NumberRange coordinate) const;
    glm::vec3 PositionOr(NumberRange coordinate, glm::vec3 fallback) const;

    // The elements of a list; none when the key is absent.
    std::vector<DocumentField> Elements() const;
    // Element `index` of a list (or the index-th value of a map), absent
    // when the list is shorter.
    DocumentField Element(size_t index) const;
    // The value as a map of keys.
    DocumentReader Fields() const;

    // Throws the error that says this value is not what was expected
    // ("a number from 0 to 10").
    [[noreturn]] void Fail(const std::string& expected) const;

private:
    const Hjson::Value* value_;
    std::string origin_;  // the document, and the record when there is one
    std::string name_;    // the key's path below the record
};

class DocumentReader {
public:
    // The map `fields` of the document read from `path`; `record` says where
    // the map sits when it is not the root ("record 3 (\"cruiser\")").
    DocumentReader(const Hjson::Value& fields, std::string path, std::string record = "");

    DocumentField operator[](std::string_view key) const;
    // The keys of the map in document order.
    std::vector<std::string> Keys() const;
    const std::string& Origin() const { return origin_; }

private:
    friend class DocumentField;
    // A map inside a record, named by its path below the record.
    static DocumentReader Nested(const Hjson::Value& fields, std::string origin, std::string prefix);
    DocumentReader() = default;

    const Hjson::Value* fields_ = nullptr;
    std::string origin_;
    std::string prefix_;  // path of the map below the record, with its '.'
};

// The value as an error message shows it: a number or true/false as written,
// text quoted (cut short, unprintable bytes escaped) and marked as text, a
// list or a map by its size, an absent key as "missing".
std::string DescribeDocumentValue(const Hjson::Value& value);
