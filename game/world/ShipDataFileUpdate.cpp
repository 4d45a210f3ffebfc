#include "game/world/ShipDataFileUpdate.h"

#include "engine/base/QelFileServices.h"
#include "helper/Hjson.h"
#include "helper/HjsonSyntax.h"

#include <utility>
#include <vector>

namespace {

constexpr const char* kFolder = "data";
constexpr const char* kName = "shipData";
constexpr const char* kExtension = "yaml";
constexpr const char* kPath = "data/shipData.yaml";
constexpr const char* kFileTag = "ShipDataFileUpdate";
constexpr const char* kShipList = "#ship-list";
constexpr const char* kPortSets = "hull_port_sets";
constexpr int kPositionAxes = 3;

using Spans = std::vector<std::pair<size_t, size_t>>;

bool IsNumber(const Hjson::Value& value)
{
    return value.type() == Hjson::Type::Double || value.type() == Hjson::Type::Int64;
}

// The product is formed in single precision, as the loader reads the value.
Hjson::Value Scaled(const Hjson::Value& old, float factor)
{
    return Hjson::Value(static_cast<double>(static_cast<float>(old.to_double()) * factor));
}

bool IsScaledPortSet(const std::string& name)
{
    return name.rfind("beam", 0) == 0 || name.rfind("exhaust", 0) == 0;
}

// A Vector's elements can only be replaced by building it again.
template <typename Change>
Hjson::Value RebuiltVector(const Hjson::Value& vector, Change change)
{
    Hjson::Value rebuilt(Hjson::Type::Vector);
    for (size_t i = 0; i < vector.size(); ++i) {
        Hjson::Value element = vector[static_cast<int>(i)];
        change(element);
        rebuilt.push_back(std::move(element));
    }
    return rebuilt;
}

void ScalePort(Hjson::Value& port, float portFactor)
{
    const Hjson::Value& position = static_cast<const Hjson::Value&>(port)["position"];
    if (position.type() != Hjson::Type::Vector)
        return;
    int axis = 0;
    port["position"] = RebuiltVector(position, [&](Hjson::Value& coordinate) {
        if (axis++ < kPositionAxes && IsNumber(coordinate))
            coordinate = Scaled(coordinate, portFactor);
    });
}

void ScaleRecord(Hjson::Value& record, float meshFactor, float portFactor)
{
    // A value that is no number is left for the loader to report.
    const Hjson::Value& meshscale = static_cast<const Hjson::Value&>(record)["meshscale"];
    if (IsNumber(meshscale))
        record["meshscale"] = Scaled(meshscale, meshFactor);
    const Hjson::Value& sets = static_cast<const Hjson::Value&>(record)[kPortSets];
    if (sets.type() != Hjson::Type::Map)
        return;
    Hjson::Value& editable = record[kPortSets];
    for (size_t i = 0; i < sets.size(); ++i) {
        const std::string name = sets.key(static_cast<int>(i));
        const Hjson::Value& set = sets[name];
        if (!IsScaledPortSet(name) || set.type() != Hjson::Type::Vector)
            continue;
        editable[name] = RebuiltVector(set, [&](Hjson::Value& port) {
            if (port.type() == Hjson::Type::Map)
                ScalePort(port, portFactor);
        });
    }
}

// The records of the key, changed; the count of them.
int32_t EditDocument(Hjson::Value& root, const std::string& key, float meshFactor, float portFactor)
{
    const Hjson::Value& list = static_cast<const Hjson::Value&>(root)[kShipList];
    if (list.type() != Hjson::Type::Vector)
        return 0;
    int32_t changed = 0;
    root[kShipList] = RebuiltVector(list, [&](Hjson::Value& record) {
        const Hjson::Value& recordKey = static_cast<const Hjson::Value&>(record)["key"];
        if (record.type() == Hjson::Type::Map && recordKey.type() == Hjson::Type::String &&
            recordKey.to_string() == key) {
            ScaleRecord(record, meshFactor, portFactor);
            ++changed;
        }
    });
    return changed;
}

// Every scalar of the tree in the order the reader met them.
void CollectScalars(const Hjson::Value& value, std::vector<const Hjson::Value*>& scalars)
{
    if (value.type() == Hjson::Type::Map || value.type() == Hjson::Type::Vector) {
        for (size_t i = 0; i < value.size(); ++i)
            CollectScalars(value[static_cast<int>(i)], scalars);
        return;
    }
    scalars.push_back(&value);
}

bool SameScalar(const Hjson::Value& a, const Hjson::Value& b)
{
    return a.type() == b.type() && a == b;
}

// A number as the Hjson writer spells it.
std::string NumberText(const Hjson::Value& number)
{
    std::string text = Hjson::Marshal(number);
    while (!text.empty() && Hjson::syntax::IsBlank(text.back()))
        text.pop_back();
    return text;
}

// The original text with the changed numbers replaced where they stand, when
// that reads back as the edited document; else empty.
std::string EditInPlace(const std::string& text, const Spans& spans, const Hjson::Value& original,
                        const Hjson::Value& edited)
{
    std::vector<const Hjson::Value*> before, after;
    CollectScalars(original, before);
    CollectScalars(edited, after);
    // A key given twice keeps only its last value: the tree no longer lines
    // up with the text, and the whole document is written instead.
    if (before.size() != spans.size() || after.size() != spans.size())
        return {};
    std::string patched = text;
    for (size_t i = spans.size(); i-- > 0;) {
        if (SameScalar(*before[i], *after[i]))
            continue;
        const auto [begin, end] = spans[i];
        const size_t trimmedEnd = begin + Hjson::syntax::TrimTrailingBlanks(std::string_view(text).substr(begin, end - begin)).size();
        patched.replace(begin, trimmedEnd - begin, NumberText(*after[i]));
    }
    try {
        if (Hjson::Unmarshal(patched) == edited)
            return patched;
    } catch (const Hjson::syntax_error&) {
    }
    return {};
}

bool WriteWhole(const std::string& text)
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO(kFileTag);
    if (!file->Open(kFolder, kName, kExtension, false, true, true, false))
        return false;
    const bool wrote = file->WriteString(text);
    return file->Close() && wrote;
}

}  // namespace

