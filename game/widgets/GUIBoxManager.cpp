#include "game/widgets/GUIBoxManager.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/ConsoleCatalogue.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/WidgetTable.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>

namespace {

// The files of this module: data/GUIBoxData.txt, the crew's layout;
// data/GUIBoxDefaults.txt, the layout the game ships for its stations; and
// data/GUIWidgetList.txt.
constexpr const char* kDataFolder = "data";
constexpr const char* kLayoutFile = "GUIBoxData";
constexpr const char* kDefaultLayoutFile = "GUIBoxDefaults";
constexpr const char* kWidgetListFile = "GUIWidgetList";
constexpr const char* kTextExtension = "txt";
constexpr const char* kWidgetListGap = "        ";
constexpr int kEdgesPerBox = 8;

struct WidgetRegistry {
    std::map<std::string, WidgetDrawFn> draws;
    std::map<std::string, std::string> documentation;
};

// Filled from the console catalogue and the widget table before its first
// use, so every widget is there whichever code asks first and no
// registration can be left behind by the linker.
WidgetRegistry& Registry()
{
    static WidgetRegistry registry;
    static const bool filled = [] {
        for (const ConsoleWidgetDraw& row : ConsoleWidgetDraws())
            registry.draws[row.name] = row.draw;
        for (const ConsoleWidgetName& widget : ConsoleWidgetNames())
            registry.documentation[widget.name] = widget.documentation;
        return true;
    }();
    (void)filled;
    return registry;
}

GUIBoxManager::BoxMap& BoxStore()
{
    static GUIBoxManager::BoxMap boxes;
    return boxes;
}

GUIBox& BoxSlot(const std::string& screenName, const std::string& widgetName)
{
    GUIBox& box = BoxStore()[{screenName, widgetName}];
    box.screenName = screenName;
    box.widgetName = widgetName;
    return box;
}

int32_t WindowWidth()
{
    return gGraphicsFactory ? gGraphicsFactory->GetWidth() : 0;
}

int32_t WindowHeight()
{
    return gGraphicsFactory ? gGraphicsFactory->GetHeight() : 0;
}

// Percent of a window extent in pixels, truncated toward zero.
int32_t PercentToPixels(int32_t extent, int32_t percent)
{
    return static_cast<int32_t>(std::trunc(static_cast<float>(extent * percent) / 100.0f));
}

int32_t ClampEdge(int64_t edge)
{
    return static_cast<int32_t>(std::clamp<int64_t>(edge, -GUIBoxManager::kMaxPercent, GUIBoxManager::kMaxPercent));
}

std::string WithoutTrailingSpace(std::string line)
{
    line.erase(line.find_last_not_of(" \t\r\n") + 1);
    return line;
}

bool HoldsLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

// One record of the layout file; false when no line is left for its screen
// name. A record cut short keeps empty names and zero edges.
bool ReadBoxRecord(QelFileIO& file, GUIBox& box)
{
    std::string line;
    if (!file.ReadLine(line))
        return false;
    box.screenName = WithoutTrailingSpace(line);
    line.clear();
    file.ReadLine(line);
    box.widgetName = WithoutTrailingSpace(line);
    int32_t edges[kEdgesPerBox] = {};
    for (int32_t& edge : edges) {
        line.clear();
        if (file.ReadLine(line))
            edge = ClampEdge(LeadingInt(line));
    }
    box.rect[0] = {edges[0], edges[1], edges[2], edges[3]};
    box.rect[1] = {edges[4], edges[5], edges[6], edges[7]};
    return true;
}

std::string BoxRecordText(const GUIBox& box)
{
    std::string text = box.screenName + "\n" + box.widgetName + "\n";
    for (const IntRect& r : box.rect)
        for (int32_t edge : {r.left, r.top, r.right, r.bottom})
            text += std::to_string(edge) + "\n";
    return text;
}

// Files the boxes of a layout file over those already read. A record that
// names neither screen nor widget (blank lines at the end of a hand-edited
// file) is no box; a file that cannot be read adds nothing.
void ReadLayout(const char* fileName)
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("GUIBoxManager::Load");
    if (!file->Open(kDataFolder, fileName, kTextExtension, true, false, true, false))
        return;
    GUIBoxManager::BoxMap& boxes = BoxStore();
    GUIBox box;
    while (ReadBoxRecord(*file, box))
        if (!box.screenName.empty() || !box.widgetName.empty())
            boxes[{box.screenName, box.widgetName}] = box;
    file->Close();
}

