#include "game/shell/MissionStart.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/net/QelNetworkServer.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/script/MissionScript.h"
#include "game/ui/TextLog.h"

#include <cstdio>
#include <utility>

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

// Writes why the mission could not start to the console log and the
// standard error stream; the same words come back.
std::string ReportStartError(const std::string& folderName, const std::string& reason)
{
    const std::string error = "Mission \"" + folderName + "\" could not start: " + reason;
    theConsoleLog.Add(kErrorColour, error);
    std::fprintf(stderr, "%s\n", error.c_str());
    return error;
}

}  // namespace

void StartMissionWith(const std::function<void()>& startScript)
{
    theMissionScript.Stop();
    theMissionScript.Screen().RetainedGUI().SetBuilding(true, "");
    startScript();
    AskConsolesForWindowSizes();
    TellMissionTheServerWindow();
}

bool StartMission(const std::string& folderName, std::string& startError)
{
    try {
        StartMissionWith([&folderName] { theMissionScript.Start(folderName); });
    } catch (const ScriptError& error) {
        startError = ReportStartError(folderName, error.what());
        return false;
    }
    startError.clear();
    return true;
}

std::optional<std::string> TakeNextMission()
{
    if (theMissionScript.nextMission.empty())
        return std::nullopt;
    std::optional<std::string> folderName = std::move(theMissionScript.nextMission);
    theMissionScript.nextMission.clear();
    return folderName;
}

NextMission StartNextMission(std::string& startError)
{
    const std::optional<std::string> folderName = TakeNextMission();
    if (!folderName)
        return NextMission::None;
    return StartMission(*folderName, startError) ? NextMission::Started : NextMission::Failed;
}