ShipDataRewrite RewriteShipDataText(const std::string& text, const std::string& key, float meshFactor,
                                    float portFactor)
{
    ShipDataRewrite rewrite;
    Spans spans;
    Hjson::DecoderOptions options;
    options.scalarSpans = &spans;
    Hjson::Value original;
    try {
        original = Hjson::Unmarshal(text, options);
    } catch (const Hjson::syntax_error& error) {
        rewrite.parseError = error.what();
        return rewrite;
    }
    rewrite.parsed = true;
    Hjson::Value edited = original;
    rewrite.recordsChanged = EditDocument(edited, key, meshFactor, portFactor);
    if (rewrite.recordsChanged == 0)
        return rewrite;
    rewrite.text = EditInPlace(text, spans, original, edited);
    rewrite.commentsKept = !rewrite.text.empty();
    if (!rewrite.commentsKept)
        rewrite.text = Hjson::Marshal(edited);
    return rewrite;
}

ShipDataFileUpdate UpdateShipDataFile(const std::string& key, float meshFactor, float portFactor)
{
    ShipDataFileUpdate result;
    QelFileIO* file = QelFileServices::Instance().GetFileIO(kFileTag);
    std::string text;
    const bool read = file->OpenRead(kFolder, kName, kExtension) && file->ReadAllText(text);
    file->Close();
    if (!read) {
        result.message = std::string("Could not read ") + kPath + "; nothing was written.";
        return result;
    }
    const ShipDataRewrite rewrite = RewriteShipDataText(text, key, meshFactor, portFactor);
    result.recordsChanged = rewrite.recordsChanged;
    if (!rewrite.parsed) {
        result.message = std::string(kPath) + " does not parse (" + rewrite.parseError + "); nothing was written.";
        return result;
    }
    if (rewrite.recordsChanged == 0) {
        result.message = "No record of \"" + key + "\" in " + kPath + "; nothing was written.";
        return result;
    }
    if (!WriteWhole(rewrite.text)) {
        result.message = std::string("Could not write ") + kPath + "; the file was left as it was.";
        return result;
    }
    result.written = true;
    result.commentsKept = rewrite.commentsKept;
    result.message = "Wrote " + std::to_string(result.recordsChanged) + " record(s) of \"" + key + "\" to " + kPath +
                     (result.commentsKept ? "." : " (written whole: its comments could not be kept).");
    return result;
}
