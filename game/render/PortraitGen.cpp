#include "game/render/PortraitGen.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelNetworkMessage.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cstdio>

namespace {

// A mission mistyping part names keeps its first few reports, not a flood.
constexpr size_t kMaxReportedParts = 32;
// What a batch is begun with: a quad of no area and no colour.
constexpr float kNothing[4] = {0.0f, 0.0f, 0.0f, 0.0f};

// The cell's whole 512-pixel inside, moved by the part's offset.
void SetCellSource(Qel2dBitmap& sheet, const FacePartBitmap& rec, const FacePart& part)
{
    const float left = static_cast<float>(part.column * rec.cellWidth + part.offsetX + 1);
    const float top = static_cast<float>(part.row * rec.cellHeight + part.offsetY + 1);
    const float right = static_cast<float>((part.column + 1) * rec.cellWidth + part.offsetX - 1);
    const float bottom = static_cast<float>((part.row + 1) * rec.cellHeight + part.offsetY - 1);
    sheet.SetSourceRect(left, top, right, bottom);
}

bool CellIsOnSheet(Qel2dBitmap& sheet, const FacePartBitmap& rec, const FacePart& part)
{
    return part.column >= 0 && part.row >= 0 && (part.column + 1) * rec.cellWidth <= sheet.GetWidth() &&
           (part.row + 1) * rec.cellHeight <= sheet.GetHeight();
}

}  // namespace

void PortraitGen::Setup()
{
    ReadList();
    while (LoadNextSheet()) {
    }
}

void PortraitGen::ReadList()
{
    ReadPartList();
    sheetsInOrder.clear();
}

bool PortraitGen::LoadNextSheet()
{
    for (auto& [name, rec] : partBitmaps)
        if (!rec.tried) {
            LoadSheet(rec, name);
            ListSheetsInOrder();
            return true;
        }
    return false;
}

// "part bitmap" a line, words split at spaces, back to front; a later line
// of a part replaces the earlier one and takes over its place in the order.
// Lines of fewer words are passed over.
void PortraitGen::ReadPartList()
{
    partBitmaps.clear();
    listOrder.clear();
    QelFileIO* file = QelFileServices::Instance().GetFileIO("PortraitGen::Setup all");
    if (!file->Open("data/graphics", "allFaceFiles", "txt", true, false, false, false)) {
        std::fprintf(stderr, "Portraits: data/graphics/allFaceFiles.txt cannot be read; faces draw nothing.\n");
        return;
    }
    std::string line;
    std::vector<std::string> words;
    while (file->ReadLine(line)) {
        if (SplitString(line, " ", words) < 2)
            continue;
        std::erase(listOrder, words[0]);
        listOrder.push_back(words[0]);
        partBitmaps[words[0]] = {words[1], kCellPitch, kCellPitch, nullptr};
    }
    file->Close();
}

void PortraitGen::LoadSheet(FacePartBitmap& rec, const std::string& partName)
{
    rec.tried = true;
    rec.bitmap = gGraphicsFactory ? gGraphicsFactory->Load2DBitmap(rec.bitmapName) : nullptr;
    if (!rec.bitmap) {
        std::fprintf(stderr, "Portraits: face part \"%s\": bitmap \"%s\" not found; faces leave it out.\n",
                     partName.c_str(), rec.bitmapName.c_str());
        return;
    }
    // Portraits are drawn smaller than their cells: sample smoothly.
    rec.bitmap->SetDrawProcess(nullptr, true, false);
}

void PortraitGen::ListSheetsInOrder()
{
    sheetsInOrder.clear();
    for (const std::string& name : listOrder) {
        Qel2dBitmap* sheet = partBitmaps[name].bitmap;
        if (sheet && std::find(sheetsInOrder.begin(), sheetsInOrder.end(), sheet) == sheetsInOrder.end())
            sheetsInOrder.push_back(sheet);
    }
}

void PortraitGen::BeginSheetBatches(int layer)
{
    for (Qel2dBitmap* sheet : sheetsInOrder) {
        sheet->SetDestRect(0.0f, 0.0f, 0.0f, 0.0f);
        sheet->DrawQuad(kNothing, layer, false);
    }
}

void PortraitGen::DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint,
                           int layer)
{
    while (LoadNextSheet()) {
    }
    const uint64_t key = HashMessageName(description);
    auto found = cache.find(key);
    if (found == cache.end()) {
        if (cache.size() >= kMaxCachedFaces)
            cache.clear();
        found = cache.emplace(key, ParseFaceDescription(description)).first;
    }
    BeginSheetBatches(layer);
    DrawParts(found->second, x, y, size, tint, layer);
}

void PortraitGen::DrawParts(const std::vector<FacePart>& parts, int x, int y, float size, const glm::vec4& tint,
                            int layer)
{
    const float left = static_cast<float>(x);
    const float top = static_cast<float>(y);
    for (const FacePart& part : parts) {
        const FacePartBitmap* rec = part.name.empty() ? nullptr : Sheet(part.name);
        if (!rec || !rec->bitmap || !CellIsOnSheet(*rec->bitmap, *rec, part))
            continue;
        const glm::vec4 colour = part.colour * tint;
        const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
        SetCellSource(*rec->bitmap, *rec, part);
        rec->bitmap->SetDestRect(left, top, left + size, top + size);
        rec->bitmap->DrawQuad(rgba, layer, false);
    }
}

const FacePartBitmap* PortraitGen::Sheet(const std::string& partName)
{
    const auto found = partBitmaps.find(partName);
    if (found != partBitmaps.end())
        return &found->second;
    if (reportedParts.size() < kMaxReportedParts && reportedParts.insert(partName).second)
        std::fprintf(stderr, "Portraits: no face part \"%s\" in data/graphics/allFaceFiles.txt; faces leave it out.\n",
                     partName.c_str());
    return nullptr;
}
