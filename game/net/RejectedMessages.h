#pragma once
// Messages a handler refused for what they hold (an id of the wrong kind, an
// empty key): counted, and reported once per handler so a misbehaving peer
// cannot flood the log. Messages too short for their fields are reported by
// the dispatch itself. Main thread only.

#include <cstdint>
#include <string>

class QelNetworkMessage;

void ReportRejectedMessage(const char* handler, const QelNetworkMessage& message, const char* reason);
uint64_t RejectedMessageCount();
// One line of the counts by handler ("messages refused by their handlers
// this run: CMESSSignal 2, MESSSignal 4"); "" when none was refused. The
// game writes it to the log as it ends.
std::string DescribeRejectedMessages();
