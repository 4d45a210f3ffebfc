#pragma once
// The two ends of the asset transfer, served by the render side, which holds
// the ship types' draw data; the network code only carries the messages. A
// program without a render side (the headless harness) installs neither: its
// server sends no outlines and answers no chunk requests.

#include "game/net/AssetTransferSignals.h"

#include <string>

// The server's end: what a console may fetch of a ship type's mesh.
class ShipAssetSource {
public:
    virtual ~ShipAssetSource() = default;
    // The outline of the ship type's draw data (made on first use); false
    // when there is none to send.
    virtual bool DescribeDrawData(const std::string& shipKey, DrawDataOutlineSignal& outline) = 0;
    // The items the request names, into the answer (whose header the caller
    // fills); false when the ship type has no draw data. Items outside the
    // named list are not answered.
    virtual bool ReadAssetItems(const AssetDataRequestSignal& request, AssetDataSignal& answer) = 0;
};

// The console's end: the transfers of the meshes it lacks, held by the
// console's client (CorvaneClient::SetAssetTransfers).
class ShipAssetTransfers {
public:
    virtual ~ShipAssetTransfers() = default;
    // A ship type's outline: its draw data is remade empty and one transfer
    // per list and texture begins.
    virtual void ApplyDrawDataOutline(const DrawDataOutlineSignal& outline) = 0;
    // One chunk, read from just after the code; false when the message broke
    // its form (it is then dropped whole). An answer for no transfer is
    // ignored and counts as read.
    virtual bool ApplyAssetData(QelNetworkMessage& message) = 0;
};
