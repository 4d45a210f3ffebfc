#include "engine/base/Qel2DBatch.h"

#include <algorithm>

#include "helper/QelAssert.h"

void Qel2DBuffer::Rekey(const Qel2DBatchKey& key)
{
    key_ = key;
    primitiveCount_ = 0;
}

void Qel2DBuffer::AddTriangle(const Qel2DVertex& a, const Qel2DVertex& b, const Qel2DVertex& c)
{
    QEL_ASSERT(HasRoom() && !key_.lines, "numPrimsToDraw < DX11QEL2DBUFFERSIZE - 1");
    Qel2DVertex* out = &vertices_[static_cast<size_t>(primitiveCount_) * 3];
    out[0] = a;
    out[1] = b;
    out[2] = c;
    ++primitiveCount_;
}

void Qel2DBuffer::AddLine(const Qel2DVertex& a, const Qel2DVertex& b)
{
    QEL_ASSERT(HasRoom() && key_.lines, "numPrimsToDraw < DX11QEL2DBUFFERSIZE - 1");
    Qel2DVertex* out = &vertices_[static_cast<size_t>(primitiveCount_) * 2];
    out[0] = a;
    out[1] = b;
    ++primitiveCount_;
}

Qel2DBuffer* Qel2DBufferPool::Get2DBuffer(const Qel2DBatchKey& key)
{
    for (const auto& buffer : buffers_) {
        if (buffer->PrimitiveCount() == 0) {
            buffer->Rekey(key);
            return buffer.get();
        }
        if (buffer->HasRoom() && buffer->Key() == key)
            return buffer.get();
    }
    buffers_.push_back(NewBuffer());
    buffers_.back()->Rekey(key);
    return buffers_.back().get();
}

std::vector<Qel2DBuffer*> Qel2DBufferPool::FilledInDrawOrder() const
{
    std::vector<Qel2DBuffer*> filled;
    for (const auto& buffer : buffers_)
        if (buffer->PrimitiveCount() > 0)
            filled.push_back(buffer.get());
    std::stable_sort(filled.begin(), filled.end(), [](const Qel2DBuffer* a, const Qel2DBuffer* b) {
        return a->Key().orderKey < b->Key().orderKey;
    });
    return filled;
}

std::unique_ptr<Qel2DBuffer> Qel2DBufferPool::NewBuffer()
{
    return std::make_unique<Qel2DBuffer>();
}
