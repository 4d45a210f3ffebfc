#include "game/render/SkyFaces.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "engine/base/QelBitmapFiles.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"

namespace {

constexpr char kMagic[8] = {'Q', 'E', 'L', 'S', 'K', 'Y', 'F', '1'};
constexpr size_t kHeaderBytes = sizeof(kMagic) + 4 * sizeof(int32_t);
constexpr int kRgba = 4;
// Faces are kept without alpha when the sky has none, as skies are.
constexpr int kRgb = 3;
// The fastest deflate: the file is small either way (a star field is mostly
// black), and it is made while the player waits.
constexpr int kDeflateLevel = 1;

int32_t ReadInt32(const uint8_t* bytes)
{
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

void AppendInt32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

bool Opaque(const QelPixelImage& image)
{
    const uint8_t* p = image.Data();
    for (size_t i = 3; i < image.ByteCount(); i += kRgba)
        if (p[i] != 0xFF)
            return false;
    return true;
}

// The whole file in one read; nothing when it cannot be read.
std::vector<uint8_t> ReadWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (size <= 0)
        return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size))
        return {};
    return bytes;
}

// Written beside the file and renamed over it, so a reader never meets half
// a file and a failed write keeps the old one.
bool WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())) &&
            file.flush())
            if (std::rename(temporary.c_str(), path.c_str()) == 0)
                return true;
    }
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

// A faces file, read whole, and the stream that inflates the pixels in it.
struct SkyFacesLoader::Inflater {
    std::vector<uint8_t> file;
    z_stream stream{};
    int channels = 0;
    bool open = false;

    ~Inflater()
    {
        if (open)
            inflateEnd(&stream);
    }
};

SkyFacesLoader::SkyFacesLoader() = default;

SkyFacesLoader::~SkyFacesLoader() = default;

std::string SkyFacesLoader::FacesPath(const std::string& name)
{
    const std::optional<std::string> path = BitmapSavePath(name);
    return path ? *path + kFileExtension : std::string();
}

bool SkyFacesLoader::Begin(const std::string& name)
{
    name_ = name;
    inflater_.reset();
    facesRowsRead_ = 0;
    const std::optional<std::string> path = FindBitmapFile(name, false);
    if (!path) {
        std::fprintf(stderr, "Sky box %s: no image of that name below data/graphics.\n", name.c_str());
        stage_ = Stage::Failed;
        return false;
    }
    imagePath_ = *path;
    stage_ = Stage::Opening;
    return true;
}

bool SkyFacesLoader::Step()
{
    switch (stage_) {
    case Stage::Opening:
        if (!OpenFacesFile())
            StartDecoding();
        return false;
    case Stage::ReadingFaces: return StepFaces();
    case Stage::DecodingImage: return StepImage();
    case Stage::Idle: return Fail("nothing to load");
    case Stage::Done:
    case Stage::Failed: return true;
    }
    return true;
}

// Only a faces file newer than the image is read; one that does not hold
// what its header says is passed over (and made again from the image).
bool SkyFacesLoader::OpenFacesFile()
{
    const std::string path = FacesPath(name_);
    if (path.empty() || QelFileServices::Instance().CompareFileTimes(path, imagePath_) != 1)
        return false;
    std::vector<uint8_t> bytes = ReadWhole(qel::ResolveGamePath(path));
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0)
        return false;
    const uint8_t* header = bytes.data() + sizeof(kMagic);
    const int32_t width = ReadInt32(header), height = ReadInt32(header + 4), channels = ReadInt32(header + 8);
    const uint32_t deflatedBytes = static_cast<uint32_t>(ReadInt32(header + 12));
    if (width <= 0 || height <= 0 || width > QelPixelImage::kMaxSide / kSkyFacesColumns ||
        height > QelPixelImage::kMaxSide / kSkyFacesRows || (channels != kRgb && channels != kRgba) ||
        deflatedBytes != bytes.size() - kHeaderBytes)
        return false;
    auto inflater = std::make_unique<Inflater>();
    inflater->file = std::move(bytes);
    inflater->channels = channels;
    if (inflateInit(&inflater->stream) != Z_OK)
        return false;
    inflater->open = true;
    inflater->stream.next_in = inflater->file.data() + kHeaderBytes;
    inflater->stream.avail_in = static_cast<uInt>(deflatedBytes);
    inflater_ = std::move(inflater);
    faceWidth_ = width;
    faceHeight_ = height;
    faces_.Resize(width * kSkyFacesColumns, height * kSkyFacesRows);
    stage_ = Stage::ReadingFaces;
    return true;
}

