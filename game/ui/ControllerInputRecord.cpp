#include "game/ui/ControllerInputRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/base/QelFileIO.h"
#include "engine/base/QelFileServices.h"
#include "helper/GeneralUtils.h"

namespace {

const char* const kSettingsFolder = "data";
const char* const kSettingsPrefix = "joystickSettings_";
const char* const kSettingsExtension = "dat";
// Device names can be long; a file name longer than this is cut.
constexpr size_t kMaxSafeNameBytes = 120;

// Reads the settings file's fields in order, never past its end; the first
// field that does not fit names the fault.
class SettingsReader {
public:
    explicit SettingsReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

    bool Int32(int32_t& value, const char* field)
    {
        uint32_t raw = 0;
        if (!Take(4, field))
            return false;
        for (int i = 3; i >= 0; --i)
            raw = (raw << 8) | bytes[at - 4 + i];
        value = static_cast<int32_t>(raw);
        return true;
    }

    bool Float(float& value, const char* field)
    {
        int32_t raw = 0;
        if (!Int32(raw, field))
            return false;
        value = std::bit_cast<float>(raw);
        return true;
    }

    // A byte count, then the bytes, trimmed as stored strings are.
    bool String(std::string& value, const char* field)
    {
        int32_t count = 0;
        if (!Int32(count, field))
            return false;
        if (count < 0 || static_cast<size_t>(count) > Left())
            return Fail(field, "claims " + std::to_string(count) + " bytes where " + std::to_string(Left()) +
                                   " are left");
        value.assign(reinterpret_cast<const char*>(bytes.data() + at), static_cast<size_t>(count));
        at += static_cast<size_t>(count);
        TrimStoredText(value);
        return true;
    }

    // A count, then that many strings; each string takes at least its count.
    bool List(std::vector<std::string>& list, const char* field)
    {
        int32_t count = 0;
        if (!Int32(count, field))
            return false;
        if (count < 0 || static_cast<size_t>(count) > Left() / 4)
            return Fail(field, "claims " + std::to_string(count) + " names where the file has room for " +
                                   std::to_string(Left() / 4));
        list.assign(static_cast<size_t>(count), std::string());
        for (std::string& name : list) {
            if (!String(name, field))
                return false;
        }
        return true;
    }

    size_t Left() const { return bytes.size() - at; }
    const std::string& Error() const { return error; }

private:
    bool Take(size_t count, const char* field)
    {
        if (Left() < count)
            return Fail(field, "is cut off by the end of the file");
        at += count;
        return true;
    }

    bool Fail(const char* field, const std::string& what)
    {
        if (error.empty())
            error = std::string("the ") + field + " " + what;
        return false;
    }

    std::span<const uint8_t> bytes;
    size_t at = 0;
    std::string error;
};

void PutInt32(std::string& out, int32_t value)
{
    const auto raw = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((raw >> shift) & 0xFF);
}

void PutString(std::string& out, const std::string& text)
{
    PutInt32(out, static_cast<int32_t>(text.size()));
    out += text;
}

bool BelongsInFileName(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view(" -_.()+,").find(c) != std::string_view::npos;
}

// -1 and 1 as they are, any other value as its sign.
int32_t Sign(int32_t value)
{
    return (value > 0) - (value < 0);
}

float DeadZone(float value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0f, ControllerInputRecord::kMaxDeadZone) : 0.0f;
}

}  // namespace

ControllerInputRecord::ControllerInputRecord(std::string name, int32_t axisCount) : deviceName(std::move(name))
{
    for (int32_t axis = 0; axis < std::clamp(axisCount, 0, kSlots); ++axis) {
        axisAssignments[axis] = kNothing;
        axisSigns[axis] = 1;
    }
}

std::string ControllerInputRecord::SettingsFileName(const std::string& name)
{
    std::string safe = name.substr(0, kMaxSafeNameBytes);
    for (char& c : safe) {
        if (!BelongsInFileName(c))
            c = '_';
    }
    // No hidden file, and no ".." however the name begins.
    if (!safe.empty() && safe.front() == '.')
        safe.front() = '_';
    return kSettingsPrefix + safe;
}

