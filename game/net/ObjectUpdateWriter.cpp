#include "game/net/ObjectUpdateWriter.h"

#include "game/net/CorvaneServer.h"
#include "game/net/SpaceObjectRecord.h"

#include <utility>

namespace {

constexpr int32_t kUpdateEndMarkerSize = 8;

}  // namespace

ObjectUpdateWriter::ObjectUpdateWriter(CorvaneServer& server, const std::vector<uint64_t>& recipients)
    : ObjectUpdateWriter(recipients, [&server](QelNetworkMessage& finished) {
          server.SendLocked(finished, ServerMessageSink::kRecordStream);
      })
{
}

ObjectUpdateWriter::ObjectUpdateWriter(const std::vector<uint64_t>& recipients, Deliver deliver)
    : recipients(recipients), deliver(std::move(deliver)), message(ServerOutgoingMessage())
{
    Start();
}

void ObjectUpdateWriter::Add(const SpaceObject& object, int32_t marker)
{
    if (message.BytesLeftToWrite() < SpaceObjectRecord::kSize + kUpdateEndMarkerSize)
        Split();
    WriteSpaceObjectRecord(object, marker, message);
}

void ObjectUpdateWriter::Split()
{
    Finish();
    Start();
}

void ObjectUpdateWriter::Finish()
{
    message.WriteInt64(0);
    message.recipients = recipients;
    deliver(message);
}

void ObjectUpdateWriter::Start()
{
    StartServerMessage(message, "spaceobjectupdate", 0);
}
