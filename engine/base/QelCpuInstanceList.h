#pragma once
// The instance list's CPU side: per-instance records for instanced drawing.
// The headless graphics service uses it as it is; the GL service adds the
// buffer they go to.

#include <string>

#include "engine/base/QelInstanceList.h"
#include "engine/base/QelRecordArray.h"

class QelCpuInstanceList : public QelInstanceList {
public:
    QelCpuInstanceList(std::string name, int count);

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


protected:
    QelRecordArray<QelInstance>& Records() { return instances_; }

private:
    QelInstance& Checked(int index);
    QelInstance& Changing(int index);

    std::string name_;
    QelRecordArray<QelInstance> instances_;
};
