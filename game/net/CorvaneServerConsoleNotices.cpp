// What the world tells the consoles of one ship, written once here with the
// signal writers and sent unreliably: each is a moment's news that a later
// one replaces.

#include "game/net/CorvaneServer.h"

#include "game/net/SignalMessage.h"

#include <algorithm>
#include <cmath>

namespace {

template <typename Signal>
void SendToShipConsoles(CorvaneServer& server, uint64_t shipId, const Signal& signal)
{
    QelNetworkMessage& message = ServerOutgoingMessage();
    StartServerMessage(message, "signal", 0);
    WriteSignal(message, signal);
    server.SendToShip(message, shipId, ServerMessageSink::kUnreliable);
}

}  // namespace

void CorvaneServer::JumpCountdown(uint64_t shipId, int32_t secondsLeft)
{
    SendToShipConsoles(*this, shipId, JumpTimeSignal{std::max(secondsLeft, 0)});
}

void CorvaneServer::JumpArrived(uint64_t shipId, int64_t tick, int64_t effectSeconds)
{
    const auto seconds = static_cast<uint64_t>(
        std::clamp<int64_t>(effectSeconds, 0, static_cast<int64_t>(JumpEffectSignal::kMaxEffectSeconds)));
    SendToShipConsoles(*this, shipId, JumpEffectSignal{tick, seconds});
}

void CorvaneServer::DamageFlash(uint64_t shipId, float amount)
{
    SendToShipConsoles(*this, shipId, DamageAmountSignal{std::isfinite(amount) ? std::max(amount, 0.0f) : 0.0f});
}
