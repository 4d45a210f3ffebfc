#pragma once
// A mission host for tests: a temporary data folder holding the fixture
// missions, a recording console log and message sink, and helpers that drive
// the running mission through events or read its state directly.

#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/net/SignalMessage.h"
#include "game/script/ScriptConsoleLog.h"
#include "game/world/Simulation.h"
#include "game/world/ServerMessageSink.h"

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <pybind11/embed.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace scripttest {

namespace py = pybind11;

struct LoggedLine {
    std::string text;
    glm::vec4 colour;
};

struct RecordingConsoleLog : ScriptConsoleLog {
    void AddLine(const std::string& line, const glm::vec4& colour) override { lines.push_back({line, colour}); }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const LoggedLine& line : lines)
            texts.push_back(line.text);
        return texts;
    }
    std::vector<LoggedLine> lines;
};

// Keeps each sent message's "signal" code and texts, whole bytes, recipient
// (0 for all clients; a ship id for the clients of a ship) and packet flags.
struct RecordingMessageSink : ServerMessageSink {
    struct Sent {
        int32_t code;
        std::vector<std::string> texts;
        std::vector<uint8_t> bytes;
        uint64_t to = 0;
        uint32_t packetFlags = 0;
    };
    QelNetworkMessage& StartMessage() override
    {
        message.Reset();
        return message;
    }
    void SendToClient(QelNetworkMessage& sent, uint64_t clientId, uint32_t flags) override
    {
        Record(sent, clientId, flags);
    }
    void SendToShip(QelNetworkMessage& sent, uint64_t shipId, uint32_t flags) override
    {
        Record(sent, shipId, flags);
    }
    void SendToAll(QelNetworkMessage& sent, uint32_t flags) override { Record(sent, 0, flags); }
    void Record(QelNetworkMessage& sent, uint64_t to = 0, uint32_t flags = 0)
    {
        uint64_t key = 0;
        int16_t code = 0;
        sent.ReadInt64(key).ReadInt16(code);
        Sent record{code, {}, std::vector<uint8_t>(sent.Data(), sent.Data() + sent.writeIndex), to, flags};
        while (sent.BytesLeftToRead() > 0 && !sent.IsBad()) {
            std::string text;
            sent.ReadString(text);
            record.texts.push_back(text);
        }
        messages.push_back(record);
    }
    QelNetworkMessage message;
    std::vector<Sent> messages;
};

// The payload of a recorded "signal", read with its record's reader.
template <typename Signal>
Signal Decode(const RecordingMessageSink::Sent& sent)
{
    QelNetworkMessage message;
    message.WriteBytes(sent.bytes.data(), static_cast<int32_t>(sent.bytes.size()));
    message.readIndex = 8;
    uint16_t code = 0;
    Signal signal;
    EXPECT_TRUE(ReadSignalCode(message, code) && code == Signal::kCode && ReadSignal(message, signal))
        << "signal " << sent.code << " does not read as code " << Signal::kCode;
    return signal;
}

// The fixture missions copied into a fresh data folder, with the game's ship
// definitions that the world loads, found through QEL_DATA_DIR.
struct MissionData {
    MissionData() : dataDir("QEL_DATA_DIR", folder.Path().string())
    {
        std::filesystem::copy(std::string(QEL_TEST_FIXTURES) + "/missions", folder.Path() / "missions",
                              std::filesystem::copy_options::recursive);
        std::filesystem::copy(qeltest::GameDataFolder() / "shipData.yaml", folder.Path() / "shipData.yaml");
    }
    qeltest::TempFolder folder;
    qeltest::ScopedEnv dataDir;
};

inline MissionScript& host()
{
    return theMissionScript;
}

inline EventMessage Event(const std::string& tag, const std::string& valueTag = "")
{
    EventMessage event;
    event.tag = tag;
    event.value_tag = valueTag;
    return event;
}

// Runs Python statements inside the mission's handler, as a script would.
inline void RunScript(const std::string& code)
{
    host().HandleEvent(Event("run", code));
}

// The text of a Python expression, evaluated in the mission's module.
inline std::string Eval(const std::string& expression)
{
    py::gil_scoped_acquire gil;
    try {
        py::object globals = py::module_::import("script").attr("__dict__");
        return py::str(py::eval(expression, globals)).cast<std::string>();
    } catch (py::error_already_set& error) {
        throw std::runtime_error(error.what());
    }
}

// The message of the ScriptError the statements raise, or "" when none.
inline std::string RunError(const std::string& code)
{
    try {
        RunScript(code);
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "";
}

// Binds a script global to a handle on the object of the id.
inline void Give(const std::string& name, uint64_t id)
{
    py::gil_scoped_acquire gil;
    py::module_::import("script").attr(name.c_str()) = zmx::SpaceObjectForScripts(id);
}

// The host with a recording log and sink, stopped at the end.
class MissionTest : public ::testing::Test {
protected:
    MissionTest()
    {
        host().SetConsoleLog(&log);
        host().SetMessageSink(&sink);
    }
    ~MissionTest() override
    {
        host().Stop();
        host().SetConsoleLog(nullptr);
        host().SetMessageSink(nullptr);
        host().eventQueue.clear();
        host().debugTreeRequests.clear();
    }

    MissionData missions;
    const qeltest::TempFolder& data = missions.folder;
    RecordingConsoleLog log;
    RecordingMessageSink sink;
};

// A running mission beside a running server world, with one object handed to
// the script as the global "obj". The object's data set stamps its changes by
// a clock of the test's own, which starts at tick 10.
class WorldMissionTest : public MissionTest {
protected:
    void SetUp() override
    {
        world.Reset(true, "");
        host().SetWorld(&world);
        stamps.time_tick_counter = 10;
        objectId = world.CreateSpaceObject("behav_none", "", 0);
        object().data_set.StampChangesBy(&stamps);
        host().Start("echo");
        Give("obj", objectId);
    }
    void TearDown() override
    {
        host().Stop();
        host().SetWorld(nullptr);
    }

    SpaceObject& object() { return *world.GetSpaceObject(objectId); }

    SimulationClock stamps;
    Simulation world;
    uint64_t objectId = 0;
};

}  // namespace scripttest
