#pragma once
// Engineering's settings on the console, and the ten presets that store and
// recall them. Every power slider and coolant control of the engineering
// console holds its setting in a change tracker here (ChangeTracker.h): the
// crew's value shows at once, goes to the server once left alone, and gives
// way to the server's value when the server does not confirm it. The trackers
// outlive the widgets, so a preset recalled while a control is off screen is
// sent when it shows again.
//
// The presets live in data/Engineering-Presets.txt, read when a console
// scene starts and written when it ends:
//
//   EngineeringPreset data.  Not really meant ... (the header line)
//   1.000000 1.000000 ... (preset 0: 100 power values, each and a blank)
//   0 0 0 0               (preset 0: 4 coolant values, each and a blank)
//   ... the same two lines for presets 1 to 9
//
// "eng_presets" is a STORE check button and ten preset buttons: a preset
// button recalls its preset, or stores into it while STORE is ticked. Hot
// keys: digit n recalls preset n, Control with digit n stores into it.
// Main thread only.

#include "game/ui/IntRect.h"
#include "game/widgets/ChangeTracker.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ConsoleState;

// The engineering console's tracked settings; all zero at start.
struct EngineeringTrackers {
    // One per power control index; the console shows the first eight.
    static constexpr int32_t kPowerCount = 100;
    // One per ship system: weapons, engines, sensors, shields.
    static constexpr int32_t kCoolantCount = 4;

    std::array<FloatChangeTracker, kPowerCount> power{};
    std::array<IntChangeTracker, kCoolantCount> coolant{};

    bool operator==(const EngineeringTrackers&) const = default;
};

class EngineeringValueSet {
public:
    static constexpr int32_t kPresetCount = 10;
    // What the sliders offer (0 % to 300 %) and what a preset starts with.
    static constexpr float kDefaultPower = 1.0f;
    static constexpr float kMinPower = 0.0f;
    static constexpr float kMaxPower = 3.0f;
    static constexpr int32_t kDefaultCoolant = 0;

    struct Preset {
        Preset()
        {
            power.fill(kDefaultPower);
            coolant.fill(kDefaultCoolant);
        }

        std::array<float, EngineeringTrackers::kPowerCount> power{};
        std::array<int32_t, EngineeringTrackers::kCoolantCount> coolant{};

        bool operator==(const Preset&) const = default;
    };

    // Preset n takes the trackers' values. n outside 0..9 does nothing.
    void StorePreset(int32_t n, const EngineeringTrackers& trackers);
    // The trackers take preset n's values as changes made now, to be sent by
    // the widgets' next frames. n outside 0..9 does nothing.
    void RetrievePreset(int32_t n, EngineeringTrackers& trackers, uint32_t now);
    // Polls the twenty preset hot keys of the context (the presets widget's name).
    void BindPresetHotKeys(const std::string& context, EngineeringTrackers& trackers, uint32_t now);

    // Writes the file (atomically); a file that cannot be written is said
    // once on stderr and the presets hold for this run.
    void Save() const;
    // Reads the file; a missing file leaves the presets as they are.
    void Load();

    // The file's text, and its reading from the file's lines (header first).
    // A line with fewer values gives the defaults for the rest; a value is
    // read as atof and atoi read it (0 for text that is no number) and held
    // to what the controls offer: power 0..3, coolant not below 0.
    std::string FileText() const;
    void ReadLines(const std::vector<std::string>& lines);

    std::array<Preset, kPresetCount> presets{};
    // Set by STORE: the next preset button stores instead of recalling.
    bool storeMode = false;

    bool operator==(const EngineeringValueSet&) const = default;
};

// Columns and rows of the presets widget's eleven cells in a box of w by h
// pixels: one row when the box is very wide, one column when it is tall.
struct PresetGrid {
    int32_t columns = 1;
    int32_t rows = 1;

    bool operator==(const PresetGrid&) const = default;
};
PresetGrid PresetGridFor(int32_t width, int32_t height);

// "eng_presets".
void ViewEngPresetsDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
