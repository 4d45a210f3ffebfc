#include "game/ui/ControllerInput.h"

#include <algorithm>
#include <cmath>

#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelJoystick.h"
#include "helper/GeneralUtils.h"

ControllerInput theControllerInput;

namespace {

int32_t JoystickCount()
{
    return gInputFactory != nullptr ? gInputFactory->GetNumJoysticks() : 0;
}

QelJoystick* Joystick(int32_t index)
{
    return gInputFactory != nullptr ? gInputFactory->GetJoystick(index) : nullptr;
}

bool NamesADevice(const std::string& name)
{
    return !name.empty() && name != QelJoystick::kNotWorkingName;
}

// The raw axis signed by its assignment (sign 1 reports the axis negated)
// and rescaled so the dead zone reads 0 and full deflection stays full.
float MappedAxis(float raw, int32_t sign, float deadZone)
{
    const float value = raw * static_cast<float>(-sign);
    deadZone = std::clamp(deadZone, 0.0f, ControllerInputRecord::kMaxDeadZone);
    const float scale = 1.0f - deadZone;
    return value > 0.0f ? std::max(0.0f, (value - deadZone) / scale) : std::min(0.0f, (value + deadZone) / scale);
}

}  // namespace

ControllerInputRecord* ControllerInput::GetRecord(const std::string& deviceName)
{
    if (!deviceName.empty()) {
        for (int32_t i = 0; i < JoystickCount(); ++i) {
            QelJoystick* joystick = Joystick(i);
            if (joystick != nullptr && joystick->GetName() == deviceName)
                return GetRecord(deviceName, joystick);
        }
        return GetRecord(deviceName, nullptr);
    }
    QelJoystick* first = Joystick(0);
    return first != nullptr ? GetRecord(first->GetName(), first) : nullptr;
}

ControllerInputRecord* ControllerInput::GetRecord(const std::string& deviceName, QelJoystick* device)
{
    if (!NamesADevice(deviceName))
        return nullptr;
    auto found = records.find(deviceName);
    if (found != records.end())
        return found->second.get();
    int32_t buttons = 0, axes = QelJoystick::kAxisCount, povs = 0;
    if (device != nullptr)
        device->GetCounts(buttons, axes, povs);
    auto record = std::make_unique<ControllerInputRecord>(deviceName, axes);
    Tokenize(axisNameList, record->axisLabelList, "^");
    Tokenize(actionNameList, record->buttonLabelList, "^");
    record->LoadData();
    return records.emplace(deviceName, std::move(record)).first->second.get();
}

void ControllerInput::SaveAll()
{
    for (const auto& [name, record] : records)
        record->SaveData();
}

ControllerInputRecord* ControllerInput::ActiveRecord(QelJoystick& joystick)
{
    if (controllerDisabled)
        return nullptr;
    const std::string name = joystick.GetName();
    ControllerInputRecord* record = GetRecord(name, &joystick);
    if (record == nullptr || !record->enabled)
        return nullptr;
    noControllerActive = false;
    if (!record->mapsBuilt) {
        int32_t buttons = 0, axes = 0, povs = 0;
        joystick.GetCounts(buttons, axes, povs);
        record->BuildMaps(axes, buttons);
    }
    return record;
}

template <typename Visit>
void ControllerInput::ForEachActiveDevice(Visit visit)
{
    noControllerActive = true;
    for (int32_t i = 0; i < JoystickCount(); ++i) {
        QelJoystick* joystick = Joystick(i);
        if (ControllerInputRecord* record = joystick != nullptr ? ActiveRecord(*joystick) : nullptr)
            visit(*joystick, *record);
    }
}

bool ControllerInput::GetAxisValue(const std::string& axisName, float& value)
{
    value = 0.0f;
    bool assigned = false;
    ForEachActiveDevice([&](QelJoystick& joystick, const ControllerInputRecord& record) {
        const auto axes = record.axisMap.find(axisName);
        if (axes == record.axisMap.end())
            return;
        for (int32_t axis : axes->second) {
            const float mapped = MappedAxis(joystick.GetAxis(axis), record.axisSigns[axis], record.axisDeadZones[axis]);
            if (!assigned || std::fabs(mapped) > std::fabs(value))
                value = mapped;
            assigned = true;
        }
    });
    return assigned;
}

bool ControllerInput::IsActionPressed(const std::string& actionName)
{
    bool pressed = false;
    ForEachActiveDevice([&](QelJoystick& joystick, const ControllerInputRecord& record) {
        const auto indexes = record.actionMap.find(actionName);
        if (indexes == record.actionMap.end())
            return;
        for (int32_t index : indexes->second) {
            const bool down = index < ControllerInputRecord::kHatIndexBase
                                  ? joystick.IsButtonDown(index)
                                  : joystick.IsPovDirection(index - ControllerInputRecord::kHatIndexBase);
            pressed = pressed || down;
        }
    });
    return pressed;
}
