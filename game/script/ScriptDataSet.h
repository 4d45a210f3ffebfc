#pragma once
// A mission script's handle on one object's data set (zmx.object_data_set).
// The set lives inside a world record (a space object, a grid object), so the
// handle finds it anew at every use through its owner's lookup, which raises
// once the owner is gone.

#include "game/world/ObjectDataBlob.h"

#include <functional>
#include <utility>

class ScriptDataSet {
public:
    using Lookup = std::function<ObjectDataBlob&()>;

    explicit ScriptDataSet(Lookup lookup) : lookup(std::move(lookup)) {}

    ObjectDataBlob& Get() const { return lookup(); }

private:
    Lookup lookup;
};
