// The asset transfer signals: the outline, the chunk request and the chunk
// read back what was written; what a console or the server refuses (empty
// names, paths leaving the data folder, counts past their caps, chunks past
// their size, numbers out of range); and a message cut at any byte reads as
// refused.

#include "game/net/AssetTransferSignals.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The message as the writer makes it, read up to its payload.
QelNetworkMessage& Written(QelNetworkMessage& message, const std::function<void(QelNetworkMessage&)>& write)
{
    message.Reset();
    write(message);
    uint16_t code = 0;
    EXPECT_TRUE(ReadSignalCode(message, code));
    return message;
}

DrawDataOutlineSignal SampleOutline()
{
    DrawDataOutlineSignal outline{"tern_frigate", "TernFrigate", {}};
    outline.units.push_back({"Redwood", 25, 36, {{10, 20}, {0, 0}}});
    outline.units.push_back({"Redwood", 0, 0, {}});
    return outline;
}

AssetDataSignal SampleChunk(AssetKind kind)
{
    AssetDataSignal chunk{7, 20, {}, {}, {}};
    QelVertexRecord vertex{};
    vertex.position[2] = -3.5f, vertex.tangent[0] = 1.0f, vertex.texCoord[3][1] = 0.75f, vertex.colour[0] = 0.5f;
    if (kind == AssetKind::Vertices)
        chunk.vertices.assign(5, vertex);
    if (kind == AssetKind::Indices)
        chunk.indices = {0, 1, 2, 4000000000u};
    if (kind == AssetKind::Texture)
        chunk.pixels = {{1.0f, 0.0f, 0.5f, 0.25f}, {0.0f, 1.0f, 1.0f, 1.0f}};
    return chunk;
}

bool ReadChunk(QelNetworkMessage& message, AssetKind kind, AssetDataSignal& chunk)
{
    uint32_t count = 0;
    return ReadAssetDataHeader(message, chunk, count) && ReadAssetDataItems(message, kind, count, chunk);
}

bool SameVertices(const std::vector<QelVertexRecord>& a, const std::vector<QelVertexRecord>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(QelVertexRecord)) == 0);
}

constexpr AssetKind kKinds[] = {AssetKind::Vertices, AssetKind::Indices, AssetKind::Texture};

TEST(AssetTransferSignals, records_read_back_what_was_written)
{
    const DrawDataOutlineSignal outline = SampleOutline();
    QelNetworkMessage message;
    Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, outline); });
    DrawDataOutlineSignal outlineBack;
    ASSERT_TRUE(ReadSignal(message, outlineBack));
    EXPECT_EQ(message.BytesLeftToRead(), 0);
    EXPECT_EQ(outlineBack.shipKey, outline.shipKey);
    EXPECT_EQ(outlineBack.artRoot, outline.artRoot);
    EXPECT_EQ(outlineBack.units, outline.units);

    const AssetDataRequestSignal request{9, "tern_frigate", 1, 2, 2, 300, 150};
    Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, request); });
    AssetDataRequestSignal requestBack;
    ASSERT_TRUE(ReadSignal(message, requestBack));
    EXPECT_EQ(requestBack.transferId, 9u);
    EXPECT_EQ(requestBack.shipKey, "tern_frigate");
    EXPECT_EQ(std::vector<uint32_t>({requestBack.unitIndex, requestBack.textureIndex, requestBack.kind,
                                     requestBack.first, requestBack.count}),
              std::vector<uint32_t>({1, 2, 2, 300, 150}));

    for (AssetKind kind : kKinds) {
        const AssetDataSignal chunk = SampleChunk(kind);
        Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, chunk); });
        AssetDataSignal back;
        ASSERT_TRUE(ReadChunk(message, kind, back)) << static_cast<int>(kind);
        EXPECT_EQ(back.transferId, 7u);
        EXPECT_EQ(back.first, 20u);
        EXPECT_TRUE(SameVertices(back.vertices, chunk.vertices));
        EXPECT_EQ(back.indices, chunk.indices);
        EXPECT_EQ(back.pixels, chunk.pixels);
    }
}

TEST(AssetTransferSignals, an_outline_a_console_cannot_build_is_refused)
{
    const struct {
        const char* name;
        std::function<void(DrawDataOutlineSignal&)> spoil;
    } cases[] = {
        {"empty key", [](DrawDataOutlineSignal& o) { o.shipKey.clear(); }},
        {"empty root", [](DrawDataOutlineSignal& o) { o.artRoot.clear(); }},
        {"root above the data folder", [](DrawDataOutlineSignal& o) { o.artRoot = "../../home/x"; }},
        {"absolute root", [](DrawDataOutlineSignal& o) { o.artRoot = "/etc/passwd"; }},
        {"too many units", [](DrawDataOutlineSignal& o) { o.units.resize(kMaxAssetUnits + 1); }},
        {"negative vertices", [](DrawDataOutlineSignal& o) { o.units[0].vertexCount = -1; }},
        {"vertices past the cap", [](DrawDataOutlineSignal& o) { o.units[0].vertexCount = kMaxAssetVertices + 1; }},
        {"indices past the cap", [](DrawDataOutlineSignal& o) { o.units[0].indexCount = kMaxAssetIndices + 1; }},
        {"too many textures", [](DrawDataOutlineSignal& o) { o.units[0].textures.resize(kMaxAssetTexturesPerUnit + 1); }},
        {"texture too wide", [](DrawDataOutlineSignal& o) { o.units[0].textures[0].width = kMaxAssetTextureSide + 1; }},
        {"negative texture height", [](DrawDataOutlineSignal& o) { o.units[0].textures[0].height = -4; }},
        {"vertices of all units past the cap", [](DrawDataOutlineSignal& o) {
             o.units[0].vertexCount = o.units[1].vertexCount = kMaxAssetVertices / 2 + 1;
         }},
        {"pixels of all textures past the cap", [](DrawDataOutlineSignal& o) {
             o.units[0].textures.assign(2, {kMaxAssetTextureSide, kMaxAssetTextureSide});
         }},
    };
    for (const auto& c : cases) {
        DrawDataOutlineSignal outline = SampleOutline();
        c.spoil(outline);
        QelNetworkMessage message;
        Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, outline); });
        DrawDataOutlineSignal back;
        EXPECT_FALSE(ReadSignal(message, back)) << c.name;
    }
}

