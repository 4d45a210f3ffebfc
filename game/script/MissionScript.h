#pragma once
// The script host: runs the chosen mission as Python in one embedded
// interpreter, from Start to Stop, and hands it every script event through the
// mission's "halvex_event_handler". What the mission prints goes to the
// console log, line by line.
//
// The interpreter lock is held only while Python runs. Calls into Python may
// nest (a script function that raises an event delivers it at once, inside
// the running handler), so the host counts its depth and takes or gives back
// the lock at the outermost call only, also when the call ends in an error.
//
// An uncaught Python error ends the call with a ScriptError carrying the
// whole Python traceback, after what the mission printed before it; the run
// loop shows it and ends the program. Main thread only.
//
// The server holds it as its script host (CorvaneServer::SetScriptHost) and
// sends through it (SetMessageSink); the world hands it the events it raises
// (Simulation::SetScriptEventSink). Until a mission is started none of these
// reach Python.

#include "game/net/GameNetwork.h"
#include "game/net/ServerScriptHost.h"
#include "game/script/Logger.h"
#include "game/script/ServerScreen.h"
#include "game/world/EventMessage.h"

#include <glm/vec4.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class ScriptConsoleLog;
class ServerMessageSink;
class Simulation;
struct _ts;  // the interpreter's thread state

// A Python error that left the mission, with its traceback as the message.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MissionScript : public ServerScriptHost {
public:
    // "signal" codes the host sends to every client.
    static constexpr int32_t kSignalNewWorld = 23;
    static constexpr int32_t kSignalMissionStopped = 24;
    static constexpr int32_t kSignalStringMapCommand = 87;

    // Colours of the mission's standard output and standard error in the log.
    static constexpr glm::vec4 kStdoutColour{1.0f, 0.0f, 0.0f, 1.0f};
    static constexpr glm::vec4 kStderrColour{1.0f, 0.5f, 0.0f, 1.0f};

    MissionScript();
    ~MissionScript() override;
    MissionScript(const MissionScript&) = delete;
    MissionScript& operator=(const MissionScript&) = delete;

    // Starts the interpreter for the mission in data/missions/<name>/ and
    // imports its "script" module (and a "dmx" module when one is found).
    // A name that would leave the data folder, a script.py that is missing,
    // not a file or not text, a "halvex_event_handler" that is missing or not
    // a plain function, or any Python error throws a ScriptError with nothing
    // left running, after what the mission printed is shown. Its first line
    // names the file (and line) and the fault; a Python error's traceback
    // follows.
    virtual void Start(std::string missionName);
    // The same for the mission in a folder the operator names by its path,
    // which may lie outside the data folder (halvex-server's command line).
    // Names from scripts and the network never come here.
    void StartFolder(const std::filesystem::path& folder);
    // Ends the interpreter and empties the world; tells every client.
    virtual void Stop();
    // The DMX module's HandleDMX(sim), when the mission has one.
    void HandleDMX() override;
    // Delivers the event to the mission at once; nothing while none is loaded.
    void HandleEvent(const EventMessage& event) override;
    // Keeps the event for the next server tick; nothing while none is loaded.
    void QueueEvent(const EventMessage& event) override;
    // Delivers the queued events in order, then empties the queue. Events a
    // delivery queues wait for the next call.
    void ProcessEventQueue() override;
    // Writes the help text of module zmx to data/script_documentation.txt.
    virtual void GenerateDoc();
    // Adds the text to the console log, one line per newline-separated piece
    // (the newline ending the text adds no empty line). Empty text: nothing.
    virtual void Print(std::string text, glm::vec4 colour);
    // Empties the world and the server's screen and starts a new game of the
    // mission folder ("missions/<name>/"); tells every client.
    virtual void CreateNewSim(std::string folder);

    // Where printed lines and client messages go; null ones are skipped.
    void SetConsoleLog(ScriptConsoleLog* log) { consoleLog = log; }
    void SetMessageSink(ServerMessageSink* sink) { messageSink = sink; }
    // The server's own screen; none set: the headless screen, which shows nothing.
    void SetServerScreen(ServerScreen* screen) { serverScreen = screen; }
    ServerMessageSink* MessageSink() const { return messageSink; }
    ServerScreen& Screen() const;
    // The world the mission runs against, set by its owner; null: none, and
    // what the mission asks of a world does nothing.
    void SetWorld(Simulation* runWorld) { world = runWorld; }
    Simulation* World() const { return world; }
    // The server the mission runs on and this machine's own client, which
    // the script functions reach; a null one makes those that need it do
    // nothing.
    void SetNetwork(const GameNetwork& ends) { network = ends; }
    CorvaneServer* Server() const { return network.server; }
    CorvaneClient* LocalClient() const { return network.client; }

    // Whether a mission's scripts are loaded (from Start to Stop).
    bool ScriptsLoaded() const override { return modules != nullptr; }
    bool SimRunning() const override { return simRunning; }
    std::vector<std::string>& DebugTreeRequests() override { return debugTreeRequests; }

    bool simRunning = false;
    std::string missionFolder;   // "missions/<name>/" (or the operator's folder), the path create_new_sim uses
    std::string scriptPath;      // the mission's script.py as opened, for errors
    std::string missionToStart;  // the name the server set-up scene starts
    std::string nextMission;     // set by run_next_mission; the running scene starts it
    std::vector<std::string> debugTreeRequests;  // server's own GUI trees, for "debug_rgui_tree"
    std::vector<EventMessage> eventQueue;        // delivered at the next server tick

private:
    struct ScriptModules;
    class PythonCall;

    void BeginStart();
    // The mission of the folder (a path ending in '/'); worldFolder is the
    // path the world reads its ship types from (missionFolder).
    void StartMission(const std::string& folder, const std::string& worldFolder);
    void StartInterpreter(const std::string& folder, const std::string& worldFolder);
    void ImportDmxModule(const std::string& folder);
    void EndInterpreter();
    // One call into Python, then what it printed (also when it fails).
    void CallMission(const std::function<void()>& body);
    void ShowCapturedOutput();
    void SendSignalToAll(int32_t code, const std::vector<std::string>& texts);

    _ts* savedThreadState = nullptr;  // the lock's owner while Python does not run
    int32_t callDepth = 0;            // nesting of calls into Python
    Logger stdoutLogger;
    Logger stderrLogger;
    std::unique_ptr<ScriptModules> modules;
    ScriptConsoleLog* consoleLog = nullptr;
    ServerMessageSink* messageSink = nullptr;
    ServerScreen* serverScreen = nullptr;
    Simulation* world = nullptr;
    GameNetwork network;
};

// The one script host of the process.
extern MissionScript theMissionScript;
