#pragma once
// Hjson documents: the human-friendly superset of JSON that the data files and
// the preferences are written in (quoteless strings, ''' multiline strings,
// #, // and /* */ comments, optional commas, optional root braces).
//
// A Value is one node of a document with value semantics: copying a Value
// copies the whole tree. Maps keep their keys in insertion order, so a document
// written back keeps the order its author chose.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Hjson {

// The numbering is the one the data code and the tools agree on; keep it.
enum class Type { Undefined = 0, Null = 1, Bool = 2, Double = 3, Int64 = 4, String = 5, Vector = 6, Map = 7 };

// An operation was asked of a value of the wrong type.
class type_mismatch : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// key() was asked for an index the Map does not have.
class index_out_of_bounds : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// The text is not a valid Hjson document; the message names the line and column.
class syntax_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Value {
public:
    Value();                // Undefined
    Value(std::nullptr_t);  // Null
    Value(bool value);
    Value(double value);
    Value(int64_t value);
    Value(int value);
    Value(const char* text);
    Value(std::string text);
    // The empty value of the type: false, 0, "", an empty Vector or Map.
    explicit Value(Type type);

    Value(const Value& other);
    Value(Value&& other) noexcept;
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept;
    ~Value();

    Type type() const { return type_; }
    bool defined() const { return type_ != Type::Undefined; }
    // Elements of a Vector or entries of a Map; 0 for every other type.
    size_t size() const;

    // The value under the key; an Undefined value when the key is absent or
    // this is not a Map.
    const Value& operator[](const std::string& key) const;
    const Value& operator[](const char* key) const { return (*this)[std::string(key)]; }
    // The value under the key, created Undefined when absent (an Undefined
    // value becomes an empty Map first). Reading through a non-const Value
    // therefore adds the key; read through a const reference to avoid that.
    // Throws type_mismatch for any type other than Undefined and Map.
    Value& operator[](const std::string& key);
    Value& operator[](const char* key) { return (*this)[std::string(key)]; }

    // The element of a Vector, or the index-th value of a Map in insertion
    // order; an Undefined value when out of range or of another type.
    const Value& operator[](int index) const;
    // Same as the const form; it exists so that v[0] on a non-const value is
    // not ambiguous with the key overloads.
    const Value& operator[](int index) { return static_cast<const Value&>(*this)[index]; }

    // Appends to a Vector (an Undefined value becomes an empty Vector first);
    // throws type_mismatch for any other type.
    void push_back(Value element);
    // The index-th key of a Map in insertion order. Throws type_mismatch when
    // this is not a Map and index_out_of_bounds when out of range.
    std::string key(int index) const;
    // Removes the key from a Map; false when there was nothing to remove.
    bool erase(const std::string& key);

    // Text form: Undefined "", Null "null", "true"/"false", numbers in
    // decimal, strings themselves. Throws type_mismatch
    // "Illegal type for this operation." for a Vector or a Map.
    std::string to_string() const;
    // Numeric form: Undefined and Null 0, Bool 1 or 0, numbers their value,
    // a String the number its whole text reads as, else 0. Throws
    // type_mismatch "Illegal type for this operation." for a Vector or a Map.
    double to_double() const;
    // As to_double, as an integer: a Double is truncated toward zero and
    // clamped to the int64 range (NaN gives 0).
    int64_t to_int64() const;

    // Structural equality. Numbers compare by value across Double and Int64;
    // Maps compare as dictionaries (same keys and values, any order).
    bool operator==(const Value& other) const;

private:
    struct Members;  // elements of a Vector or entries of a Map

    Members& members();
    const Members* membersOrNull() const;

    Type type_ = Type::Undefined;
    bool bool_ = false;
    int64_t int_ = 0;
    double double_ = 0.0;
    std::string text_;
    std::unique_ptr<Members> members_;
};

// How Unmarshal treats what the format leaves open.
struct DecoderOptions {
    // A key given twice in one map is a syntax error naming its line, instead
    // of the later value replacing the earlier one. Data files want this: two
    // values for one setting are a mistake whichever of them wins.
    bool duplicateKeyException = false;
    // When set, receives where each scalar value (not a Map or a Vector)
    // stands in the text, as [begin, end) byte offsets in text order, so an
    // editor can replace a value and keep every other byte of the file.
    std::vector<std::pair<size_t, size_t>>* scalarSpans = nullptr;
};

// Parses an Hjson (and so also a JSON) document. Throws syntax_error.
Value Unmarshal(std::string_view text, const DecoderOptions& options = {});
// Writes the value as an Hjson document that Unmarshal reads back to an equal
// value with the same key order.
std::string Marshal(const Value& value);
// Writes the value as JSON text.
std::string MarshalJson(const Value& value);

}  // namespace Hjson
