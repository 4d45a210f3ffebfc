#pragma once
// Engineering's widgets on the server's own screen (HostConsoleTest): the
// screen's ship carries the eight powered subsystems and the coolant of a
// player ship, and every engineering setting, preset and shared widget state
// starts afresh.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/TextLog.h"
#include "game/widgets/EngPresets.h"
#include "game/widgets/EngSystemControls.h"
#include "tests/game/widgets/HostConsoleFixture.h"

#include <array>
#include <vector>

class EngTest : public HostConsoleTest {
protected:
    static constexpr uint32_t kStart = 10000;

    void SetUp() override
    {
        HostConsoleTest::SetUp();
        using namespace playership;
        static constexpr std::array<const char*, 8> kLabels{"BEAM",    "TORP",    "IMPULSE",      "WARP",
                                                            "MANEUVER", "SENSORS", "FRONT SHIELD", "REAR SHIELD"};
        static constexpr std::array<int32_t, 8> kSystems{0, 0, 1, 1, 1, 2, 3, 3};
        for (int32_t i = 0; i < 8; ++i) {
            WriteString(ship->data_set, kEngControlLabel, kLabels[static_cast<size_t>(i)], i);
            WriteInt(ship->data_set, kEngControlTypeIndex, kSystems[static_cast<size_t>(i)], i);
            WriteFloat(ship->data_set, kEngControlValue, 1.0f, i);
        }
        for (int32_t e = 0; e < 4; ++e) {
            WriteInt(ship->data_set, kSystemCoolantUsed, 0, e);
            WriteFloat(ship->data_set, kSystemCurHeat, 0.0f, e);
        }
        WriteInt(ship->data_set, kSystemCoolantAvailable, 8);
        input.milliseconds = kStart;
    }

    bool Drawn(const std::string& text) const { return graphics.Text(text).text == text; }

    // Power values sent (signal 31), by control index, in order.
    static std::vector<std::pair<int32_t, float>> PowerSent(const std::vector<SentSignal>& sent)
    {
        std::vector<std::pair<int32_t, float>> values;
        for (const SentSignal& signal : sent) {
            if (signal.code != SIGNAL_MESS_FLOAT_VALUE)
                continue;
            const auto value = signal.As<FloatValueFromClientSignal>();
            EXPECT_EQ(value.key, "eng_control_value");
            values.emplace_back(value.index, value.value);
        }
        return values;
    }

    // Coolant counts sent (signal 32), by system, in order.
    static std::vector<std::pair<int32_t, int64_t>> CoolantSent(const std::vector<SentSignal>& sent)
    {
        std::vector<std::pair<int32_t, int64_t>> values;
        for (const SentSignal& signal : sent) {
            if (signal.code != SIGNAL_MESS_INT64_VALUE)
                continue;
            const auto value = signal.As<UInt64ValueFromClientSignal>();
            EXPECT_EQ(value.key, "system_coolant_used");
            values.emplace_back(value.index, static_cast<int64_t>(value.value));
        }
        return values;
    }
};
