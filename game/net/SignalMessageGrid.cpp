// The "signal" payloads of the ship interior grids (codes 42 to 48), declared
// with the rest of the code table in SignalMessage.h.

#include "game/net/SignalMessage.h"

#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"

namespace {

// A path's list of cells ends with this value.
constexpr int32_t kPathEnd = -1;

constexpr int32_t kIdSize = 8;
constexpr int32_t kIntSize = 4;

int32_t StringSize(const std::string& text)
{
    return 2 + static_cast<int32_t>(text.size());
}

// A cell at -1 cannot be told from the list's end; only a start outside the
// grid can be one, and it is left out.
void WritePath(QelNetworkMessage& message, const std::vector<int32_t>& path)
{
    for (size_t i = 0; i + 1 < path.size(); i += 2) {
        if (path[i] != kPathEnd && path[i + 1] != kPathEnd)
            message.WriteInt32(path[i]).WriteInt32(path[i + 1]);
    }
    message.WriteInt32(kPathEnd);
}

// Cells until the end value; a list that is not whole pairs is no path.
bool ReadPath(QelNetworkMessage& message, std::vector<int32_t>& path)
{
    path.clear();
    for (;;) {
        int32_t value = 0;
        message.ReadInt32(value);
        if (message.IsBad())
            return false;
        if (value == kPathEnd)
            return path.size() % 2 == 0;
        path.push_back(value);
    }
}

// Grid objects until the id 0; each must be a grid object's id.
bool ReadGridObjects(QelNetworkMessage& message, std::vector<GridSignal::Object>& objects)
{
    objects.clear();
    for (;;) {
        GridSignal::Object object;
        if (!ReadMessageFields(message, object.id))
            return false;
        if (object.id == 0)
            return true;
        if (!IsGridObjectId(object.id) ||
            !ReadMessageFields(message, object.name, object.tag, object.type, object.layer) ||
            !ReadPath(message, object.path))
            return false;
        objects.push_back(std::move(object));
    }
}

}  // namespace

int32_t GridSignal::HeaderSize() const
{
    return kIdSize + StringSize(name) + StringSize(description) + StringSize(artFileRoot) + 4 * kIntSize;
}

int32_t GridSignal::ObjectSize(const Object& object)
{
    return kIdSize + StringSize(object.name) + StringSize(object.tag) + StringSize(object.type) + kIntSize +
           kIntSize * static_cast<int32_t>(object.path.size() + 1);
}

void WriteSignal(QelNetworkMessage& message, const GridRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const GridSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.shipId);
    message.WriteString(signal.name).WriteString(signal.description).WriteString(signal.artFileRoot);
    message.WriteFloat(signal.gridScale).WriteInt32(signal.width).WriteInt32(signal.height);
    message.WriteInt32(signal.symmetricalFlag);
    for (const GridSignal::Object& object : signal.objects) {
        message.WriteInt64(object.id);
        message.WriteString(object.name).WriteString(object.tag).WriteString(object.type);
        message.WriteInt32(object.layer);
        WritePath(message, object.path);
    }
    message.WriteInt64(0);  // ends the list
}

void WriteSignal(QelNetworkMessage& message, const DeleteGridSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipDataKey).WriteInt64(signal.shipId);
}

void WriteSignal(QelNetworkMessage& message, const GridObjectDeletedSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.gridObjectId).WriteInt64(signal.shipId);
}

void WriteSignal(QelNetworkMessage& message, const GridObjectSelectionSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.shipId).WriteInt64(signal.gridObjectId);
    message.WriteString(signal.consoleName).WriteString(signal.widgetName);
}

void WriteSignal(QelNetworkMessage& message, const GridPointSelectionSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.shipId).WriteInt32(signal.column).WriteInt32(signal.row);
    message.WriteString(signal.consoleName).WriteString(signal.widgetName);
}

void WriteSignal(QelNetworkMessage& message, const GridButtonSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.button).WriteInt64(signal.shipId).WriteInt64(signal.gridObjectId);
}

bool ReadSignal(QelNetworkMessage& message, GridRequestSignal& signal)
{
    return ReadMessageFields(message, signal.value);
}

bool ReadSignal(QelNetworkMessage& message, GridSignal& signal)
{
    return ReadMessageFields(message, signal.shipId, signal.name, signal.description, signal.artFileRoot,
                             signal.gridScale, signal.width, signal.height, signal.symmetricalFlag) &&
           IsSpaceObjectId(signal.shipId) && ReadGridObjects(message, signal.objects);
}

bool ReadSignal(QelNetworkMessage& message, DeleteGridSignal& signal)
{
    return ReadMessageFields(message, signal.shipDataKey, signal.shipId) && !signal.shipDataKey.empty() &&
           IsSpaceObjectId(signal.shipId);
}

bool ReadSignal(QelNetworkMessage& message, GridObjectDeletedSignal& signal)
{
    return ReadMessageFields(message, signal.gridObjectId, signal.shipId) && IsGridObjectId(signal.gridObjectId) &&
           IsSpaceObjectId(signal.shipId);
}

bool ReadSignal(QelNetworkMessage& message, GridObjectSelectionSignal& signal)
{
    return ReadMessageFields(message, signal.shipId, signal.gridObjectId, signal.consoleName, signal.widgetName) &&
           IsNoneOrSpaceObjectId(signal.shipId) && IsNoneOrGridObjectId(signal.gridObjectId);
}

bool ReadSignal(QelNetworkMessage& message, GridPointSelectionSignal& signal)
{
    return ReadMessageFields(message, signal.shipId, signal.column, signal.row, signal.consoleName,
                             signal.widgetName) &&
           IsNoneOrSpaceObjectId(signal.shipId);
}

bool ReadSignal(QelNetworkMessage& message, GridButtonSignal& signal)
{
    return ReadMessageFields(message, signal.button, signal.shipId, signal.gridObjectId) &&
           IsNoneOrSpaceObjectId(signal.shipId) && IsNoneOrGridObjectId(signal.gridObjectId);
}
