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

// The linear search of the pool, answered without walking it: filled buffers
// come before empty ones, and a key opens a new buffer only once its last one
// is full, so the first match is the key's open buffer when that still has
// room, else the first empty buffer. A buffer handed out but left empty stays
// the first empty one and is keyed again, as the search would do.
Qel2DBuffer* Qel2DBufferPool::Get2DBuffer(const Qel2DBatchKey& key)
{
    while (firstEmpty_ < buffers_.size() && buffers_[firstEmpty_]->PrimitiveCount() > 0)
        ++firstEmpty_;
    const auto open = openBuffers_.find(key);
    if (open != openBuffers_.end()) {
        Qel2DBuffer* buffer = open->second;
        if (buffer->PrimitiveCount() > 0 && buffer->HasRoom() && buffer->Key() == key)
            return buffer;
    }
    if (firstEmpty_ == buffers_.size())
        buffers_.push_back(std::make_unique<Qel2DBuffer>());
    Qel2DBuffer* buffer = buffers_[firstEmpty_].get();
    buffer->Rekey(key);
    openBuffers_[key] = buffer;
    return buffer;
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

std::vector<Qel2DDrawRun> Qel2DBufferPool::RunsInDrawOrder() const
{
    std::vector<Qel2DDrawRun> runs;
    for (const Qel2DBuffer* buffer : FilledInDrawOrder()) {
        if (runs.empty() || !(runs.back().Key() == buffer->Key()))
            runs.emplace_back();
        runs.back().buffers.push_back(buffer);
    }
    return runs;
}

void Qel2DBufferPool::EmptyAll()
{
    for (const auto& buffer : buffers_)
        buffer->primitiveCount_ = 0;
    firstEmpty_ = 0;
    openBuffers_.clear();
}

int Qel2DDrawRun::PrimitiveCount() const
{
    int count = 0;
    for (const Qel2DBuffer* buffer : buffers)
        count += buffer->PrimitiveCount();
    return count;
}

int Qel2DDrawRun::VertexCount() const
{
    int count = 0;
    for (const Qel2DBuffer* buffer : buffers)
        count += buffer->VertexCount();
    return count;
}
