#include "game/guimodel/RetainedGUIManager.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/guimodel/ScriptHotKeyService.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<RetainedGUIWidget>& SearchedChildren(RetainedGUIWidget& record)
{
    return record.building ? record.backgroundList : record.visibleList;
}

// FindByTag, also telling how deep the widget lies (1: a child of the record).
RetainedGUIWidget* FindWithDepth(RetainedGUIWidget& record, const std::string& tag, int recordDepth, int& depth)
{
    for (RetainedGUIWidget& child : SearchedChildren(record)) {
        if (child.tag == tag) {
            depth = recordDepth + 1;
            return &child;
        }
        if (RetainedGUIWidget* below = FindWithDepth(child, tag, recordDepth + 1, depth))
            return below;
    }
    return nullptr;
}

// Levels a record fills, itself included.
int Height(const RetainedGUIWidget& record)
{
    int below = 0;
    for (const auto* list : {&record.visibleList, &record.backgroundList})
        for (const RetainedGUIWidget& child : *list)
            below = std::max(below, Height(child));
    return below + 1;
}

void DumpList(const std::vector<RetainedGUIWidget>& list, bool visibleList, const std::string& indent,
              std::string& out)
{
    for (const RetainedGUIWidget& widget : list) {
        out += indent;
        if (!widget.parentTag.empty())
            out += widget.parentTag + ", ";
        out += widget.tag + ", " + widget.text + ", " + widget.data + "\n";
        DumpList(visibleList ? widget.visibleList : widget.backgroundList, visibleList, indent + "- ", out);
    }
}

}  // namespace

RetainedGUIWidget* RetainedGUIManager::FindByTag(RetainedGUIWidget& record, const std::string& tag)
{
    int depth = 0;
    return FindWithDepth(record, tag, 0, depth);
}

bool RetainedGUIManager::AddWidget(RetainedGUIWidget record)
{
    if (!record.NumbersFit()) {
        Report(reportedBadNumbers, "Retained GUI: widget \"%s\" has a number that is no number or no screen "
               "position; it is left out.\n", record.tag);
        return false;
    }
    if (!record.parentTag.empty()) {
        int depth = 0;
        RetainedGUIWidget* parent = FindWithDepth(root, record.parentTag, 0, depth);
        if (!parent)
            Append(root.visibleList, 1, std::move(record));
        else
            Append(parent->building ? parent->backgroundList : parent->visibleList, depth + 1, std::move(record));
        return false;
    }
    if (root.building) {
        Append(root.backgroundList, 1, std::move(record));
        return false;
    }
    int depth = 0;
    RetainedGUIWidget* same = FindWithDepth(root, record.tag, 0, depth);
    if (!same || depth + Height(record) - 1 > kMaxDepth)
        return false;
    *same = std::move(record);
    return true;
}

// listDepth: how deep the records of the list lie (1: top level).
void RetainedGUIManager::Append(std::vector<RetainedGUIWidget>& list, int listDepth, RetainedGUIWidget&& record)
{
    if (listDepth + Height(record) - 1 <= kMaxDepth) {
        list.push_back(std::move(record));
        return;
    }
    Report(reportedTooDeep, "Retained GUI: widget \"%s\" would nest deeper than the limit; it is left out.\n",
           record.tag);
}

// The first widget of each fault is reported; the rest are left out quietly.
void RetainedGUIManager::Report(bool& reported, const char* format, const std::string& tag)
{
    if (!reported)
        std::fprintf(stderr, format, tag.c_str());
    reported = true;
}

void RetainedGUIManager::SetBuilding(bool clear, const std::string& tag)
{
    RetainedGUIWidget* top = tag.empty() ? &root : FindByTag(tag);
    if (!top)
        return;
    if (clear && tag.empty())
        hotKeys.clear();
    CommitTree(*top, clear);
}

void RetainedGUIManager::CommitTree(RetainedGUIWidget& record, bool building)
{
    if (record.building == building)
        return;
    if (building) {
        record.backgroundList.clear();
        for (RetainedGUIWidget& child : record.visibleList)
            CommitTree(child, true);
    } else {
        // The built children take the place of the shown ones, and the
        // background lists are left empty: kept as copies, as they once
        // were, they doubled the tree with every level of nesting at each
        // complete.
        for (RetainedGUIWidget& child : record.backgroundList)
            CommitTree(child, false);
        record.visibleList = std::move(record.backgroundList);
        record.backgroundList.clear();
    }
    record.building = building;
}

void RetainedGUIManager::SetHidden(const std::string& tag, bool shown)
{
    if (RetainedGUIWidget* widget = FindByTag(tag))
        widget->shown = shown;
}

void RetainedGUIManager::AddHotKey(const std::string& context, const std::string& tag, const std::string& keyName,
                                   const std::string& description)
{
    const auto sameTag = [&tag](const ScriptHotKey& hotKey) { return hotKey.tag == tag; };
    if (std::any_of(hotKeys.begin(), hotKeys.end(), sameTag))
        return;
    const int32_t code = hotKeyService ? hotKeyService->KeyCodeOfTag(keyName) : 0;
    if (hotKeyService)
        hotKeyService->Register(context, tag, code, description);
    hotKeys.push_back({context, tag, keyName, code});
}

void RetainedGUIManager::RemoveHotKey(const std::string& tag)
{
    std::erase_if(hotKeys, [&tag](const ScriptHotKey& hotKey) { return hotKey.tag == tag; });
}

void RetainedGUIManager::Draw()
{
    if (!shipTarget && gGraphicsFactory)
        shipTarget = gGraphicsFactory->GetRenderTarget("RetainedGUIManager::Draw", kShipTargetSize, kShipTargetSize,
                                                       true);
}

std::string RetainedGUIManager::DumpTree(const std::string& leadingText, bool visibleList) const
{
    std::string out = leadingText + (visibleList ? "\nvisible list\n" : "\nbackground list\n");
    DumpList(visibleList ? root.visibleList : root.backgroundList, visibleList, "- ", out);
    return out;
}
