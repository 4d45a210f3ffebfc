#pragma once
// A message that a write did not fit lacks what that write held (a string's
// bytes, the fields after it): sent, it would reach the peer cut short and be
// misread or dropped there. Every send of both sides asks here first; such a
// message is counted, reported once per side, and not sent. Main thread only.

#include <cstdint>

class QelNetworkMessage;

// False, after counting (and the first time per side reporting) it, when the
// message was cut short; side names the sender ("client", "server").
bool IsWholeForSending(const QelNetworkMessage& message, const char* side);
uint64_t CutShortMessageCount();
