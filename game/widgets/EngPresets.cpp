#include "game/widgets/EngPresets.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/ui/KeyVal.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kFolder = "data";
constexpr const char* kFileName = "Engineering-Presets";
constexpr const char* kExtension = "txt";
constexpr const char* kHeader =
    "EngineeringPreset data.  Not really meant to be human edited, but if you insist, this is ten presets, each is "
    "(first 100 power slider settings, then 4 heat bubble settings).\n";

bool ValidPreset(int32_t n)
{
    return n >= 0 && n < EngineeringValueSet::kPresetCount;
}

// The blank-separated values of one line.
std::vector<std::string> Values(const std::string& line)
{
    std::vector<std::string> tokens;
    Tokenize(line, tokens, " ");
    return tokens;
}

float StoredPower(const std::string& token)
{
    return std::clamp(LeadingFloat(token), EngineeringValueSet::kMinPower, EngineeringValueSet::kMaxPower);
}

int32_t StoredCoolant(const std::string& token)
{
    return std::max(LeadingInt(token), 0);
}

}  // namespace

void EngineeringValueSet::StorePreset(int32_t n, const EngineeringTrackers& trackers)
{
    if (!ValidPreset(n))
        return;
    Preset& preset = presets[static_cast<size_t>(n)];
    for (size_t k = 0; k < preset.power.size(); ++k)
        preset.power[k] = trackers.power[k].value;
    for (size_t j = 0; j < preset.coolant.size(); ++j)
        preset.coolant[j] = trackers.coolant[j].value;
}

void EngineeringValueSet::RetrievePreset(int32_t n, EngineeringTrackers& trackers, uint32_t now)
{
    if (!ValidPreset(n))
        return;
    const Preset& preset = presets[static_cast<size_t>(n)];
    for (size_t k = 0; k < preset.power.size(); ++k)
        trackers.power[k].Set(preset.power[k], now);
    for (size_t j = 0; j < preset.coolant.size(); ++j)
        trackers.coolant[j].Set(preset.coolant[j], now);
}

void EngineeringValueSet::BindPresetHotKeys(const std::string& context, EngineeringTrackers& trackers, uint32_t now)
{
    // Storing asks for Control as well: were both on the bare digit, the key
    // meant to recall a preset would first overwrite it with the settings of
    // the moment. Control with the digit stores, and the recall after it then
    // changes nothing.
    for (int32_t n = 0; n < kPresetCount; ++n) {
        const std::string digit = std::to_string(n);
        const int32_t key = qel::vk::kDigit0 + n;
        if (KeyVal::QueryPressed(context, "preset_store_" + digit, key, qel::vk::kControl,
                                 "stores engineering preset #" + digit))
            StorePreset(n, trackers);
        if (isHotKeyPressed(context, "preset_retrieve_" + digit, key, "retrieves engineering preset #" + digit))
            RetrievePreset(n, trackers, now);
    }
}

std::string EngineeringValueSet::FileText() const
{
    std::string text = kHeader;
    for (const Preset& preset : presets) {
        for (float power : preset.power)
            text += FloatToString(power) + " ";
        text += "\n";
        for (int32_t coolant : preset.coolant)
            text += std::to_string(coolant) + " ";
        text += "\n";
    }
    return text;
}

void EngineeringValueSet::ReadLines(const std::vector<std::string>& lines)
{
    static const std::string kNoLine;
    auto line = [&](size_t index) -> const std::string& { return index < lines.size() ? lines[index] : kNoLine; };
    for (size_t n = 0; n < presets.size(); ++n) {
        Preset read;
        const std::vector<std::string> power = Values(line(1 + 2 * n));
        for (size_t k = 0; k < std::min(power.size(), read.power.size()); ++k)
            read.power[k] = StoredPower(power[k]);
        const std::vector<std::string> coolant = Values(line(2 + 2 * n));
        for (size_t j = 0; j < std::min(coolant.size(), read.coolant.size()); ++j)
            read.coolant[j] = StoredCoolant(coolant[j]);
        presets[n] = read;
    }
}

void EngineeringValueSet::Save() const
{
    static bool failureSaid = false;
    QelFileIO* file = QelFileServices::Instance().GetFileIO("EngineeringValueSet::Save");
    const bool saved = file->Open(kFolder, kFileName, kExtension, false, true, false, false) &&
                       file->WriteString(FileText()) && file->Close();
    if (saved)
        return;
    file->Close();
    if (!failureSaid)
        std::fprintf(stderr, "Engineering-Presets.txt could not be written; the presets hold for this run only.\n");
    failureSaid = true;
}

void EngineeringValueSet::Load()
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("EngineeringValueSet::Load");
    if (!file->Open(kFolder, kFileName, kExtension, true, false, false, false))
        return;
    std::vector<std::string> lines;
    std::string line;
    // The header and two lines a preset are all the file is read for.
    while (lines.size() < 1 + 2 * presets.size() && file->ReadLine(line))
        lines.push_back(line);
    file->Close();
    ReadLines(lines);
}
