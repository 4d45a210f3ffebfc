#include "game/net/ObjectBlobMessage.h"

#include "game/net/ReadMessageFields.h"
#include "helper/QelAssert.h"

namespace {

// Tag key, index and type byte before every value.
constexpr int32_t kEntryHeadSize = 8 + 4 + 1;
constexpr int32_t kStringLengthSize = 2;

// False for a type this side does not know: reading stops there.
bool ReadEntryValue(QelNetworkMessage& message, ObjectBlobEntry& entry)
{
    switch (entry.type) {
    case ODBE_INT:
        message.ReadInt64(entry.intValue);
        return true;
    case ODBE_UINT64:
        message.ReadInt64(entry.uintValue);
        return true;
    case ODBE_FLOAT:
        message.ReadInt32(entry.floatValue);
        return true;
    case ODBE_STRING:
        message.ReadString(entry.stringValue);
        return true;
    default:
        return false;
    }
}

}  // namespace

void StartObjectBlobMessage(QelNetworkMessage& message, const ObjectBlobHeader& header)
{
    message.Reset();
    message.recipients.clear();
    message.WriteInt64(HashMessageName("objectBlob"));
    message.WriteInt64(header.ownerId).WriteInt64(header.shipId).WriteInt32(header.kind);
}

int32_t ObjectBlobEntrySize(const ObjectDataBlobElement& element)
{
    switch (element.dataType) {
    case ODBE_INT:
    case ODBE_UINT64:
        return kEntryHeadSize + 8;
    case ODBE_FLOAT:
        return kEntryHeadSize + 4;
    case ODBE_STRING:
        return kEntryHeadSize + kStringLengthSize + static_cast<int32_t>(element.stringValue.size());
    default:
        return 0;
    }
}

void WriteObjectBlobEntry(QelNetworkMessage& message, uint64_t tagKey, int32_t index,
                          const ObjectDataBlobElement& element)
{
    QEL_ASSERT(tagKey != 0, "elementID && \"CorvaneServer::SendBlobElementToClient(), null elementID.\"");
    if (element.dataType == ODBE_NONE)
        return;
    message.WriteInt64(tagKey).WriteInt32(index).WriteInt8(element.dataType);
    switch (element.dataType) {
    case ODBE_INT:
        message.WriteInt64(static_cast<uint64_t>(element.intValue));
        break;
    case ODBE_UINT64:
        message.WriteInt64(element.uintValue);
        break;
    case ODBE_FLOAT:
        message.WriteFloat(element.floatValue);
        break;
    default:
        message.WriteString(element.stringValue);
        break;
    }
}

void CloseObjectBlobMessage(QelNetworkMessage& message)
{
    message.WriteInt64(0);
}

bool ReadObjectBlobMessage(QelNetworkMessage& message, ObjectBlobHeader& header,
                           std::vector<ObjectBlobEntry>& entries)
{
    entries.clear();
    if (!ReadMessageFields(message, header.ownerId, header.shipId, header.kind))
        return false;
    for (;;) {
        ObjectBlobEntry entry;
        message.ReadInt64(entry.tagKey);
        if (message.IsBad() || entry.tagKey == 0)
            break;
        message.ReadInt32(entry.index).ReadInt8(entry.type);
        if (!ReadEntryValue(message, entry))
            break;
        entries.push_back(std::move(entry));
    }
    return !message.IsBad();
}