TEST(AssetTransferSignals, requests_and_chunks_past_their_limits_are_refused)
{
    const AssetDataRequestSignal requests[] = {
        {1, "", 0, 0, 0, 0, 10},                         // no key
        {1, "k", 0, 0, 0, 0, kAssetChunkVertices + 1},   // more than a chunk of vertices
        {1, "k", 0, 0, 1, 0, kAssetChunkIndices + 1},
        {1, "k", 0, 0, 2, 0, kAssetChunkPixels + 1},
    };
    for (const AssetDataRequestSignal& request : requests) {
        QelNetworkMessage message;
        Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, request); });
        AssetDataRequestSignal back;
        EXPECT_FALSE(ReadSignal(message, back)) << request.kind << " " << request.count;
    }

    const struct {
        const char* name;
        AssetKind kind;
        std::function<void(AssetDataSignal&)> spoil;
    } chunks[] = {
        {"eleven vertices", AssetKind::Vertices, [](AssetDataSignal& c) { c.vertices.resize(11); }},
        {"vertex not a number", AssetKind::Vertices, [](AssetDataSignal& c) { c.vertices[1].normal[2] = kNaN; }},
        {"fifty-one indices", AssetKind::Indices, [](AssetDataSignal& c) { c.indices.resize(51); }},
        {"pixel above one", AssetKind::Texture, [](AssetDataSignal& c) { c.pixels[0][1] = 1.5f; }},
        {"pixel below zero", AssetKind::Texture, [](AssetDataSignal& c) { c.pixels[1][3] = -0.1f; }},
        {"pixels read as vertices", AssetKind::Vertices, [](AssetDataSignal& c) {
             c.vertices.clear();
             c.pixels.assign(10, {});
         }},
    };
    for (const auto& c : chunks) {
        AssetDataSignal chunk = SampleChunk(c.kind);
        c.spoil(chunk);
        QelNetworkMessage message;
        Written(message, [&](QelNetworkMessage& m) { WriteSignal(m, chunk); });
        AssetDataSignal back;
        EXPECT_FALSE(ReadChunk(message, c.kind, back)) << c.name;
    }
}

// Cut short anywhere, nothing reads; a byte too many is refused as well.
TEST(AssetTransferSignals, a_message_cut_at_any_byte_or_with_bytes_left_over_is_refused)
{
    const std::function<bool(QelNetworkMessage&)> readers[] = {
        [](QelNetworkMessage& m) { DrawDataOutlineSignal s; return ReadSignal(m, s); },
        [](QelNetworkMessage& m) { AssetDataRequestSignal s; return ReadSignal(m, s); },
        [](QelNetworkMessage& m) { AssetDataSignal s; return ReadChunk(m, AssetKind::Vertices, s); },
        [](QelNetworkMessage& m) { AssetDataSignal s; return ReadChunk(m, AssetKind::Indices, s); },
        [](QelNetworkMessage& m) { AssetDataSignal s; return ReadChunk(m, AssetKind::Texture, s); },
    };
    const std::function<void(QelNetworkMessage&)> writers[] = {
        [](QelNetworkMessage& m) { WriteSignal(m, SampleOutline()); },
        [](QelNetworkMessage& m) { WriteSignal(m, AssetDataRequestSignal{3, "tern_frigate", 0, 0, 1, 50, 50}); },
        [](QelNetworkMessage& m) { WriteSignal(m, SampleChunk(AssetKind::Vertices)); },
        [](QelNetworkMessage& m) { WriteSignal(m, SampleChunk(AssetKind::Indices)); },
        [](QelNetworkMessage& m) { WriteSignal(m, SampleChunk(AssetKind::Texture)); },
    };
    for (size_t r = 0; r < std::size(readers); ++r) {
        QelNetworkMessage whole;
        Written(whole, writers[r]);
        for (int32_t length = 2; length < whole.writeIndex; ++length) {
            QelNetworkMessage cut;
            Written(cut, writers[r]);
            cut.writeIndex = length;
            EXPECT_FALSE(readers[r](cut)) << "reader " << r << " cut to " << length;
        }
        if (r >= 2) {
            QelNetworkMessage longer;
            Written(longer, writers[r]);
            longer.WriteInt8(0);
            EXPECT_FALSE(readers[r](longer)) << "reader " << r << " with a byte left over";
        }
    }
}

}  // namespace
