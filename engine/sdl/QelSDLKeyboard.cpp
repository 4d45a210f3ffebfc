#include "engine/sdl/QelSDLKeyboard.h"

bool QelSDLKeyboard::IsKeyDown(int32_t key)
{
    return InRange(key) && current[key];
}

bool QelSDLKeyboard::IsKeyPressed(int32_t key, bool sinceFrameEnd)
{
    if (!InRange(key) || !current[key])
        return false;
    return sinceFrameEnd ? (!endOfFrame[key] || !previous[key]) : !previous[key];
}

bool QelSDLKeyboard::IsKeyReleased(int32_t key, bool sinceFrameEnd)
{
    if (!InRange(key) || current[key])
        return false;
    return sinceFrameEnd ? (endOfFrame[key] || previous[key]) : previous[key] != 0;
}

bool QelSDLKeyboard::PopTypedChar(int32_t& character)
{
    return PopOldest(charQueue, character);
}

bool QelSDLKeyboard::PopKeyDown(int32_t& key)
{
    return PopOldest(keyDownQueue, key);
}

void QelSDLKeyboard::OnKeyDown(int32_t key)
{
    if (!InRange(key))
        return;
    SetLatest(key, true);
    keyDownQueue.push_back(key);
    keyIdleFrames = 0;
}

void QelSDLKeyboard::OnKeyUp(int32_t key)
{
    if (!InRange(key))
        return;
    SetLatest(key, false);
    keyIdleFrames = 0;
}

void QelSDLKeyboard::OnChar(int32_t character)
{
    charQueue.push_back(character);
    charIdleFrames = 0;
}

void QelSDLKeyboard::Update()
{
    previous = current;
    AgeQueue(charIdleFrames, charQueue);
    AgeQueue(keyIdleFrames, keyDownQueue);
}

void QelSDLKeyboard::CopyEndOfFrame()
{
    endOfFrame = current;
    changedThisFrame.fill(0);
    pressSinceFrameEnd = false;
    ReleaseWaitingChanges();
}

bool QelSDLKeyboard::LatestDown(int32_t key) const
{
    return (current[key] != 0) != (waitingChanges[key] % 2 != 0);
}

// A repeat changes nothing. A key no frame has seen change since the last
// frame end takes the new state at once; otherwise the change waits.
void QelSDLKeyboard::SetLatest(int32_t key, bool down)
{
    if (LatestDown(key) == down)
        return;
    if (!changedThisFrame[key]) {
        current[key] = down ? 1 : 0;
        changedThisFrame[key] = 1;
        pressSinceFrameEnd = pressSinceFrameEnd || down;
    } else if (waitingChanges[key] < kMaxWaitingChanges) {
        ++waitingChanges[key];
    } else {
        --waitingChanges[key];
    }
}

void QelSDLKeyboard::ReleaseWaitingChanges()
{
    for (int key = 0; key < kKeyCount; ++key) {
        if (waitingChanges[key] == 0)
            continue;
        --waitingChanges[key];
        current[key] = current[key] ? 0 : 1;
        changedThisFrame[key] = 1;
        pressSinceFrameEnd = pressSinceFrameEnd || current[key];
    }
}

void QelSDLKeyboard::AgeQueue(int32_t& idleFrames, std::vector<int32_t>& queue)
{
    ++idleFrames;
    if (idleFrames <= kQueueIdleFrames)
        return;
    idleFrames = kQueueIdleFrames;
    if (!queue.empty())
        queue.erase(queue.begin());
}

bool QelSDLKeyboard::PopOldest(std::vector<int32_t>& queue, int32_t& out)
{
    if (queue.empty())
        return false;
    out = queue.front();
    queue.erase(queue.begin());
    return true;
}
