#pragma once
// The graphics service's vertex list: 100-byte 3D vertices, edited one by one
// on the CPU copy and uploaded whole when a shader is about to draw them.

#include <string>

#include "engine/base/QelVertexList.h"
#include "engine/gl/GLQELGpuArray.h"

class GLQELVertList : public QelVertexList {
public:
    GLQELVertList(std::string name, int count);
    ~GLQELVertList() override;

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

    // Sends the vertices when they changed; true when it did.
    bool Upload() { return vertices_.Upload(GL_ARRAY_BUFFER); }
    GLuint Buffer() const { return vertices_.Buffer(); }

private:
    QelVertex& Checked(int index);
    QelVertex& Changing(int index);
    float* Vector(QelVertex& vertex, int which);

    std::string name_;
    GLQELGpuArray<QelVertex> vertices_;
};