int32_t EdgeFromFloat(float edge)
{
    if (std::isnan(edge))
        return 0;
    const float limit = static_cast<float>(GUIBoxManager::kMaxPercent);
    return static_cast<int32_t>(std::trunc(std::clamp(edge, -limit, limit)));
}

// Whether a widget of the list has no box on the screen yet.
bool BringsNewWidget(const std::string& screenName, const std::vector<std::string>& widgetNames)
{
    return std::any_of(widgetNames.begin(), widgetNames.end(), [&](const std::string& widgetName) {
        return GUIBoxManager::FindBox(screenName, widgetName) == nullptr;
    });
}

// The list's boxes that nobody arranged to their cells of the list's grid.
void LayOutAgain(const std::string& screenName, const std::vector<std::string>& widgetNames)
{
    for (size_t i = 0; i < widgetNames.size(); ++i) {
        GUIBox* box = GUIBoxManager::FindBox(screenName, widgetNames[i]);
        if (box && !box->arranged) {
            const IntRect cell = GUIBoxManager::DefaultBoxRect(i, widgetNames.size());
            box->rect = {cell, cell};
        }
    }
}

}  // namespace

void GUIBoxManager::RegisterWidget(const std::string& widgetName, WidgetDrawFn draw, const std::string& documentation)
{
    WidgetRegistry& registry = Registry();
    registry.draws[widgetName] = draw;
    registry.documentation[widgetName] = documentation;
}

WidgetDrawFn GUIBoxManager::FindWidget(const std::string& widgetName)
{
    const auto& draws = Registry().draws;
    const auto found = draws.find(widgetName);
    return found == draws.end() ? nullptr : found->second;
}

const std::map<std::string, std::string>& GUIBoxManager::WidgetDocumentation()
{
    return Registry().documentation;
}

void GUIBoxManager::DrawBox(ConsoleState& console, const std::string& screenName, const std::string& widgetName,
                            const IntRect& defaultRect)
{
    GUIBox* box = FindBox(screenName, widgetName);
    if (!box) {
        box = &BoxSlot(screenName, widgetName);
        box->rect = {defaultRect, defaultRect};
    }
    const WidgetDrawFn draw = FindWidget(widgetName);
    if (!draw)
        return;
    IntRect pixels = BoxRectToPixels(*box, console.boxEdit.layoutIndex);
    if (pixels.right < pixels.left)
        std::swap(pixels.left, pixels.right);
    if (pixels.bottom < pixels.top)
        std::swap(pixels.top, pixels.bottom);
    console.currentWidgetName = box->widgetName;
    draw(console, pixels, box->widgetName);
}

void GUIBoxManager::DrawConsoleBoxes(ConsoleState& console, const std::string& screenName,
                                     const std::vector<std::string>& widgetNames, const std::string& onlyWidget)
{
    if (onlyWidget.empty() && BringsNewWidget(screenName, widgetNames))
        LayOutAgain(screenName, widgetNames);
    for (size_t i = 0; i < widgetNames.size(); ++i)
        if (onlyWidget.empty() || widgetNames[i] == onlyWidget)
            DrawBox(console, screenName, widgetNames[i], DefaultBoxRect(i, widgetNames.size()));
}

