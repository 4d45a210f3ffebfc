#include "game/shell/scenes/MissionStart.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/net/QelNetworkServer.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/script/MissionScript.h"
#include "game/shell/TextLog.h"

#include <cstdio>

std::string missionStartError;

namespace {

constexpr glm::vec4 kErrorColour{1.0f, 0.3f, 0.3f, 1.0f};

// Every console answers with its window size. Sent reliably: a console that
// missed it would leave the new mission laying out its screens for a window
// it never heard of.
void AskConsolesForWindowSizes()
{
    StartServerMessage(ServerOutgoingMessage(), "signal", 0);
    WriteSignal(ServerOutgoingMessage(), ScreenSizeQuerySignal{});
    SendServerMessageToAll(QelNetworkServer::kReliable);
}

void TellMissionTheServerWindow()
{
    if (gServer && gGraphicsFactory)
        gServer->RaiseScreenSizeEvent(0, gGraphicsFactory->GetWidth(), gGraphicsFactory->GetHeight());
}

void KeepStartError(const std::string& folderName, const std::string& reason)
{
    missionStartError = "Mission \"" + folderName + "\" could not start: " + reason;
    theConsoleLog.Add(kErrorColour, missionStartError);
    std::fprintf(stderr, "%s\n", missionStartError.c_str());
}

}  // namespace

bool StartMission(const std::string& folderName)
{
    theMissionScript.Stop();
    theRetainedGUIManager.SetBuilding(true, "");
    try {
        theMissionScript.Start(folderName);
    } catch (const ScriptError& error) {
        KeepStartError(folderName, error.what());
        return false;
    }
    missionStartError.clear();
    AskConsolesForWindowSizes();
    TellMissionTheServerWindow();
    return true;
}

NextMission StartNextMission()
{
    if (theMissionScript.nextMission.empty())
        return NextMission::None;
    const std::string folderName = theMissionScript.nextMission;
    theMissionScript.nextMission.clear();
    return StartMission(folderName) ? NextMission::Started : NextMission::Failed;
}