// A PNG is decoded a band at a time; any other image (or an interlaced PNG)
// whole, in the next step.
void SkyFacesLoader::StartDecoding()
{
    inflater_.reset();
    stage_ = Stage::DecodingImage;
    std::string error;
    if (png_.Open(qel::ResolveGamePath(imagePath_), error))
        SizeFaces(png_.Width(), png_.Height());
}

bool SkyFacesLoader::StepFaces()
{
    Inflater& in = *inflater_;
    const int facesRows = faces_.Height();
    const int rows = std::min(kRowsPerStep, facesRows - facesRowsRead_);
    const size_t rowBytes = static_cast<size_t>(faces_.Width()) * in.channels;
    band_.resize(rowBytes * rows);
    in.stream.next_out = band_.data();
    in.stream.avail_out = static_cast<uInt>(band_.size());
    int result = inflate(&in.stream, Z_NO_FLUSH);
    bool sound = in.stream.avail_out == 0 && (result == Z_OK || result == Z_STREAM_END);
    if (sound && facesRowsRead_ + rows == facesRows && result != Z_STREAM_END) {
        // Every row is in: the stream must end here, with nothing left over.
        uint8_t spare = 0;
        in.stream.next_out = &spare;
        in.stream.avail_out = 1;
        result = inflate(&in.stream, Z_FINISH);
        sound = result == Z_STREAM_END && in.stream.avail_out == 1;
    }
    if (!sound) {
        std::fprintf(stderr, "Sky box %s: %s does not read whole; the faces are made again from the image.\n",
                     name_.c_str(), FacesPath(name_).c_str());
        StartDecoding();
        return false;
    }
    uint8_t* out = faces_.Data() + static_cast<size_t>(facesRowsRead_) * faces_.Width() * kRgba;
    const size_t pixels = static_cast<size_t>(faces_.Width()) * rows;
    for (size_t i = 0; i < pixels; ++i) {
        std::memcpy(out + i * kRgba, band_.data() + i * in.channels, static_cast<size_t>(in.channels));
        if (in.channels == kRgb)
            out[i * kRgba + 3] = 0xFF;
    }
    facesRowsRead_ += rows;
    if (facesRowsRead_ < facesRows)
        return false;
    inflater_.reset();
    stage_ = Stage::Done;
    return true;
}

bool SkyFacesLoader::StepImage()
{
    if (png_.Width() == 0)
        return DecodeWholeImage();
    band_.resize(static_cast<size_t>(png_.Width()) * kRgba * kRowsPerStep);
    const int first = png_.RowsRead();
    std::string error;
    const int rows = png_.ReadRows(kRowsPerStep, band_.data(), error);
    if (rows < 0)
        return Fail(error);
    CutRows(band_.data(), static_cast<size_t>(png_.Width()) * kRgba, first, rows);
    if (png_.RowsRead() < png_.Height())
        return false;
    SaveFaces();
    stage_ = Stage::Done;
    return true;
}

bool SkyFacesLoader::DecodeWholeImage()
{
    QelPixelImage image;
    std::string error;
    const std::string path = qel::ResolveGamePath(imagePath_);
    const bool loaded = IsRawBitmapPath(imagePath_) ? image.LoadRawFile(path, error) : image.LoadImageFile(path, error);
    if (!loaded)
        return Fail(error);
    if (!SizeFaces(image.Width(), image.Height()))
        return true;
    CutRows(image.Data(), static_cast<size_t>(image.Width()) * kRgba, 0, image.Height());
    SaveFaces();
    stage_ = Stage::Done;
    return true;
}