// Columns are rounded up: with fewer, the last row would lie below the grid
// and its boxes outside the window.
IntRect GUIBoxManager::DefaultBoxRect(size_t index, size_t count)
{
    if (count == 0)
        return {kGridInset, kGridInset, kGridInset + kGridSpan, kGridInset + kGridSpan};
    const size_t rows = std::max<size_t>(1, static_cast<size_t>(std::sqrt(static_cast<double>(count))));
    const size_t columns = (count + rows - 1) / rows;
    const int32_t cellWidth = kGridSpan / static_cast<int32_t>(columns);
    const int32_t cellHeight = kGridSpan / static_cast<int32_t>(rows);
    const int32_t column = static_cast<int32_t>(index % columns);
    const int32_t row = static_cast<int32_t>(index / columns);
    return {kGridInset + column * cellWidth, kGridInset + row * cellHeight, kGridInset + (column + 1) * cellWidth,
            kGridInset + (row + 1) * cellHeight};
}

void GUIBoxManager::SetBoxRects(const std::string& screenName, const std::string& widgetName,
                                const std::array<float, 8>& edges)
{
    GUIBox& box = BoxSlot(screenName, widgetName);
    for (size_t layout = 0; layout < box.rect.size(); ++layout) {
        const float* e = &edges[layout * 4];
        box.rect[layout] = {EdgeFromFloat(e[0]), EdgeFromFloat(e[1]), EdgeFromFloat(e[2]), EdgeFromFloat(e[3])};
    }
    box.arranged = true;
}

IntRect GUIBoxManager::BoxRectToPixels(const GUIBox& box, int32_t layoutIndex)
{
    const IntRect& r = box.rect[layoutIndex == 1 ? 1 : 0];
    const int32_t width = WindowWidth();
    const int32_t height = WindowHeight();
    return {PercentToPixels(width, r.left), PercentToPixels(height, r.top), PercentToPixels(width, r.right),
            PercentToPixels(height, r.bottom)};
}

GUIBox* GUIBoxManager::FindBox(const std::string& screenName, const std::string& widgetName)
{
    auto& boxes = BoxStore();
    const auto found = boxes.find({screenName, widgetName});
    return found == boxes.end() ? nullptr : &found->second;
}

const GUIBoxManager::BoxMap& GUIBoxManager::Boxes()
{
    return BoxStore();
}

bool GUIBoxManager::IsEditKeyHeld()
{
    return IsWidgetEditKeyHeld();
}

void GUIBoxManager::UpdateLayoutIndex(GUIBoxEditState& state)
{
    const int32_t width = WindowWidth();
    if (width == state.lastWidth)
        return;
    state.layoutIndex = (state.lastWidth >= 1 && width > state.lastWidth) ? 1 : 0;
    state.lastWidth = width;
}

void GUIBoxManager::SaveWidgetList()
{
    std::string text;
    for (const auto& [name, documentation] : WidgetDocumentation())
        text += name + kWidgetListGap + documentation + "\n";
    QelFileIO* file = QelFileServices::Instance().GetFileIO("GUIBoxManager::Save");
    if (file->Open(kDataFolder, kWidgetListFile, kTextExtension, false, true, false, false)) {
        file->WriteString(text);
        file->Close();
    }
}

// The shipped layout first, then the crew's over it: a box the crew has
// placed stands where they put it, every other where the game puts it.
void GUIBoxManager::Load(GUIBoxEditState& state)
{
    // The edit mode must not hold on to a box that goes.
    state.grabbedBox = nullptr;
    state.dragging = false;
    BoxStore().clear();
    ReadLayout(kDefaultLayoutFile);
    ReadLayout(kLayoutFile);
}

void GUIBoxManager::Save()
{
    std::string text;
    for (const auto& [key, box] : BoxStore())
        if (!HoldsLineBreak(box.screenName) && !HoldsLineBreak(box.widgetName))
            text += BoxRecordText(box);
    QelFileIO* file = QelFileServices::Instance().GetFileIO("GUIBoxManager::Save");
    if (file->Open(kDataFolder, kLayoutFile, kTextExtension, false, true, false, false)) {
        file->WriteString(text);
        file->Close();
    }
}
