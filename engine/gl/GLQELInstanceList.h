#pragma once
// The graphics service's instance list: per-instance records for instanced
// particle drawing, read by the standard layout's second stream.

#include <string>

#include "engine/base/QelInstanceList.h"
#include "engine/gl/GLQELGpuArray.h"

class GLQELInstanceList : public QelInstanceList {
public:
    GLQELInstanceList(std::string name, int count);
    ~GLQELInstanceList() override;

    void Resize(int count) override;
    void SetPosition(int index, float x, float y, float z, float w) override;
    void SetColor(int index, float r, float g, float b, float a) override;
    void SetAge(int index, float age) override;
    void SetCellIndex(int index, int cell) override;
    void SetInstance(int index, const QelInstanceRecord& record) override;
    void GetPosition(int index, float& x, float& y, float& z, float& w) override;
    void GetColor(int index, float& r, float& g, float& b, float& a) override;
    float GetAge(int index) override;
    int GetCellIndex(int index) override;
    QelInstanceRecord GetInstance(int index) override;
    int GetCount() override { return instances_.Count(); }
    // Per-axis minimum and maximum of the positions' x, y, z.
    void GetBounds(float minimum[3], float maximum[3]);

    bool UploadChanges() { return instances_.Upload(GL_ARRAY_BUFFER); }
    GLuint Buffer() const { return instances_.Buffer(); }
    const QelInstance& Stored(int index) { return Checked(index); }

private:
    QelInstance& Checked(int index);
    QelInstance& Changing(int index);

    std::string name_;
    GLQELGpuArray<QelInstance> instances_;
};
