#pragma once
// The address other machines on the local network reach this one at.

#include <string>

namespace qel {

// The IPv4 address of the first interface that is up and not loopback, in
// dotted text; "127.0.0.1" when there is none.
std::string FindLocalIPv4Address();

}  // namespace qel
