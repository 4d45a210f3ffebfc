#pragma once
// The graphics service's index list: 32-bit vertex indices of a mesh.

#include <string>

#include "engine/base/QelIndexList.h"
#include "engine/gl/GLQELGpuArray.h"

class GLQELIndexList : public QelIndexList {
public:
    GLQELIndexList(std::string name, int count);
    ~GLQELIndexList() override;

    void Resize(int count) override;
    void SetIndex(int index, uint32_t value) override;
    uint32_t GetIndex(int index) override;
    int GetCount() override { return indices_.Count(); }

    // Sends the indices when they changed; true when it did.
    bool UploadChanges() { return indices_.Upload(GL_ELEMENT_ARRAY_BUFFER); }
    GLuint Buffer() const { return indices_.Buffer(); }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    GLQELGpuArray<uint32_t> indices_;
};
