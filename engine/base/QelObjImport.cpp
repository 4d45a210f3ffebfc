#include "engine/base/QelObjImport.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cmath>
#include <cstdio>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFaceTriangulation.h"
#include "engine/base/QelObjLineTools.h"

using namespace qelobj;

namespace {

// Progress is shown every this many lines while a large file reads.
constexpr int kProgressLines = 1000;

// How a face corner gives its indices: "p", "p/t", "p/t/n" or "p//n".
enum class CornerKind { Position, PositionTexture, PositionTextureNormal, PositionNormal };

struct Corner {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
    bool hasNormal = false;
};

bool Finite(const Corner& c)
{
    return std::isfinite(c.position.x) && std::isfinite(c.position.y) && std::isfinite(c.position.z) &&
           std::isfinite(c.normal.x) && std::isfinite(c.normal.y) && std::isfinite(c.normal.z) &&
           std::isfinite(c.uv.x) && std::isfinite(c.uv.y);
}

// 1-based from the front, or negative from the back (-1 the latest).
template <typename Value>
const Value& Indexed(const std::vector<Value>& list, const std::string& piece, const char* what)
{
    const int32_t index = ReadInt(piece);
    const int64_t size = static_cast<int64_t>(list.size());
    const int64_t at = index > 0 ? index - 1 : size + index;
    if (index == 0 || at < 0 || at >= size)
        throw LineError(std::string(what) + " index " + piece + " names none of the " + std::to_string(size) +
                        " read so far");
    return list[static_cast<size_t>(at)];
}

class ObjReader {
public:
    ObjReader(QelObjImport& result, const std::string& path) : result_(result), path_(path) {}

    void ReadLine(const std::string& line);
    void Finish();

private:
    void StartGroup(const std::string& word, const std::string& rest);
    void ReadFace(const std::string& rest);
    bool ReadCorner(const std::string& text, CornerKind& kind, bool first, Corner& corner) const;
    void UseMaterial(const std::string& rest);
    void ReadLibrary(const std::string& rest);
    void FinishGroup(const std::string& name);
    void AssignMaterials();
    void ShowProgress() const;

