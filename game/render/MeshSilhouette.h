#pragma once
// The flat top-down silhouette of a ship's mesh: every triangle projected on
// the horizontal plane (x to the right, z down the rows, y dropped) and
// filled white in a square bitmap of the graphics service, centred on the
// mesh's origin, the hull's larger horizontal extent covering half the image.
// Rendered on the CPU from the mesh's lists, so the headless server has
// silhouettes too; the bitmap outlives this object, which is made, read and
// deleted at once.

#include <cstdint>
#include <string>
#include <vector>

class QEL3DObject;
class Qel2dBitmap;
class QelGraphicsFactoryBase;

class MeshSilhouette {
public:
    // A projected corner: column and row in pixels.
    struct Point {
        float x = 0.0f;  // column
        float z = 0.0f;  // row
    };

    // The silhouette "ships/<artFileRoot><pixels>": the service's bitmap of
    // that name when it holds or loads one of the right size, else (with a
    // mesh) rendered, and with save written to data/graphics as a PNG.
    // Without a mesh and without a stored image the bitmap is null.
    MeshSilhouette(const std::string& artFileRoot, const QEL3DObject* mesh, int pixels, bool save,
                   QelGraphicsFactoryBase& graphics);
    // The same through the process's graphics service.
    MeshSilhouette(const std::string& artFileRoot, const QEL3DObject* mesh, int pixels, bool save);
    virtual ~MeshSilhouette() = default;

    // Fills one projected triangle white with alpha 1 by rows, into a bitmap
    // this object made; parts outside the image are left out.
    void FillTriangle(Point a, Point b, Point c);

    Qel2dBitmap* bitmap = nullptr;  // held by the graphics service
    float scale = 0.0f;             // model units per pixel

private:
    void Render(const QEL3DObject& mesh);
    void FillSpans(int startRow, int endRow, int a0, int a1, int b0, int b1);

    int pixels_ = 0;
    std::vector<uint8_t> covered_;  // pixels already set, one byte each
};
