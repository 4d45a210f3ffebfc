#include "game/shell/HalvexDMX.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "helper/CRand.h"

namespace {

// A behaviour's slot level: the blend of low and high at a share of 0..1,
// truncated toward zero.
uint8_t Blend(const HalvexDMX::DmxChannel& channel, float share)
{
    const float level = static_cast<float>(channel.low) * (1.0f - share) + static_cast<float>(channel.high) * share;
    return static_cast<uint8_t>(static_cast<int32_t>(level));
}

}  // namespace

HalvexDMX::HalvexDMX(std::unique_ptr<DmxTransport> wire, DmxOutputTiming outputTiming)
    : transport(std::move(wire)), timing(outputTiming)
{
}

HalvexDMX::~HalvexDMX()
{
    StopOutput();
    if (transport)
        transport->Close();
}

bool HalvexDMX::Open()
{
    if (working)
        return true;
    if (!transport || !transport->Open()) {
        std::fprintf(stderr, "DMX: no USB-DMX interface found; the lights are not driven.\n");
        return false;
    }
    frame.fill(0);
    frame[1] = 255;
    for (DmxChannel& channel : channels)
        channel.behaviour = DMX_BEHAV_OFF;
    for (float& level : randomLevels)
        level = static_cast<float>(crand()) / CRAND_MAX;
    {
        std::lock_guard lock(shared);
        sharedFrame = frame;
        stopping = false;
    }
    working = true;
    output = std::thread(&HalvexDMX::OutputThread, this);
    return true;
}

const char* HalvexDMX::SetChannel(const DmxChannelRequest& request)
{
    if (const char* fault = DmxChannelFault(request))
        return fault;
    DmxChannel& channel = channels[request.channel];
    channel.behaviour = static_cast<uint8_t>(request.behaviour);
    channel.speed = static_cast<uint8_t>(request.speed);
    channel.low = static_cast<uint8_t>(request.low);
    channel.high = static_cast<uint8_t>(request.high);
    highestChannel = std::max(highestChannel, request.channel);
    return nullptr;
}

uint8_t HalvexDMX::SlotValue(const DmxChannel& channel, uint64_t tick, const RandomLevels& levels)
{
    const uint32_t steps = channel.speed + 1u;
    // The float forms are the lighting's own timing: a step of n / s in
    // 32-bit floats.
    const float position = static_cast<float>(tick) / static_cast<float>(steps);
    switch (channel.behaviour) {
    case DMX_BEHAV_ON: return channel.high;
    case DMX_BEHAV_BLINK: return (tick / steps) % 2 == 0 ? channel.low : channel.high;
    case DMX_BEHAV_SINE: return Blend(channel, (std::sin(position) + 1.0f) * 0.5f);
    case DMX_BEHAV_RAMP_UP: return Blend(channel, position - std::floor(position));
    case DMX_BEHAV_RAMP_DOWN: return Blend(channel, 1.0f - (position - std::floor(position)));
    case DMX_BEHAV_RANDOM:
        return Blend(channel, levels[static_cast<uint64_t>(position) % kRandomLevels]);
    default: return 0;  // off
    }
}

void HalvexDMX::ComputeFrame()
{
    ++tickCount;
    for (int32_t i = 0; i <= highestChannel; ++i)
        frame[i] = SlotValue(channels[i], tickCount, randomLevels);
    std::lock_guard lock(shared);
    sharedFrame = frame;
}

std::array<uint8_t, HalvexDMX::kSlots> HalvexDMX::Frame() const
{
    std::lock_guard lock(shared);
    return sharedFrame;
}

bool HalvexDMX::WaitUnlessStopped(std::chrono::milliseconds time)
{
    std::unique_lock lock(shared);
    return !wake.wait_for(lock, time, [this] { return stopping; });
}

// A frame the interface did not take is not retried: the next one follows
// 30 ms later, and DMX fixtures hold their last levels meanwhile.
void HalvexDMX::OutputThread()
{
    if (!WaitUnlessStopped(timing.settle))
        return;
    std::array<uint8_t, kSlots> outgoing{};
    do {
        {
            std::lock_guard lock(shared);
            outgoing = sharedFrame;
        }
        transport->SendFrame(kStartCode, outgoing);
        framesSent.fetch_add(1);
    } while (WaitUnlessStopped(timing.period));
}

void HalvexDMX::StopOutput()
{
    if (!output.joinable())
        return;
    {
        std::lock_guard lock(shared);
        stopping = true;
    }
    wake.notify_all();
    output.join();
}
