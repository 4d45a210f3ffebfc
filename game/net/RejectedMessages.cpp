#include "game/net/RejectedMessages.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

uint64_t rejectedCount = 0;
std::set<std::string> handlersReported;

}  // namespace

void ReportRejectedMessage(const char* handler, const QelNetworkMessage& message, const char* reason)
{
    ++rejectedCount;
    if (!handlersReported.insert(handler).second)
        return;
    std::fprintf(stderr, "%s: refused a message of %d bytes from peer %llu: %s; nothing of it was applied, "
                 "later ones are counted quietly\n",
                 handler, message.writeIndex, static_cast<unsigned long long>(message.sender), reason);
}

uint64_t RejectedMessageCount()
{
    return rejectedCount;
}
