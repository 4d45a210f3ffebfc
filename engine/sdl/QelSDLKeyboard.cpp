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
    current[key] = 1;
    keyDownQueue.push_back(key);
    keyIdleFrames = 0;
}

void QelSDLKeyboard::OnKeyUp(int32_t key)
{
    if (!InRange(key))
        return;
    current[key] = 0;
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
