// The graphics service's mesh loaders: the ".qelmesh" cache and the OBJ
// conversion behind Load3DObject, the same for every service.

#include <cstdio>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelMeshFile.h"
#include "engine/base/QelObjImport.h"

namespace {

const char* const kMeshFolder = "data/graphics";
const char* const kMeshExtension = "qelmesh";
// The four textures every converted unit names, after the mesh name.
const char* const kTextureSuffixes[] = {"_diffuse", "_emissive", "_specular", "_normal"};

// An OBJ vertex as the engine stores it: the X axis mirrored (OBJ files are
// right-handed, the engine's space left-handed) and V counted from the top.
QelVertex ConvertVertex(const QelObjVertex& in)
{
    QelVertex out{};
    out.position[0] = -in.position[0], out.position[1] = in.position[1], out.position[2] = in.position[2];
    out.position[3] = 1.0f;
    out.normal[0] = -in.normal[0], out.normal[1] = in.normal[1], out.normal[2] = in.normal[2];
    out.texCoord[0][0] = in.u, out.texCoord[0][1] = 1.0f - in.v;
    out.colour[0] = out.colour[1] = out.colour[2] = out.colour[3] = 1.0f;
    return out;
}

// The service's list of that name holding exactly these elements; a list of
// the name made earlier is resized to them.
QelVertexList& StoreVertices(QelGraphicsFactoryBase& graphics, const std::string& name,
                             const std::vector<QelVertex>& vertices)
{
    const int count = static_cast<int>(vertices.size());
    QelVertexList* list = graphics.GetVertList(name, count, false);
    if (list->GetCount() != count)
        list->Resize(count);
    list->SetVertices(vertices.data(), count);
    return *list;
}

QelIndexList& StoreIndices(QelGraphicsFactoryBase& graphics, const std::string& name,
                           const std::vector<uint32_t>& indices)
{
    const int count = static_cast<int>(indices.size());
    QelIndexList* list = graphics.GetIndexList(name, count);
    if (list->GetCount() != count)
        list->Resize(count);
    list->SetIndices(indices.data(), count);
    return *list;
}

// One draw unit per imported group, its lists named after the mesh, the
// group and its place.
QEL3DDrawUnit ConvertGroup(QelGraphicsFactoryBase& graphics, const std::string& name, const std::string& shaderName,
                           const QelObjGroup& group, size_t place)
{
    QEL3DDrawUnit unit(&graphics);
    unit.shaderName = shaderName;
    for (const char* suffix : kTextureSuffixes)
        unit.textureNames.push_back(name + suffix);
    const std::string prefix = name + "_" + group.name;
    unit.vertListNames.push_back(prefix + "_verts_" + std::to_string(place));
    unit.indexListNames.push_back(prefix + "_indexes_" + std::to_string(place));

    std::vector<QelVertex> vertices;
    vertices.reserve(group.vertices.size());
    for (const QelObjVertex& vertex : group.vertices)
        vertices.push_back(ConvertVertex(vertex));
    StoreVertices(graphics, unit.vertListNames.front(), vertices);
    std::vector<uint32_t> indices(group.indices.size(), 0);
    std::copy(group.indices.begin(), group.indices.begin() + static_cast<std::ptrdiff_t>(indices.size() / 3 * 3),
              indices.begin());
    StoreIndices(graphics, unit.indexListNames.front(), indices);
    return unit;
}

std::string MeshPath(const std::string& name, const char* extension)
{
    return std::string(kMeshFolder) + "/" + name + "." + extension;
}

}  // namespace

