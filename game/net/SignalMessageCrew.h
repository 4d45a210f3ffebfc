#pragma once
// The "signal" payloads of the crew's commands to their ship's weapons,
// shields, engineering and fighter controls, and of what consoles tell the
// mission (console to server), with the rest of the code table in
// SignalMessage.h. Each record is read whole, and
// refused whole, by its one reader.

#include "game/net/SignalMessage.h"

#include <cstdint>
#include <string>

// C->S 10 and 11: the docking console asks to dock its ship with the base the
// ship's "dock_base_id" names, or to leave it.
using DockSignal = ShipIdSignal<SIGNAL_MESS_DOCK>;
using UndockSignal = ShipIdSignal<SIGNAL_MESS_UNDOCK>;

// C->S 15: a torpedo tube command. Action 3 picks the torpedo type the tubes
// load; the other actions name a tube.
struct TorpedoTubeSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_TORPEDO_TUBE;
    static constexpr int32_t kLoad = 0;
    static constexpr int32_t kUnload = 1;
    static constexpr int32_t kFire = 2;
    static constexpr int32_t kSelectType = 3;
    int32_t action = kLoad;
    std::string torpedoType;  // action 3 only
    int32_t tube = 0;         // every other action
};

// C->S 31: a float value of the ship's data set, by key and index.
struct FloatValueFromClientSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_FLOAT_VALUE;
    std::string key;  // not empty
    float value = 0.0f;  // finite
    int32_t index = 0;   // not negative
};

// C->S 32: an unsigned 64-bit value of the ship's data set, by key and index.
struct UInt64ValueFromClientSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_INT64_VALUE;
    std::string key;  // not empty
    uint64_t value = 0;
    int32_t index = 0;  // not negative
};

// C->S codes that carry one 32-bit integer: shields up or down (41), the beam
// frequency (68) and speed setting (69), a torpedo conversion (73), and the
// fighter's boost, thrust, shoot, torpedo and dock request (74 to 78).
template <SignalMessageCode Code>
struct Int32ValueSignal {
    static constexpr SignalMessageCode kCode = Code;
    int32_t value = 0;
};

using ShieldsSignal = Int32ValueSignal<SIGNAL_MESS_SHIELDS>;
using BeamFrequencySignal = Int32ValueSignal<SIGNAL_MESS_BEAM_FREQUENCY>;
using BeamSpeedSignal = Int32ValueSignal<SIGNAL_MESS_BEAM_SPEED>;
using TorpedoConversionSignal = Int32ValueSignal<SIGNAL_MESS_TORPEDO_CONVERSION>;  // 1 to energy, 2 back
using FighterBoostSignal = Int32ValueSignal<SIGNAL_MESS_FIGHTER_BOOST>;
using FighterThrustSignal = Int32ValueSignal<SIGNAL_MESS_FIGHTER_THRUST>;
using FighterShootSignal = Int32ValueSignal<SIGNAL_MESS_FIGHTER_SHOOT>;
using FighterTorpedoSignal = Int32ValueSignal<SIGNAL_MESS_FIGHTER_TORPEDO>;
using FighterDockRequestSignal = Int32ValueSignal<SIGNAL_MESS_FIGHTER_DOCK_REQUEST>;

// C->S 93: a hop of the quick-jump drive.
struct QuickJumpSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_QUICK_JUMP;
    float direction = 0.0f;  // +1 forward, -1 backward; finite
};

// C->S 72: the weapons officer tunes the beams to a target's shields.
struct ShieldPiercingSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SHIELD_PIERCING;
    uint64_t targetId = 0;  // a space-object id
    float amplitude = 0.0f, frequency = 0.0f, offset = 0.0f;  // finite
};

// C->S 91: the science console found a ship its side has not scanned; a ship
// in sensor range is scanned at once.
struct ScanCheckSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SCAN_CHECK;
    uint64_t targetId = 0;  // a space-object id
};

// C->S 92: start a scan of a target (queued behind the others) or stop them all.
struct ScanCommandSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SCAN;
    uint64_t targetId = 0;  // a space-object id
    std::string command;    // "start" or "stop"
    std::string scanType;
};

// C->S 34: a comms button the mission offered, for the ship and its contact.
struct CommsButtonSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_COMMS_BUTTON;
    std::string button;
    uint64_t shipId = 0;     // 0 or a space-object id
    uint64_t contactId = 0;  // 0 or a space-object id
};

// C->S 40: the main screen's console picks a view.
struct MainScreenViewRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_MAIN_SCN_VIEW;
    std::string view;    // not empty
    std::string facing;  // not empty
    std::string mode;    // not empty
};

// C->S 99: a choice from a hold menu the mission sent.
struct HoldClickSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_HOLD;
    uint64_t subjectId = 0;
    uint64_t objectId = 0;
    std::string choice;
    float x = 0.0f, y = 0.0f, z = 0.0f;  // finite
    uint64_t extraId = 0;
};

// C->S 100: a button held on a 2D view, with the ids of what it concerns.
struct HoldButtonSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_HOLD_BUTTON;
    std::string view;
    std::string button;
    uint64_t ids[4] = {};
};

// C->S 101: a console raises a script event of its own about an object.
struct ConsoleScriptEventSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_SCRIPT_EVENT;
    uint64_t objectId = 0;  // 0 or a space-object id
    std::string tag;        // not empty
    std::string subTag;
};

template <SignalMessageCode Code>
void WriteSignal(QelNetworkMessage& message, const Int32ValueSignal<Code>& signal)
{
    WriteSignalCode(message, Code);
    message.WriteInt32(signal.value);
}

template <SignalMessageCode Code>
bool ReadSignal(QelNetworkMessage& message, Int32ValueSignal<Code>& signal)
{
    message.ReadInt32(signal.value);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const TorpedoTubeSignal& signal);
void WriteSignal(QelNetworkMessage& message, const FloatValueFromClientSignal& signal);
void WriteSignal(QelNetworkMessage& message, const UInt64ValueFromClientSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ShieldPiercingSignal& signal);
void WriteSignal(QelNetworkMessage& message, const QuickJumpSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ScanCheckSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ScanCommandSignal& signal);
void WriteSignal(QelNetworkMessage& message, const CommsButtonSignal& signal);
void WriteSignal(QelNetworkMessage& message, const MainScreenViewRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const HoldClickSignal& signal);
void WriteSignal(QelNetworkMessage& message, const HoldButtonSignal& signal);
void WriteSignal(QelNetworkMessage& message, const ConsoleScriptEventSignal& signal);

bool ReadSignal(QelNetworkMessage& message, TorpedoTubeSignal& signal);
bool ReadSignal(QelNetworkMessage& message, FloatValueFromClientSignal& signal);
bool ReadSignal(QelNetworkMessage& message, UInt64ValueFromClientSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ShieldPiercingSignal& signal);
bool ReadSignal(QelNetworkMessage& message, QuickJumpSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ScanCheckSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ScanCommandSignal& signal);
bool ReadSignal(QelNetworkMessage& message, CommsButtonSignal& signal);
bool ReadSignal(QelNetworkMessage& message, MainScreenViewRequestSignal& signal);
bool ReadSignal(QelNetworkMessage& message, HoldClickSignal& signal);
bool ReadSignal(QelNetworkMessage& message, HoldButtonSignal& signal);
bool ReadSignal(QelNetworkMessage& message, ConsoleScriptEventSignal& signal);
