#include "game/net/RejectedMessages.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>
#include <map>

namespace {

uint64_t rejectedCount = 0;
std::map<std::string, uint64_t> countsByHandler;

}  // namespace

void ReportRejectedMessage(const char* handler, const QelNetworkMessage& message, const char* reason)
{
    ++rejectedCount;
    if (++countsByHandler[handler] > 1)
        return;
    std::fprintf(stderr, "%s: refused a message of %d bytes from peer %llu: %s; nothing of it was applied, "
                 "later ones are counted and shown when the game ends\n",
                 handler, message.writeIndex, static_cast<unsigned long long>(message.sender), reason);
}

uint64_t RejectedMessageCount()
{
    return rejectedCount;
}

std::string DescribeRejectedMessages()
{
    std::string parts;
    for (const auto& [handler, count] : countsByHandler)
        parts += (parts.empty() ? "" : ", ") + handler + " " + std::to_string(count);
    return parts.empty() ? "" : "messages refused by their handlers this run: " + parts;
}