std::unique_ptr<QEL3DObject> QelGraphicsFactoryBase::Load3DObject(const std::string& name,
                                                                  const std::string& shaderName,
                                                                  const glm::mat4* transform)
{
    if (!qel::CheckDataName(name)) {
        std::fprintf(stderr, "Mesh %s: not a name inside the data folder; it is left out.\n", name.c_str());
        return nullptr;
    }
    const std::string objPath = MeshPath(name, "obj");
    switch (QelFileServices::Instance().CompareFileTimes(MeshPath(name, kMeshExtension), objPath)) {
    case 1:  // the cache is newer: used when sound, else made again
        if (std::unique_ptr<QEL3DObject> cached = Load3DMesh(name))
            return cached;
        break;
    case 3:  // no OBJ file: the cache is all there is
        return Load3DMesh(name);
    default:
        break;
    }

    QelObjImport import;
    if (!LoadOBJFile(import, objPath)) {
        std::fprintf(stderr, "Mesh %s: %s; it is left out.\n", name.c_str(), import.error.c_str());
        return nullptr;
    }
    GetShader(shaderName);
    auto object = std::make_unique<QEL3DObject>();
    for (size_t i = 0; i < import.groups.size(); ++i)
        object->units.push_back(ConvertGroup(*this, name, shaderName, import.groups[i], i));
    object->Transform(transform ? *transform : glm::mat4(1.0f));
    if (!Save3DMesh("", name, *object))
        std::fprintf(stderr, "Mesh %s: the cache %s cannot be written; the OBJ file is read again next time.\n",
                     name.c_str(), MeshPath(name, kMeshExtension).c_str());
    return object;
}

bool QelGraphicsFactoryBase::Save3DMesh(const std::string& folder, const std::string& name, const QEL3DObject& object)
{
    if (!qel::CheckDataName(name))
        return false;
    std::vector<QelMeshFileUnit> units;
    for (const QEL3DDrawUnit& unit : object.units) {
        QelMeshFileUnit stored{unit.shaderName, unit.textureNames, {}, {}};
        for (const std::string& listName : unit.vertListNames) {
            QelVertexList* list = FindVertList(listName);
            if (list == nullptr)
                return false;
            stored.vertexLists.push_back({listName, {list->Vertices(), list->Vertices() + list->GetCount()}});
        }
        for (const std::string& listName : unit.indexListNames) {
            QelIndexList* list = FindIndexList(listName);
            if (list == nullptr)
                return false;
            stored.indexLists.push_back({listName, {list->Indices(), list->Indices() + list->GetCount()}});
        }
        units.push_back(std::move(stored));
    }
    std::string bytes;
    if (!EncodeQelMesh(units, bytes))
        return false;
    const std::string target = folder.empty() ? kMeshFolder : folder;
    QelFileServices::Instance().MakeFolderFor(QelFileIO::MakePath(target, name, kMeshExtension));
    QelFileIO* file = QelFileServices::Instance().GetFileIO("Save3DMesh");
    if (!file->Open(target, name, kMeshExtension, false, true, true, false))
        return false;
    const bool written = file->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    return file->Close() && written;
}

std::unique_ptr<QEL3DObject> QelGraphicsFactoryBase::Load3DMesh(const std::string& name)
{
    const std::string path = MeshPath(name, kMeshExtension);
    QelFileIO* file = QelFileServices::Instance().GetFileIO("Load3DMesh");
    if (!qel::CheckDataName(name) || !file->OpenRead(kMeshFolder, name, kMeshExtension)) {
        std::fprintf(stderr, "Mesh %s: %s cannot be read; it is left out.\n", name.c_str(), path.c_str());
        return nullptr;
    }
    std::vector<QelMeshFileUnit> units;
    std::string error;
    const bool read = ReadQelMesh(*file, units, error);
    file->Close();
    for (const QelMeshFileUnit& unit : units)
        if (read && !KnowsShader(unit.shaderName))
            error = "it names the shader \"" + unit.shaderName + "\", which does not exist";
    if (!read || !error.empty()) {
        std::fprintf(stderr, "Mesh %s: %s is damaged (%s); it is left out.\n", name.c_str(), path.c_str(),
                     error.c_str());
        return nullptr;
    }

    auto object = std::make_unique<QEL3DObject>();
    for (const QelMeshFileUnit& stored : units) {
        QEL3DDrawUnit unit(this);
        unit.shaderName = stored.shaderName;
        GetShader(stored.shaderName);
        for (const std::string& texture : stored.textureNames) {
            Load2DBitmap(texture);
            unit.textureNames.push_back(texture);
        }
        for (const QelMeshFileUnit::VertexList& list : stored.vertexLists) {
            StoreVertices(*this, list.name, list.vertices);
            unit.vertListNames.push_back(list.name);
        }
        for (const QelMeshFileUnit::IndexList& list : stored.indexLists) {
            StoreIndices(*this, list.name, list.indices);
            unit.indexListNames.push_back(list.name);
        }
        object->units.push_back(std::move(unit));
    }
    return object;
}
