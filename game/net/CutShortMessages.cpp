#include "game/net/CutShortMessages.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

uint64_t cutShortCount = 0;
std::set<std::string> sidesReported;

}  // namespace

bool IsWholeForSending(const QelNetworkMessage& message, const char* side)
{
    if (!message.IsOverflowed())
        return true;
    ++cutShortCount;
    if (sidesReported.insert(side).second)
        std::fprintf(stderr, "%s network: a message did not fit its %d bytes and was not sent; later ones are "
                     "counted quietly\n", side, QelNetworkMessage::kMessageBufferSize);
    return false;
}

uint64_t CutShortMessageCount()
{
    return cutShortCount;
}
