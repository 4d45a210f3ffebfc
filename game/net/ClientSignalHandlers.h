#pragma once
// The families of the console's "signal" handler (CMESSSignal*.cpp). Each
// takes the codes it knows, reads their payloads and applies them; it answers
// false for a code that is not its own. Those that need the console's client
// are handed it (null where no client runs).

#include <cstdint>

class ConsoleScreen;
class CorvaneClient;
class QelNetworkMessage;
class Simulation;

// The name under which the console's handlers report refused messages.
inline constexpr const char* kClientSignalHandler = "ClientMessageHookSignal";

// Ship identity and the console's mirror of the world.
bool HandleClientWorldSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// Nav points, nav proxies, the side tables and the scan queue.
bool HandleClientNavigationSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// The ships' interior grids: a grid answered, a grid rebuilt, a grid object gone.
bool HandleClientGridSignal(uint16_t code, QelNetworkMessage& message);
// Ship type meshes fetched from the server: outlines and their chunks.
bool HandleClientAssetSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// The string maps and the connection codes.
bool HandleClientConnectionSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// The mission's screens: script screens (widgets, builds, visibility, hot
// keys, tree dumps) and story dialogs.
bool HandleClientRetainedGUISignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// This machine's screen: console, widget boxes, speech bubbles, world sounds.
bool HandleClientConsoleSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);
// What the mission has this machine show, play and light: text, comms, info
// lists, views, music, sound files, DMX, particles and the screen's effects.
bool HandleClientPresentationSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client);

// The console's mirror of the world, or null. A process that hosts the
// authoritative world never lets what arrives for its console change it.
Simulation* ConsoleMirrorWorld();
// This process is the server: its world and string map are the originals.
bool HostsAuthoritativeWorld();
// The screen the client's signals reach, or null (no client, or a client of
// a program without a screen).
ConsoleScreen* ClientConsoleScreen(const CorvaneClient* client);
