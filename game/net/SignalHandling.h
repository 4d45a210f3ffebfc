#pragma once
// What the two "signal" handlers share. A payload is read whole by its
// record's reader before anything is applied. A message too short for its
// payload is reported by the dispatch; one that reads whole but holds what its
// code cannot carry (an id of the wrong kind, an empty key, a value that is
// not a number or breaks its code's limits), or more bytes than its payload
// (the sender wrote another layout than this side reads), is counted and
// reported here, once per handler, and nothing of it is applied.

#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"

template <typename Signal>
bool ReadSignalOrReport(QelNetworkMessage& message, Signal& signal, const char* handler)
{
    if (!ReadSignal(message, signal)) {
        if (!message.IsBad())
            ReportRejectedMessage(handler, message, "a value breaks the limits of its signal code");
        return false;
    }
    if (message.BytesLeftToRead() > 0) {
        ReportRejectedMessage(handler, message, "it is longer than its signal code's payload");
        return false;
    }
    return true;
}
