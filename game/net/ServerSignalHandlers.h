#pragma once
// The families of the server's "signal" handler (MESSSignal*.cpp). Each takes
// the codes it knows, reads their payloads and applies them to the sender's
// record or ship; it answers false for a code that is not its own.

#include <cstdint>

class ClientRecord;
class QelNetworkMessage;
class Simulation;
class SpaceObject;

// The name under which the server's handlers report refused messages.
inline constexpr const char* kServerSignalHandler = "ServerMessageHookSignal";

// Who sent a signal: a console with a record, and the ship that record names
// (null when it names none or the ship is gone) in the world the server
// serves (null when it serves none; never null beside a ship). Commands act
// on this ship only, so a console can never steer a ship it is not assigned to.
struct SignalSender {
    uint64_t clientId;
    ClientRecord& record;
    SpaceObject* ship;
    Simulation* world;
};

// Throttle, reverse, the three steering forms, object selection and the jump.
bool HandleServerHelmSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// Torpedo tubes, shields, beam settings, shield piercing and the fighter's
// controls.
bool HandleServerWeaponsSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// The power sliders, coolant and camera target that consoles set by key.
bool HandleServerEngineeringSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// Docking with the ship's base and leaving it.
bool HandleServerDockingSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// The science console's scan check and scan queue.
bool HandleServerScienceSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// What consoles tell the mission: comms buttons, the main screen's view, red
// alert, string-map answers, hold menus and buttons, and a console's own
// script events.
bool HandleServerMissionSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// The grid request and the crew's picks and buttons on the ship's interior.
bool HandleServerGridSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// What a console's crew did with a script screen, and the console's tree text.
bool HandleServerRetainedGUISignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
// The boxes of the console's widgets, for the mission.
bool HandleServerConsoleSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender);
