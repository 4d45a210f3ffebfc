#include "game/net/PresentationSignals.h"

#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"
#include "helper/ColorParse.h"

#include <cmath>

namespace {

// The zooms of the 2D radar that come with the main screen's views.
constexpr float kTacticalZoom = 0.06f;
constexpr float kLongRangeZoom = 0.01f;

bool Below(float value, float bound)
{
    return std::fabs(value) < bound;  // false for a NaN
}

}  // namespace

CommsMessageRecord CommsRecordOf(const CommsMessageSignal& signal, int64_t arrivalTick)
{
    CommsMessageRecord record;
    record.sourceId = signal.sourceId;
    record.title = signal.title;
    record.body = signal.body;
    record.face = signal.face;
    ParseColor(record.titleColour, signal.titleColour);
    ParseColor(record.bodyColour, signal.bodyColour);
    record.arrivalTick = arrivalTick;
    return record;
}

std::optional<float> RadarZoomOfMainView(const std::string& view)
{
    if (view == "tactical")
        return kTacticalZoom;
    if (view == "lrs")
        return kLongRangeZoom;
    return std::nullopt;
}

void WriteSignal(QelNetworkMessage& message, const TextMessageSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    for (float component : signal.colour)
        message.WriteFloat(component);
    message.WriteString(signal.text);
}

bool ReadSignal(QelNetworkMessage& message, TextMessageSignal& signal)
{
    float* c = signal.colour;
    return ReadMessageFields(message, c[0], c[1], c[2], c[3], signal.text) && AllFinite({c[0], c[1], c[2], c[3]});
}

void WriteSignal(QelNetworkMessage& message, const CommsMessageSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.sourceId);
    for (const std::string* text : {&signal.face, &signal.title, &signal.titleColour, &signal.body, &signal.bodyColour})
        message.WriteString(*text);
}

bool ReadSignal(QelNetworkMessage& message, CommsMessageSignal& signal)
{
    return ReadMessageFields(message, signal.sourceId, signal.face, signal.title, signal.titleColour, signal.body,
                             signal.bodyColour) &&
           IsNoneOrSpaceObjectId(signal.sourceId);
}

void WriteSignal(QelNetworkMessage& message, const MainScreenViewSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.view).WriteString(signal.cameraAngle).WriteString(signal.cameraMode);
}

bool ReadSignal(QelNetworkMessage& message, MainScreenViewSignal& signal)
{
    return ReadMessageFields(message, signal.view, signal.cameraAngle, signal.cameraMode) && !signal.view.empty() &&
           !signal.cameraAngle.empty() && !signal.cameraMode.empty();
}

void WriteSignal(QelNetworkMessage& message, const MusicTensionSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.tension);
}

bool ReadSignal(QelNetworkMessage& message, MusicTensionSignal& signal)
{
    return ReadMessageFields(message, signal.tension) && signal.tension >= 0.0f &&
           signal.tension <= MusicTensionSignal::kMaxTension;
}

void WriteSignal(QelNetworkMessage& message, const SoundFileSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.fileName).WriteFloat(signal.volume).WriteFloat(signal.pitch);
}

bool ReadSignal(QelNetworkMessage& message, SoundFileSignal& signal)
{
    return ReadMessageFields(message, signal.fileName, signal.volume, signal.pitch) && !signal.fileName.empty() &&
           Below(signal.volume, SoundFileSignal::kVolumeBound) && Below(signal.pitch, SoundFileSignal::kPitchBound);
}

void WriteSignal(QelNetworkMessage& message, const DmxChannelSignal& signal)
{
    const DmxChannelRequest& r = signal.request;
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(r.channel).WriteInt32(r.behaviour).WriteInt32(r.speed).WriteInt32(r.low).WriteInt32(r.high);
}

bool ReadSignal(QelNetworkMessage& message, DmxChannelSignal& signal)
{
    DmxChannelRequest& r = signal.request;
    return ReadMessageFields(message, r.channel, r.behaviour, r.speed, r.low, r.high) && DmxChannelFault(r) == nullptr;
}

void WriteSignal(QelNetworkMessage& message, const ParticleEventSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId).WriteFloat(signal.x).WriteFloat(signal.y).WriteFloat(signal.z);
    message.WriteString(signal.descriptor);
}

bool ReadSignal(QelNetworkMessage& message, ParticleEventSignal& signal)
{
    return ReadMessageFields(message, signal.objectId, signal.x, signal.y, signal.z, signal.descriptor) &&
           IsNoneOrSpaceObjectId(signal.objectId) && AllFinite({signal.x, signal.y, signal.z}) &&
           !signal.descriptor.empty();
}

void WriteSignal(QelNetworkMessage& message, const AttachedEmitterSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.emitterId).WriteInt64(signal.objectId).WriteInt32(signal.lifeSpan);
    message.WriteString(signal.descriptor);
}

bool ReadSignal(QelNetworkMessage& message, AttachedEmitterSignal& signal)
{
    return ReadMessageFields(message, signal.emitterId, signal.objectId, signal.lifeSpan, signal.descriptor) &&
           IsNoneOrSpaceObjectId(signal.objectId) && !signal.descriptor.empty();
}

void WriteSignal(QelNetworkMessage& message, const SkyBoxSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.artFileName);
}

bool ReadSignal(QelNetworkMessage& message, SkyBoxSignal& signal)
{
    return ReadMessageFields(message, signal.artFileName);
}
