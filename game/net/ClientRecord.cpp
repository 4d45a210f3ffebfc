#include "game/net/ClientRecord.h"

void ClientRecord::SetConsoleName(const std::string& name)
{
    consoleName = name;
    scienceFlag = name.find("sci") != std::string::npos;
    mainScreenFlag = name.find("main") != std::string::npos;
    gameMasterFlag = name.find("gamemaster") != std::string::npos;
}
