// The console's handlers of "beam" and "transient".

#include "game/net/BeamMessage.h"
#include "game/net/MessageHooks.h"
#include "game/net/RejectedMessages.h"
#include "game/world/Simulation.h"

// Records the effect in the console's world from its current tick, whatever
// the kind and whether or not the ids are known here: the renderer decides
// what to draw, and the world drops what it has no lifetime for.
void ClientMessageHookBeam(QelNetworkMessage* message, CorvaneClient*)
{
    BeamMessage beam;
    if (!ReadBeamMessage(*message, beam)) {
        if (!message->IsBad())
            ReportRejectedMessage("ClientMessageHookBeam", *message, "an id is neither 0 nor a space object");
        return;
    }
    if (theSimulation)
        theSimulation->AddEffectEvent(beam.kind, beam.secondText, beam.thirdText, beam.firstId, beam.secondId,
                                      beam.firstPoint, beam.secondPoint, beam.value);
}

// Accepted so that it is known, and discarded.
void ClientMessageHookTransient(QelNetworkMessage* message, CorvaneClient*)
{
    SkipTransientMessage(*message);
}

namespace {

const ClientHookRegistration beamHook("beam", ClientMessageHookBeam);
const ClientHookRegistration transientHook("transient", ClientMessageHookTransient);

}  // namespace
