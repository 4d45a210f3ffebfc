// The console's handling of the asset transfer codes: a ship type's mesh
// outline (66) and the chunks of its lists (67), both handed to the render
// side's transfers, which the console's client holds, once they read whole.

#include "game/net/AssetTransferSignals.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/CorvaneClient.h"
#include "game/net/RejectedMessages.h"
#include "game/net/ShipAssetService.h"

namespace {

// Null without a client or without a render side.
ShipAssetTransfers* ConsoleTransfers(const CorvaneClient* client)
{
    return client ? client->AssetTransfers() : nullptr;
}

// A message cut short is reported by the dispatch; one that reads whole but
// breaks the outline's rules is reported here, naming the rule.
const char* OutlineFault(const DrawDataOutlineSignal& outline)
{
    if (outline.shipKey.empty())
        return "empty key; SIGNAL_MESS_DRAW_DATA_OUTLINE";
    if (outline.artRoot.empty())
        return "empty root; SIGNAL_MESS_DRAW_DATA_OUTLINE";
    return "a mesh outline breaks its caps or names a path outside the data folder";
}

void HandleDrawDataOutline(QelNetworkMessage& message, ShipAssetTransfers* transfers)
{
    DrawDataOutlineSignal outline;
    if (!ReadSignal(message, outline)) {
        if (!message.IsBad())
            ReportRejectedMessage(kClientSignalHandler, message, OutlineFault(outline));
        return;
    }
    if (transfers)
        transfers->ApplyDrawDataOutline(outline);
}

void HandleAssetData(QelNetworkMessage& message, ShipAssetTransfers* transfers)
{
    if (transfers && !transfers->ApplyAssetData(message))
        ReportRejectedMessage(kClientSignalHandler, message, "a mesh chunk breaks its form; it is dropped whole");
}

}  // namespace

bool HandleClientAssetSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    switch (code) {
    case SIGNAL_MESS_DRAW_DATA_OUTLINE: HandleDrawDataOutline(message, ConsoleTransfers(client)); return true;
    case SIGNAL_MESS_ASSET_DATA: HandleAssetData(message, ConsoleTransfers(client)); return true;
    default: return false;
    }
}
