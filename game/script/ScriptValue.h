#pragma once
// A vector or quaternion as mission scripts hold it (zmx.vec2, vec3, vec4,
// quaternion). A value a script builds owns its components. A value read from
// a world record's field (an object's position, its orientation) is a view:
// writing a component writes the record. The view finds its field anew at
// every access, so once the world has deleted the record the access raises a
// Python exception instead of touching freed memory.

#include <functional>
#include <utility>

template <typename Value>
class ScriptValue {
public:
    // The live field, or an exception when the record is gone.
    using FieldLookup = std::function<Value&()>;

    explicit ScriptValue(const Value& value) : own(value) {}
    explicit ScriptValue(FieldLookup lookup) : field(std::move(lookup)) {}
    // A copy always owns its value, so a script's copy never follows the record.
    ScriptValue(const ScriptValue& other) : own(other.Get()) {}
    // Handing a view on (to Python) keeps it a view.
    ScriptValue(ScriptValue&&) = default;
    ScriptValue& operator=(const ScriptValue&) = delete;

    Value Get() const { return field ? field() : own; }
    Value& Ref() { return field ? field() : own; }
    bool IsView() const { return static_cast<bool>(field); }

private:
    Value own{};
    FieldLookup field;
};