bool SkyFacesLoader::SizeFaces(int imageWidth, int imageHeight)
{
    faceWidth_ = imageWidth / kSkyCrossColumns;
    faceHeight_ = imageHeight / kSkyCrossRows;
    if (faceWidth_ < 1 || faceHeight_ < 1)
        return Fail(std::to_string(imageWidth) + " x " + std::to_string(imageHeight) +
                    " pixels are too few for the 4 x 3 cells of a sky");
    faces_.Resize(faceWidth_ * kSkyFacesColumns, faceHeight_ * kSkyFacesRows);
    return true;
}

// Rows of the cross (RGBA, stride bytes apart) into the faces whose cells they
// cross; rows below the cross's last full cell are left out.
void SkyFacesLoader::CutRows(const uint8_t* rows, size_t stride, int firstRow, int count)
{
    const size_t cellBytes = static_cast<size_t>(faceWidth_) * kRgba;
    const size_t facesRowBytes = static_cast<size_t>(faces_.Width()) * kRgba;
    for (int k = 0; k < count; ++k) {
        const int y = firstRow + k;
        const int crossRow = y / faceHeight_;
        if (crossRow >= kSkyCrossRows)
            break;
        const uint8_t* source = rows + static_cast<size_t>(k) * stride;
        for (int face = 0; face < 6; ++face) {
            if (kSkyCrossCells[face].row != crossRow)
                continue;
            const size_t facesRow = static_cast<size_t>((face / kSkyFacesColumns) * faceHeight_ + y % faceHeight_);
            std::memcpy(faces_.Data() + facesRow * facesRowBytes + (face % kSkyFacesColumns) * cellBytes,
                        source + kSkyCrossCells[face].column * cellBytes, cellBytes);
        }
    }
}

// Kept for the next start; a data folder that cannot take it only costs the
// next start the decoding again.
void SkyFacesLoader::SaveFaces() const
{
    const std::string path = FacesPath(name_);
    if (path.empty())
        return;
    const int channels = Opaque(faces_) ? kRgb : kRgba;
    std::vector<uint8_t> bytes(kMagic, kMagic + sizeof(kMagic));
    AppendInt32(bytes, static_cast<uint32_t>(faceWidth_));
    AppendInt32(bytes, static_cast<uint32_t>(faceHeight_));
    AppendInt32(bytes, static_cast<uint32_t>(channels));
    AppendInt32(bytes, 0);  // the deflated size, filled in below

    z_stream stream{};
    if (deflateInit(&stream, kDeflateLevel) != Z_OK)
        return;
    const size_t pixels = static_cast<size_t>(faces_.Width()) * faces_.Height();
    std::vector<uint8_t> packed(pixels * channels);
    for (size_t i = 0; i < pixels; ++i)
        std::memcpy(&packed[i * channels], faces_.Data() + i * kRgba, static_cast<size_t>(channels));
    const size_t start = bytes.size();
    bytes.resize(start + deflateBound(&stream, static_cast<uLong>(packed.size())));
    stream.next_in = packed.data();
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = bytes.data() + start;
    stream.avail_out = static_cast<uInt>(bytes.size() - start);
    const bool deflated = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    const size_t deflatedBytes = stream.total_out;
    deflateEnd(&stream);
    if (!deflated)
        return;
    bytes.resize(start + deflatedBytes);
    for (int i = 0; i < 4; ++i)
        bytes[start - 4 + i] = static_cast<uint8_t>(deflatedBytes >> (8 * i));
    if (!WriteWhole(qel::ResolveGamePath(path), bytes))
        std::fprintf(stderr, "Sky box %s: %s cannot be written; the next start decodes the image again.\n",
                     name_.c_str(), path.c_str());
}

bool SkyFacesLoader::Fail(const std::string& why)
{
    std::fprintf(stderr, "Sky box %s: %s; the sky is left out.\n", name_.c_str(), why.c_str());
    faces_ = QelPixelImage();
    stage_ = Stage::Failed;
    return true;
}
