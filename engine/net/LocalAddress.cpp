#include "engine/net/LocalAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace qel {

namespace {

constexpr const char* kLoopbackAddress = "127.0.0.1";

bool IsUsableIPv4(const ifaddrs& entry)
{
    return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == AF_INET &&
           (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_LOOPBACK) == 0;
}

}  // namespace

std::string FindLocalIPv4Address()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return kLoopbackAddress;

    std::string result = kLoopbackAddress;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (!IsUsableIPv4(*entry))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            result = text;
            break;
        }
    }
    freeifaddrs(list);
    return result;
}

}  // namespace qel
