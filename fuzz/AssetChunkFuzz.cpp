// A mesh chunk as a console reads it (the payload after "signal" 67), for
// each kind of list it may be fetching: the first byte picks the kind, the
// rest is the payload. A chunk that reads whole holds at most its kind's
// chunk of finite items and writes back to the bytes it was read from.

#include "engine/base/QelNetworkMessage.h"
#include "fuzz/support/FuzzProcess.h"
#include "game/net/AssetTransferSignals.h"

#include <cstring>

namespace {

constexpr uint32_t kKinds = 3;
constexpr int32_t kCodeSize = 2;  // the writer puts the code first

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    if (size < 1 || size > static_cast<size_t>(QelNetworkMessage::kMessageBufferSize))
        return 0;
    const auto kind = static_cast<AssetKind>(data[0] % kKinds);
    QelNetworkMessage message;
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    AssetDataSignal chunk;
    uint32_t count = 0;
    if (!ReadAssetDataHeader(message, chunk, count) || !ReadAssetDataItems(message, kind, count, chunk))
        return 0;
    QEL_FUZZ_CHECK(chunk.Count() == count && count <= AssetChunkItems(kind), "a chunk holds more than it may");
    QelNetworkMessage again;
    WriteSignal(again, chunk);
    QEL_FUZZ_CHECK(again.writeIndex - kCodeSize == static_cast<int32_t>(size - 1) &&
                       std::memcmp(again.Data() + kCodeSize, data + 1, size - 1) == 0,
                   "a chunk writes back different");
    return 0;
}