    QelObjImport& result_;
    const std::string& path_;
    std::vector<glm::vec3> positions_;
    std::vector<glm::vec2> texCoords_;
    std::vector<glm::vec3> normals_;
    QelObjGroup current_;
    bool sawGroupLine_ = false;
    std::vector<std::string> materialNames_;  // in the order of the "usemtl" lines
    int progress_ = 0;
};

void ObjReader::ReadLine(const std::string& line)
{
    progress_ = (progress_ + 1) % kProgressLines;
    if (progress_ == 1)
        ShowProgress();
    const std::string word = FirstWord(line);
    const std::string rest = RestOfLine(line);
    if (word == "o" || word == "g" || (!line.empty() && line[0] == 'g')) {
        StartGroup(word, rest);
    } else if (word == "v" || word == "vn") {
        const std::vector<std::string> pieces = Split(rest, " ");
        if (pieces.size() < 3)
            throw LineError("a " + word + " line needs three numbers");
        const glm::vec3 value(ReadFloat(pieces[0]), ReadFloat(pieces[1]), ReadFloat(pieces[2]));
        (word == "v" ? positions_ : normals_).push_back(value);
    } else if (word == "vt") {
        const std::vector<std::string> pieces = Split(rest, " ");
        if (pieces.size() < 2)
            throw LineError("a vt line needs two numbers");
        texCoords_.emplace_back(ReadFloat(pieces[0]), ReadFloat(pieces[1]));
    } else if (word == "f") {
        ReadFace(rest);
    } else if (word == "usemtl") {
        UseMaterial(rest);
    } else if (word == "mtllib") {
        ReadLibrary(rest);
    }
}

void ObjReader::ShowProgress() const
{
    if (current_.name.empty())
        return;
    std::printf("\r- %s\t| vertices > %zu\t| texcoords > %zu\t| normals > %zu\t| triangles > %zu",
                current_.name.c_str(), positions_.size(), texCoords_.size(), normals_.size(),
                current_.vertices.size() / 3);
    if (!materialNames_.empty())
        std::printf("\t| material: %s", materialNames_.back().c_str());
}

void ObjReader::StartGroup(const std::string& word, const std::string& rest)
{
    const bool named = word == "o" || word == "g";
    if (!sawGroupLine_) {
        current_.name = named ? rest : "unnamed";
        sawGroupLine_ = true;
    } else if (!current_.vertices.empty() && !current_.indices.empty()) {
        FinishGroup(current_.name);
        current_.name = rest;
    } else {
        current_.name = named ? rest : "unnamed";
    }
    std::printf("\n");
    progress_ = 0;
}

bool ObjReader::ReadCorner(const std::string& text, CornerKind& kind, bool first, Corner& corner) const
{
    const std::vector<std::string> pieces = Split(text, "/");
    if (pieces.size() == 1)
        kind = CornerKind::Position;
    else if (pieces.size() == 2)
        kind = CornerKind::PositionTexture;
    else if (pieces.size() == 3)
        kind = pieces[1].empty() ? CornerKind::PositionNormal : CornerKind::PositionTextureNormal;
    else if (first)
        return false;  // more than three pieces read as the previous corner; the first has none
    corner.position = Indexed(positions_, pieces[0], "position");
    if (kind == CornerKind::PositionTexture || kind == CornerKind::PositionTextureNormal)
        corner.uv = Indexed(texCoords_, pieces[1], "texture coordinate");
    if (kind == CornerKind::PositionTextureNormal || kind == CornerKind::PositionNormal) {
        corner.normal = Indexed(normals_, pieces[2], "normal");
        corner.hasNormal = true;
    }
    return true;
}

void ObjReader::ReadFace(const std::string& rest)
{
    std::vector<Corner> corners;
    CornerKind kind = CornerKind::Position;
    for (const std::string& text : Split(rest, " ")) {
        Corner corner;
        if (!text.empty() && ReadCorner(text, kind, corners.empty(), corner))
            corners.push_back(corner);
    }
    if (corners.size() < 3 || corners.size() > QelObjImport::kMaxFaceCorners) {
        ++result_.skippedFaces;
        return;
    }
    bool allNormals = true;
    for (const Corner& c : corners)
        allNormals = allNormals && c.hasNormal;
    if (!allNormals) {
        const glm::vec3 n = glm::cross(corners[0].position - corners[1].position,
                                       corners[2].position - corners[1].position);
        for (Corner& c : corners)
            c.normal = n;
    }
    std::vector<glm::vec3> outline;
    for (const Corner& c : corners) {
        if (!Finite(c)) {
            ++result_.skippedFaces;
            return;
        }
        outline.push_back(c.position);
    }
    const uint32_t groupBase = static_cast<uint32_t>(current_.vertices.size());
    const uint32_t allBase = static_cast<uint32_t>(result_.allVertices.size());
    for (const Corner& c : corners) {
        const QelObjVertex vertex{{c.position.x, c.position.y, c.position.z},
                                  {c.normal.x, c.normal.y, c.normal.z},
                                  c.uv.x,
                                  c.uv.y};
        current_.vertices.push_back(vertex);
        result_.allVertices.push_back(vertex);
    }
    for (uint32_t k : TriangulateFace(outline)) {
        current_.indices.push_back(groupBase + k);
        result_.allIndices.push_back(allBase + k);
    }
}

// Faces before a change of material finish as a part of their own, "_2"
// after the group's name; the faces after it go on under the group's name.
void ObjReader::UseMaterial(const std::string& rest)
{
    materialNames_.push_back(rest);
    if (!current_.vertices.empty() && !current_.indices.empty()) {
        const std::string name = current_.name;
        FinishGroup(name + "_2");
        current_.name = name;
    }
    progress_ = 0;
}

// A library is looked for beside the OBJ file; one that cannot be used costs
// the materials, not the mesh.
void ObjReader::ReadLibrary(const std::string& rest)
{
    std::string folder;
    const std::vector<std::string> parts = Split(path_, "/");
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        folder += parts[i] + "/";
    const std::string library = folder + rest;
    std::printf("\n- find materials in: %s\n", library.c_str());
    if (!qel::CheckDataName(rest)) {
        std::fprintf(stderr, "%s: material library \"%s\" lies outside the mesh's folder; it is left out.\n",
                     path_.c_str(), rest.c_str());
        return;
    }
    const std::string error = result_.error;
    if (!LoadMTLFile(result_, library) && !result_.error.empty())
        std::fprintf(stderr, "%s; its materials are left out.\n", result_.error.c_str());
    result_.error = error;
}

void ObjReader::FinishGroup(const std::string& name)
{
    current_.name = name;
    result_.groups.push_back(std::move(current_));
    current_ = QelObjGroup{};
}

void ObjReader::Finish()
{
    std::printf("\n");
    if (!current_.vertices.empty() && !current_.indices.empty())
        FinishGroup(current_.name);
    AssignMaterials();
}

// The k-th "usemtl" name gives the k-th group its material.
void ObjReader::AssignMaterials()
{
    for (size_t k = 0; k < materialNames_.size() && k < result_.groups.size(); ++k)
        for (const QelObjMaterial& material : result_.materials)
            if (material.name == materialNames_[k]) {
                result_.groups[k].material = material;
                break;
            }
}

}  // namespace

bool LoadOBJFile(QelObjImport& result, const std::string& path)
{
    result = QelObjImport{};
    if (!EndsWith(path, ".obj")) {
        result.error = path + ": not an .obj file";
        return false;
    }
    ObjReader reader(result, path);
    std::string error;
    if (!ForEachLine(path, [&](const std::string& line) { reader.ReadLine(line); }, error)) {
        std::printf("\n");
        result = QelObjImport{};
        result.error = error;
        return false;
    }
    reader.Finish();
    if (result.skippedFaces > 0)
        std::fprintf(stderr, "%s: %d faces left out (too few or too many corners, or numbers that are not finite).\n",
                     path.c_str(), result.skippedFaces);
    if (result.groups.empty() && result.allVertices.empty() && result.allIndices.empty()) {
        result.error = path + ": holds no faces";
        return false;
    }
    return true;
}
