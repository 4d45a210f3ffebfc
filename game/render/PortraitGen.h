#pragma once
// Character portraits, composed from layered face-part bitmaps. A face
// description string (FaceDescription.h) lists the parts back to front; each
// names a part, a colour that tints it, a 512-pixel cell of the part's sheet
// and an offset of that cell's window. data/graphics/allFaceFiles.txt names
// each part's sheet, one "part bitmap" pair a line; the sheets lay their
// cells out on a 514-pixel pitch, a gutter pixel on every side.
//
// Setup reads the list and loads the sheets once (at start-up), or ReadList
// reads the list and the sheets load one a step (LoadNextSheet) or all when
// the first face is drawn; DrawFace draws a portrait into a square of the 2D
// layer, parsing each description only the first time it is drawn. Whatever a description names that is not
// there (a part without a sheet, a cell beyond its sheet) is left out; each
// missing part is reported once. Main thread only.
//
// Layering: the engine batches 2D drawing by texture within a layer, and a
// quad joins the first batch of its sheet and layer wherever that batch
// stands. Left alone, a portrait using a sheet that an earlier portrait of
// the frame did not (a second face with long hair behind it) would draw that
// part over the parts it belongs under. So before each face every sheet
// begins its batch at the face's layer, empty, in the part list's order: the
// sheets layer back to front as the list orders them, and parts of one
// sheet in the order the description names them.

#include "engine/base/Qel2dBitmap.h"
#include "game/render/FaceDescription.h"

#include <glm/vec4.hpp>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// One part's sheet.
struct FacePartBitmap {
    std::string bitmapName;          // below data/graphics, without ".png"
    int32_t cellWidth = 0;           // the pitch of the sheet's cells, pixels
    int32_t cellHeight = 0;
    Qel2dBitmap* bitmap = nullptr;   // held by the graphics service; null when it did not load
    bool tried = false;              // its loading was tried
};

class PortraitGen {
public:
    // Cells are 512 pixels square, 514 apart.
    static constexpr int32_t kCellPitch = 514;
    // Descriptions kept parsed. Faces come from a mission's few characters;
    // a script that made a new description every frame would otherwise grow
    // the cache without end, so a full cache starts again.
    static constexpr size_t kMaxCachedFaces = 1024;

    virtual ~PortraitGen() = default;

    // Reads the part list and loads every sheet through the graphics
    // service; a sheet that does not load is reported and its part left out.
    void Setup();
    // The part list alone; the sheets wait.
    void ReadList();
    // Loads one sheet of the list not yet tried; false when none is left.
    bool LoadNextSheet();

    // Draws the portrait with its top-left corner at (x, y), size pixels
    // square, every part's colour multiplied by the tint, on the layer.
    void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint, int layer);

    // The drawing step: the parts in order, later ones over earlier ones.
    void DrawParts(const std::vector<FacePart>& parts, int x, int y, float size, const glm::vec4& tint, int layer);

    const std::map<std::string, FacePartBitmap>& PartBitmaps() const { return partBitmaps; }
    size_t CachedFaceCount() const { return cache.size(); }

private:
    void ReadPartList();
    void LoadSheet(FacePartBitmap& rec, const std::string& partName);
    void ListSheetsInOrder();
    void BeginSheetBatches(int layer);
    const FacePartBitmap* Sheet(const std::string& partName);

    std::map<std::string, FacePartBitmap> partBitmaps;  // by part name
    std::vector<std::string> listOrder;                 // part names as the list orders them
    std::vector<Qel2dBitmap*> sheetsInOrder;            // each loaded sheet once, in list order
    std::map<uint64_t, std::vector<FacePart>> cache;    // by the description's name hash
    std::set<std::string> reportedParts;                // unknown parts already reported
};