std::string ControllerInputRecord::ToBytes() const
{
    std::string out;
    for (const std::vector<std::string>* list : {&axisLabelList, &buttonLabelList}) {
        PutInt32(out, static_cast<int32_t>(list->size()));
        for (const std::string& label : *list)
            PutString(out, label);
    }
    for (int32_t slot = 0; slot < kSlots; ++slot) {
        PutString(out, axisAssignments[slot]);
        PutInt32(out, axisSigns[slot]);
        PutInt32(out, std::bit_cast<int32_t>(axisDeadZones[slot]));
        PutString(out, buttonActions[slot]);
    }
    for (const std::string& action : hatActions)
        PutString(out, action);
    PutInt32(out, enabled ? 1 : 0);
    return out;
}

bool ControllerInputRecord::FromBytes(std::span<const uint8_t> bytes, std::string& error)
{
    SettingsReader reader(bytes);
    ControllerInputRecord read(deviceName, 0);
    bool fits = reader.List(read.axisLabelList, "axis label list") &&
                reader.List(read.buttonLabelList, "button label list");
    for (int32_t slot = 0; fits && slot < kSlots; ++slot) {
        fits = reader.String(read.axisAssignments[slot], "axis assignment") &&
               reader.Int32(read.axisSigns[slot], "axis sign") &&
               reader.Float(read.axisDeadZones[slot], "axis dead zone") &&
               reader.String(read.buttonActions[slot], "button action");
        read.axisSigns[slot] = Sign(read.axisSigns[slot]);
        read.axisDeadZones[slot] = DeadZone(read.axisDeadZones[slot]);
    }
    for (std::string& action : read.hatActions)
        fits = fits && reader.String(action, "hat action");
    int32_t enabledValue = 0;
    fits = fits && reader.Int32(enabledValue, "enabled flag");
    if (!fits) {
        error = reader.Error();
        return false;
    }
    read.enabled = enabledValue != 0;
    *this = std::move(read);
    return true;
}

bool ControllerInputRecord::LoadData()
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("ControllerInputRecord::LoadData");
    const std::string name = SettingsFileName(deviceName);
    if (!file->Open(kSettingsFolder, name, kSettingsExtension, true, false, true, false))
        return false;
    // One byte more than a settings file may hold tells a file that is too large.
    std::vector<uint8_t> bytes(kMaxFileBytes + 1);
    int32_t size = 0;
    file->ReadBytes(bytes.data(), kMaxFileBytes + 1, size);
    file->Close();
    bytes.resize(static_cast<size_t>(size));
    std::string error = "it is larger than a settings file may be (" + std::to_string(kMaxFileBytes) + " bytes)";
    if (size <= kMaxFileBytes && FromBytes(bytes, error))
        return true;
    std::fprintf(stderr, "Controller settings data/%s.dat: %s; the controller keeps its present mapping.\n",
                 name.c_str(), error.c_str());
    return false;
}

bool ControllerInputRecord::SaveData() const
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("ControllerInputRecord::SaveData");
    const std::string name = SettingsFileName(deviceName);
    if (!file->Open(kSettingsFolder, name, kSettingsExtension, false, true, true, false))
        return false;
    const std::string bytes = ToBytes();
    const bool written = file->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (file->Close() && written)
        return true;
    std::fprintf(stderr, "Controller settings data/%s.dat: could not be written; the file keeps what it held.\n",
                 name.c_str());
    return false;
}

void ControllerInputRecord::BuildMaps(int32_t axisCount, int32_t buttonCount)
{
    axisMap.clear();
    actionMap.clear();
    for (int32_t axis = 0; axis < std::clamp(axisCount, 0, kSlots); ++axis)
        axisMap[axisAssignments[axis]].push_back(axis);
    for (int32_t button = 0; button < std::clamp(buttonCount, 0, kSlots); ++button)
        actionMap[buttonActions[button]].push_back(button);
    for (int32_t direction = 0; direction < kHatDirections; ++direction)
        actionMap[hatActions[direction]].push_back(kHatIndexBase + direction);
    mapsBuilt = true;
}
