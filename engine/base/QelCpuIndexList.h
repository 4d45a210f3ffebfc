#pragma once
// The index list's CPU side: 32-bit vertex indices. The headless graphics
// service uses it as it is; the GL service adds the buffer they go to.

#include <string>

#include "engine/base/QelIndexList.h"
#include "engine/base/QelRecordArray.h"

class QelCpuIndexList : public QelIndexList {
public:
    QelCpuIndexList(std::string name, int count);

    void Resize(int count) override;
    void SetIndex(int index, uint32_t value) override;
    uint32_t GetIndex(int index) override;
    int GetCount() override { return indices_.Count(); }
    void SetIndices(const uint32_t* indices, int count) override;
    const uint32_t* Indices() override { return indices_.Data(); }

protected:
    QelRecordArray<uint32_t>& Records() { return indices_; }

private:
    std::string name_;
    QelRecordArray<uint32_t> indices_;
};
