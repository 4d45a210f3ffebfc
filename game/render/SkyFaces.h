#pragma once
// The sky box's picture in the form it is drawn from: the six faces of the
// cube, cut from their cells of the sky image's 4 x 3 cross and laid 3 x 2,
// half the pixels of the cross (the other six cells are empty). A sky image
// is decoded once: its faces are kept beside it, compressed, as
// "data/graphics/<name>.skyfaces", which later loads read while it is newer
// than the image. Reading either goes a band of rows at a time, so a caller
// can spread the work over frames; a band takes tens of milliseconds.
//
// The file: "QELSKYF1", then face width, face height and channels (3 or 4)
// as little-endian int32, the byte count of the deflated pixels as a
// little-endian uint32, and the pixels: the faces picture's rows from the
// top, in those channels, deflated (zlib). A file that does not read whole
// is passed over and made again.

#include "engine/base/QelPixelImage.h"
#include "engine/base/QelPngRows.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The cell of each face in the sky image's cross, in the sky box's face order
// (y+, y-, x+, x-, z-, z+); face i lies at column i % 3, row i / 3 of the
// faces picture.
struct SkyCrossCell {
    int column, row;
};
inline constexpr SkyCrossCell kSkyCrossCells[6] = {{1, 1}, {3, 1}, {2, 1}, {0, 1}, {1, 0}, {1, 2}};
inline constexpr int kSkyCrossColumns = 4;
inline constexpr int kSkyCrossRows = 3;
inline constexpr int kSkyFacesColumns = 3;
inline constexpr int kSkyFacesRows = 2;

class SkyFacesLoader {
public:
    static constexpr const char* kFileExtension = ".skyfaces";
    // Rows of the sky image, or of the faces file, a step reads.
    static constexpr int kRowsPerStep = 192;

    SkyFacesLoader();
    ~SkyFacesLoader();
    SkyFacesLoader(const SkyFacesLoader&) = delete;
    SkyFacesLoader& operator=(const SkyFacesLoader&) = delete;

    // Starts on the sky of that name (a bitmap name below data/graphics):
    // only finds its image, so a start screen is not kept waiting. False,
    // with a log line, when no image of the name exists.
    bool Begin(const std::string& name);
    // One step of the work: the first opens the faces file (or the image),
    // each after it reads a band. True once it is over: the faces are ready,
    // or the sky turned out unreadable (Failed, with a log line).
    bool Step();
    bool Failed() const { return stage_ == Stage::Failed; }
    // Where the faces of the sky are kept; nothing for a name outside the
    // data folder.
    static std::string FacesPath(const std::string& name);

    // The faces picture, once Step has answered true without failing.
    QelPixelImage& Faces() { return faces_; }

private:
    enum class Stage { Idle, Opening, ReadingFaces, DecodingImage, Done, Failed };
    struct Inflater;

    bool OpenFacesFile();
    void StartDecoding();
    bool StepFaces();
    bool StepImage();
    bool DecodeWholeImage();
    bool SizeFaces(int imageWidth, int imageHeight);
    void CutRows(const uint8_t* rows, size_t stride, int firstRow, int count);
    void SaveFaces() const;
    bool Fail(const std::string& why);

    Stage stage_ = Stage::Idle;
    std::string name_;
    std::string imagePath_;  // a game path, "data/graphics/..."
    QelPngRows png_;
    std::unique_ptr<Inflater> inflater_;
    int facesRowsRead_ = 0;
    int faceWidth_ = 0, faceHeight_ = 0;
    std::vector<uint8_t> band_;
    QelPixelImage faces_;
};
