#pragma once
// What the server knows of one connected console.

#include "game/world/ObjectId.h"

#include <cstdint>
#include <string>
#include <vector>

class ClientRecord {
public:
    explicit ClientRecord(uint64_t clientId) : id(clientId) {}

    // Stores the name and derives the console's role from it: "sci",
    // "main" and "gamemaster" anywhere in the name, case-sensitive.
    void SetConsoleName(const std::string& name);

    const uint64_t id;         // bit 63 set
    std::string consoleName;
    std::string machineName;
    bool scienceFlag = false;
    bool mainScreenFlag = false;
    bool gameMasterFlag = false;
    uint64_t shipId = 0;        // the ship this console belongs to; 0 = none
    int32_t idleCount = 0;      // time-out checks since the last heartbeat
    float ping = 0.0f;          // smoothed round trip, ms
    // Hears the world's sounds: main screens, and consoles of fighters and
    // shuttles. Set by the object update pass, never cleared.
    bool worldSoundFlag = false;
    // Objects the console asked for in full and has yet to be sent, each
    // once, oldest first; the server answers a few of them each frame.
    std::vector<uint64_t> pendingFullObjects;
    // Ship definitions the console asked for, each once, oldest first.
    std::vector<std::string> pendingShipRecords;
};

