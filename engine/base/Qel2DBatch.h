#pragma once
// The batching behind every 2D draw: bitmaps and fonts append triangles and
// lines, already in clip space, to buffers chosen by what they share (shader,
// texture, order key, lines, smooth sampling, additive blending). The flush
// draws the filled buffers lowest order key first, buffers with equal keys in
// the order they were made, so what is drawn later lands on top. Buffers of
// one key that come one after another in that order are drawn together, in
// one call: the picture is the same, and a radar of a thousand contacts does
// not pay a draw for every hundred primitives.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class Qel2dBitmap;
class QelDrawProcess;

// The vertex of every 2D batch (40 bytes, stride 40).
struct Qel2DVertex {
    float position[4];  // clip space x, y; z 0.9; w 1
    float texCoord[2];
    float colour[4];
};
static_assert(sizeof(Qel2DVertex) == 40, "the 2D shaders read 40-byte vertices");

struct Qel2DBatchKey {
    QelDrawProcess* shader = nullptr;  // null: the "2DNormal" shader
    Qel2dBitmap* texture = nullptr;
    int orderKey = 0;
    bool lines = false;
    bool smooth = false;
    bool additive = false;

    bool operator==(const Qel2DBatchKey&) const = default;
};

struct Qel2DBatchKeyHash {
    size_t operator()(const Qel2DBatchKey& key) const
    {
        size_t h = std::hash<const void*>()(key.shader);
        h = h * 31 + std::hash<const void*>()(key.texture);
        h = h * 31 + std::hash<int>()(key.orderKey);
        return h * 8 + (key.lines ? 4u : 0u) + (key.smooth ? 2u : 0u) + (key.additive ? 1u : 0u);
    }
};

class Qel2DBuffer {
public:
    // A buffer holds room for 100 triangles; one slot is kept free, so a
    // buffer takes at most 99 primitives before the next one is used.
    static constexpr int kCapacity = 100;
    static constexpr int kMaxPrimitives = kCapacity - 1;

    virtual ~Qel2DBuffer() = default;

    const Qel2DBatchKey& Key() const { return key_; }
    int PrimitiveCount() const { return primitiveCount_; }
    const Qel2DVertex* Vertices() const { return vertices_.data(); }
    int VertexCount() const { return primitiveCount_ * (key_.lines ? 2 : 3); }
    bool HasRoom() const { return primitiveCount_ < kMaxPrimitives; }

    // Empties the buffer and gives it a new key.
    void Rekey(const Qel2DBatchKey& key);
    void AddTriangle(const Qel2DVertex& a, const Qel2DVertex& b, const Qel2DVertex& c);
    void AddLine(const Qel2DVertex& a, const Qel2DVertex& b);

private:
    friend class Qel2DBufferPool;

    Qel2DBatchKey key_;
    int primitiveCount_ = 0;
    std::array<Qel2DVertex, kCapacity * 3> vertices_{};
};

// Filled buffers of one key that are drawn one after another.
struct Qel2DDrawRun {
    std::vector<const Qel2DBuffer*> buffers;  // in draw order
    const Qel2DBatchKey& Key() const { return buffers.front()->Key(); }
    int PrimitiveCount() const;
    int VertexCount() const;
};

class Qel2DBufferPool {
public:
    virtual ~Qel2DBufferPool() = default;

    // The first buffer, in creation order, that is empty (it takes the key) or
    // has room and the same key; else a new buffer appended to the pool.
    Qel2DBuffer* Get2DBuffer(const Qel2DBatchKey& key);
    // The buffers holding primitives, sorted by ascending order key; equal
    // keys keep pool order.
    std::vector<Qel2DBuffer*> FilledInDrawOrder() const;
    // The same buffers, those of one key that follow each other joined.
    std::vector<Qel2DDrawRun> RunsInDrawOrder() const;
    // Every buffer empty, ready to be keyed again (after a flush).
    void EmptyAll();
    size_t BufferCount() const { return buffers_.size(); }

private:
    std::vector<std::unique_ptr<Qel2DBuffer>> buffers_;
    // Buffers are filled from the front: those before this index hold
    // primitives, those from it on are empty (EmptyAll empties them all).
    size_t firstEmpty_ = 0;
    // The buffer each key last took; it is that key's only one with room, as
    // long as it still holds the key and has room.
    std::unordered_map<Qel2DBatchKey, Qel2DBuffer*, Qel2DBatchKeyHash> openBuffers_;
};
