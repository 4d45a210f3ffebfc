#include "fuzz/support/FuzzNetwork.h"

#include "engine/base/QelNetworkMessage.h"
#include "fuzz/support/FuzzProcess.h"

void CheckSentMessage(const QelNetworkMessage& message, const char* side)
{
    QEL_FUZZ_CHECK(!message.IsOverflowed(), std::string(side) + " sent a message that a write did not fit: it "
                                                                "would arrive cut short");
    QEL_FUZZ_CHECK(message.writeIndex >= 8, std::string(side) + " sent a message without its key");
}

int FuzzServerEndpoint::Send(const QelNetworkMessage& message, uint32_t)
{
    CheckSentMessage(message, "the server");
    ++sentCount;
    return static_cast<int>(message.recipients.size());
}

bool FuzzClientEndpoint::Send(const QelNetworkMessage& message)
{
    CheckSentMessage(message, "the console");
    ++sentCount;
    return true;
}

FuzzNetwork& FuzzNetwork::Instance()
{
    static FuzzNetwork network;
    gNetworkFactory = &network;
    return network;
}
