#include "engine/base/QelObjImport.h"
#include "engine/base/QelObjLineTools.h"

using namespace qelobj;

namespace {

// A "newmtl" line shorter than this names no material.
constexpr size_t kShortestNamedMaterialLine = 8;

void ReadColour(const std::string& rest, float colour[3])
{
    const std::vector<std::string> pieces = Split(rest, " ");
    if (pieces.size() != 3)
        return;  // only three components make a colour
    for (int i = 0; i < 3; ++i)
        colour[i] = ReadFloat(pieces[static_cast<size_t>(i)]);
}

// One line of a library into the material being read; "newmtl" lines are
// the caller's.
void ReadMaterialLine(const std::string& word, const std::string& rest, QelObjMaterial& material)
{
    if (word == "Ka")
        ReadColour(rest, material.Ka);
    else if (word == "Kd")
        ReadColour(rest, material.Kd);
    else if (word == "Ks")
        ReadColour(rest, material.Ks);
    else if (word == "Ns")
        material.Ns = ReadFloat(rest);
    else if (word == "Ni")
        material.Ni = ReadFloat(rest);
    else if (word == "d")
        material.d = ReadFloat(rest);
    else if (word == "illum")
        material.illum = ReadInt(rest);
    else if (word == "map_Ka")
        material.mapKa = rest;
    else if (word == "map_Kd")
        material.mapKd = rest;
    else if (word == "map_Ks")
        material.mapKs = rest;
    else if (word == "map_Ns")
        material.mapNs = rest;
    else if (word == "map_d")
        material.mapD = rest;
    else if (word == "map_Bump" || word == "map_bump" || word == "bump")
        material.mapBump = rest;
}

}  // namespace

// Read whole before anything is appended, so a damaged library adds nothing.
bool LoadMTLFile(QelObjImport& result, const std::string& path)
{
    if (!EndsWith(path, ".mtl")) {
        result.error = path + ": not an .mtl file";
        return false;
    }
    std::vector<QelObjMaterial> materials;
    QelObjMaterial material;
    bool reading = false;
    const auto readLine = [&](const std::string& line) {
        const std::string word = FirstWord(line);
        if (word == "newmtl") {
            if (reading)
                materials.push_back(material);
            material = QelObjMaterial{};
            material.name = line.size() < kShortestNamedMaterialLine ? "none" : RestOfLine(line);
            reading = true;
        } else {
            ReadMaterialLine(word, RestOfLine(line), material);
        }
    };
    if (!ForEachLine(path, readLine, result.error))
        return false;
    materials.push_back(material);  // also the nameless one of a file without "newmtl"
    result.materials.insert(result.materials.end(), materials.begin(), materials.end());
    return !result.materials.empty();
}
