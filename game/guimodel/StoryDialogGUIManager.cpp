#include "game/guimodel/StoryDialogGUIManager.h"

#include <algorithm>
#include <cstdio>

void StoryDialogGUIManager::Push(const StoryDialogEntry& entry)
{
    if (entries.size() < kMaxQueued) {
        entries.push_back(entry);
        return;
    }
    if (!reportedFull)
        std::fprintf(stderr, "Story dialog \"%s\": %zu dialogs are already waiting; it is left out.\n",
                     entry.title.c_str(), kMaxQueued);
    reportedFull = true;
}

void StoryDialogGUIManager::Clear()
{
    entries.clear();
}

void StoryDialogGUIManager::RemoveFront()
{
    if (!entries.empty())
        entries.erase(entries.begin());
}

void StoryDialogGUIManager::FinishFrame(bool leftReleased, uint32_t clockMillis)
{
    if (entries.empty())
        return;
    if (leftReleased)
        RemoveFront();
    // Unsigned, so a clock that wrapped since the last frame still counts forward.
    const uint32_t elapsed = std::min(clockMillis - lastDrawMillis, kMaxFrameMillis);
    if (!entries.empty()) {
        StoryDialogEntry& front = entries.front();
        front.shownMillis += elapsed;
        if (front.shownMillis > kShowMillis)
            RemoveFront();
    }
    lastDrawMillis = clockMillis;
}
