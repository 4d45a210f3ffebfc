// The preferences document, as a user may edit it: any text is read, or
// refused with an error that names what is wrong (a syntax error, a missing
// or mistyped preference). What is read is used as start-up uses it: the
// client's and the server's settings, the interface lists, and a player ship
// set up from it that flies a few ticks.

#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/FuzzWorld.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/world/AppData.h"
#include "game/world/JSONLoader.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kTicksFlown = 4;

void UsePreferences()
{
    CorvaneServer::Settings::FromPreferences();
    CorvaneClient::Settings::FromPreferences();
    AppData::LoadStandbyText();
    AppData::LoadGuiSounds();
    Simulation& world = FreshFuzzWorld(true);
    world.CreateSpaceObject("behav_playership", "tern_frigate", 0);
    RunWorld(world, kTicksFlown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    WriteFuzzFile(UseScratchDataFolder() / "preferences.yaml", data, size);
    AppData::Unload();
    try {
        AppData::Load();
        UsePreferences();
    } catch (const JSONLoaderError&) {
    } catch (const Hjson::syntax_error&) {
    } catch (const Hjson::type_mismatch&) {
    }
    return 0;
}
