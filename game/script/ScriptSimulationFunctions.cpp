// Module functions of zmx that start a blank world, run or pause it, hand over
// to another mission, and tell the version, the screen size, the clocks and
// the preferences.

#include "engine/base/QelClock.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/net/CorvaneServer.h"
#include "game/script/GameControls.h"
#include "game/script/MissionScript.h"
#include "game/script/ScriptBindings.h"
#include "game/script/ScriptSignals.h"
#include "game/script/ScriptValue.h"
#include "game/world/AppData.h"
#include "game/world/MusicControl.h"
#include "game/world/Simulation.h"

#include <glm/vec2.hpp>

#include <chrono>
#include <filesystem>
#include <optional>

namespace zmx {
namespace {

using Vec2 = ScriptValue<glm::vec2>;

constexpr uint32_t kMillisecondsPerSecond = 1000;
const std::string kMissionsFolder = "data/missions/";

// Stands in for the input service's start when there is none (a headless
// server): the clocks then count from the scripting module's first use.
std::chrono::steady_clock::time_point ScriptingStart()
{
    static const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

// ---- world control ----

// A blank world of the same mission; the running state stays as it was.
void CreateNewSim()
{
    const std::string folder = theMissionScript.missionFolder;
    theMissionScript.CreateNewSim(folder);
}

// Every console gets the whole world again, as if it had just connected.
void QueueEveryClientForFullState()
{
    if (!gServer)
        return;
    for (const auto& entry : gServer->Clients())
        for (std::vector<uint64_t>& list : gServer->newClientLists)
            list.push_back(entry.first);
}

// Every console is sent the world whole again, the side tables at once.
void ResumeSim()
{
    if (gServer)
        gServer->scanQueues.clear();
    theMissionScript.simRunning = true;
    if (gMusicControl)
        gMusicControl->PlayNextMusicTrack();
    if (Simulation* world = theMissionScript.World())
        world->paused = false;
    SendSignalToAll(PauseStateSignal{0}, ServerMessageSink::kReliable);
    QueueEveryClientForFullState();
    theMissionScript.Screen().ClearStoryDialogs();
    if (gServer)
        gServer->SendIndexedTables(0);
}

// The hand-over would stop this mission for one that cannot start; instead
// the mission is told where the game looked, and goes on.
bool IsMissionFolder(const std::string& missionFolder)
{
    const std::optional<std::string> name = qel::CheckDataName(missionFolder);
    if (!name || name->find('/') != std::string::npos) {
        WarnMission("run_next_mission: mission_folder \"" + missionFolder + "\" is no folder name of " +
                    qel::ResolveGamePath(kMissionsFolder) + "; expected a mission's folder name, such as "
                    "\"first_watch\"; this mission goes on.");
        return false;
    }
    const std::string script = qel::ResolveGamePath(kMissionsFolder + *name + "/script.py");
    std::error_code error;
    if (std::filesystem::is_regular_file(script, error))
        return true;
    WarnMission("run_next_mission: mission_folder \"" + missionFolder + "\" names no mission: there is no " + script +
                "; expected a folder of " + qel::ResolveGamePath(kMissionsFolder) +
                " holding a script.py; this mission goes on.");
    return false;
}

// Only stores the folder: the server hands over on a later frame (its
// running scene in the window, the frame step in halvex-server), and the
// last call before it wins.
void RunNextMission(const std::string& missionFolder)
{
    if (IsMissionFolder(missionFolder))
        theMissionScript.nextMission = missionFolder;
}

// The server window's size in pixels; 0 by 0 without a window.
Vec2 GetScreenSize()
{
    if (!gGraphicsFactory)
        return Vec2(glm::vec2(0.0f));
    return Vec2(glm::vec2(static_cast<float>(gGraphicsFactory->GetWidth()),
                          static_cast<float>(gGraphicsFactory->GetHeight())));
}

// ---- clocks ----

// Milliseconds since the machine started; wraps to 0 after 2^32.
uint32_t AppMilliseconds()
{
    return gInputFactory ? gInputFactory->GetMilliseconds() : qel::GetMilliseconds();
}

uint32_t AppSeconds()
{
    return gInputFactory ? gInputFactory->GetSeconds() : qel::GetMilliseconds() / kMillisecondsPerSecond;
}

// Whole minutes since the program started.
uint32_t AppMinutes()
{
    if (gInputFactory)
        return static_cast<uint32_t>(gInputFactory->GetMinutesSinceStart());
    const auto elapsed = std::chrono::steady_clock::now() - ScriptingStart();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::minutes>(elapsed).count());
}

// ---- preferences ----

// A key the preferences do not hold (or hold as null) is the mission's
// mistake, not a value: it is said by name. A value of another type raises
// RuntimeError naming the file, the key and the value.
void RequirePreference(const std::string& key, const char* function)
{
    if (!AppData::Has(key))
        throw py::key_error(std::string(function) + ": the preferences hold no value for \"" + key + "\"");
}

py::str GetPreferenceString(const std::string& key)
{
    RequirePreference(key, "get_preference_string");
    return DecodeLenient(AppData::GetString(key));
}

// A number with a fraction is cut toward zero.
int32_t GetPreferenceInt(const std::string& key)
{
    RequirePreference(key, "get_preference_int");
    return AppData::GetInt(key);
}

float GetPreferenceFloat(const std::string& key)
{
    RequirePreference(key, "get_preference_float");
    return AppData::GetFloat(key);
}

}  // namespace

void AddSimulationFunctions(FunctionTable& table)
{
    ScriptingStart();
    table.Add("get_screen_size", &GetScreenSize, "returns a VEC2, with the width and height of the display in pixels");
    table.Add("create_new_sim", &CreateNewSim, "all space objects are deleted; a blank slate is born.");
    table.Add("resume_sim", &ResumeSim,
              "the sim will now run; HandleStartMission() and HandleTickMission() are called.\n"
              "the world moves again, every console is sent it whole, and mission_tick comes with sub_tag "
              "\"sim_running\"");
    table.Add("pause_sim", &GSPauseSim,
              "the sim will now pause; HandlePresentGUI() and HandlePresentGUIMessage() are called.\n"
              "the world stops where it is and every console shows MISSION PAUSED; the mission still gets its "
              "events, mission_tick with sub_tag \"sim_paused\"; the server's window shows the mission's own "
              "screens");
    table.Add("app_milliseconds", &AppMilliseconds);
    table.Add("app_seconds", &AppSeconds);
    table.Add("app_minutes", &AppMinutes);
    table.Add("get_game_version", &GSGetGameVersion,
              "returns the version of the game EXE currently operating this script, as a string.");
    table.Add("run_next_mission", &RunNextMission,
              "Shuts down this script and starts the mission in the folder argument\n"
              "mission_folder is a folder name of data/missions; the server hands over on its next frame, the last "
              "call winning; a name without a script.py is refused in one line of output, and this mission goes "
              "on. Consoles connected at the hand-over raise no client_connect in the next mission: "
              "zmx.get_client_ID_list() lists them",
              py::arg("mission_folder"));
    // Built once: the table keeps the text's address until the module is made.
    static const std::string preferenceDoc = std::string("Gets a value from preferences.json\n") + kPreferencesHelp;
    table.Add("get_preference_string", &GetPreferenceString, preferenceDoc.c_str(), py::arg("key"));
    table.Add("get_preference_int", &GetPreferenceInt, preferenceDoc.c_str(), py::arg("key"));
    table.Add("get_preference_float", &GetPreferenceFloat, preferenceDoc.c_str(), py::arg("key"));
}

}  // namespace zmx

// Objects, music and queues stay as they are.
void GSPauseSim()
{
    theMissionScript.simRunning = false;
    if (Simulation* world = theMissionScript.World())
        world->paused = true;
    zmx::SendSignalToAll(PauseStateSignal{1}, ServerMessageSink::kReliable);
}
