#pragma once
// The keyboard's raw state, written by the event translation, and the edges
// and queues the game reads from it.
//
// Events arrive between frames, and a frame sees each key in one state. A key
// that changes again before a frame has seen its last change keeps the
// further changes waiting, and each frame end lets one of them through: a tap
// shorter than a frame is down for one frame and up in the next, so every
// press and release shows as one edge to the polling queries. A press of
// another key made while a frame has not yet seen the last one waits for the
// next frame (see HasUnreadPress), so keys tapped in one slow frame reach the
// game one frame each, in order.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelKeyboard.h"

class QelSDLKeyboard : public QelKeyboard {
public:
    static constexpr int kKeyCount = 256;
    // Frames a queue keeps its entries after the last input of its kind;
    // after that, one entry per frame is dropped so forgotten input drains.
    static constexpr int32_t kQueueIdleFrames = 300;
    // Changes of one key that may wait for later frames: some thirty taps,
    // more than a hand makes in the longest frame (the frame loop drops time
    // past 200 ms). Past it a new change cancels the last waiting one, so
    // the key still ends in the state it was left in.
    static constexpr uint8_t kMaxWaitingChanges = 64;

    bool IsKeyDown(int32_t key) override;
    bool IsKeyPressed(int32_t key, bool sinceFrameEnd = false) override;
    bool IsKeyReleased(int32_t key, bool sinceFrameEnd = false) override;
    bool PopTypedChar(int32_t& character) override;
    bool PopKeyDown(int32_t& key) override;

    // Raw input, from the event translation.
    void OnKeyDown(int32_t key);
    void OnKeyUp(int32_t key);
    void OnChar(int32_t character);

    // True while a key went down that no frame end has passed yet: the
    // event translation keeps further key-downs queued until then.
    bool HasUnreadPress() const { return pressSinceFrameEnd; }

    // Once per frame after the ticks: takes the previous-state copy and ages the queues.
    void Update();
    // Once per frame after the present; then lets each key's next waiting
    // change through.
    void CopyEndOfFrame();

    std::string name;
    std::array<uint8_t, kKeyCount> current{};     // 1 while down
    std::array<uint8_t, kKeyCount> previous{};    // current at the last Update
    std::array<uint8_t, kKeyCount> endOfFrame{};  // current at the last frame's end
    std::vector<int32_t> keyDownQueue;            // virtual keys, oldest first
    std::vector<int32_t> charQueue;               // characters, oldest first
    int32_t charIdleFrames = 0;                   // frames since the last character
    int32_t keyIdleFrames = 0;                    // frames since the last key message
    std::array<uint8_t, kKeyCount> changedThisFrame{};  // 1 once current changed since the last frame end
    std::array<uint8_t, kKeyCount> waitingChanges{};    // changes after current, 0..kMaxWaitingChanges
    bool pressSinceFrameEnd = false;                    // some key went down since the last frame end

private:
    static bool InRange(int32_t key) { return key >= 0 && key < kKeyCount; }
    // The state the key was left in by the last event.
    bool LatestDown(int32_t key) const;
    void SetLatest(int32_t key, bool down);
    void ReleaseWaitingChanges();
    static void AgeQueue(int32_t& idleFrames, std::vector<int32_t>& queue);
    static bool PopOldest(std::vector<int32_t>& queue, int32_t& out);
};
