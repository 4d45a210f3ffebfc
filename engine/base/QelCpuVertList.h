#pragma once
// The vertex list's CPU side: 100-byte vertices edited one by one. The
// headless graphics service uses it as it is; the GL service adds the buffer
// the vertices are uploaded to.

#include <string>

#include "engine/base/QelRecordArray.h"
#include "engine/base/QelVertexList.h"

class QelCpuVertList : public QelVertexList {
public:
    QelCpuVertList(std::string name, int count);

    void Resize(int count) override;
    void SetPosition(int index, float x, float y, float z) override;
    void SetVector(int index, int which, float x, float y, float z) override;
    void SetTexCoord(int index, int which, float u, float v) override;
    void SetColor(int index, float r, float g, float b, float a) override;
    void SetVertex(int index, const QelVertexRecord& record) override;
    void GetPosition(int index, float& x, float& y, float& z) override;
    void GetVector(int index, int which, float& x, float& y, float& z) override;
    void GetTexCoord(int index, int which, float& u, float& v) override;
    void GetColor(int index, float& r, float& g, float& b, float& a) override;
    QelVertexRecord GetVertex(int index) override;
    int GetCount() override { return vertices_.Count(); }
    void GetBounds(float minimum[3], float maximum[3]) override;
    void SetVertices(const QelVertex* vertices, int count) override;
    const QelVertex* Vertices() override { return vertices_.Data(); }

protected:
    QelRecordArray<QelVertex>& Records() { return vertices_; }

private:
    QelVertex& Checked(int index);
    QelVertex& Changing(int index);
    static float* Vector(QelVertex& vertex, int which);

    std::string name_;
    QelRecordArray<QelVertex> vertices_;
};
