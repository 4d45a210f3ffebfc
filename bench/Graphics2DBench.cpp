// 2D throughput of the graphics service: one frame of batched sprites plus
// 2,000 glyphs at 1024 x 768, drawn and finished on the GPU. Run under
// llvmpipe on the offscreen driver with two rasterizer threads.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/OffscreenBench.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kGlyphLines = 20;
constexpr int kGlyphsPerLine = 100;  // 2,000 glyphs a frame

class Graphics2DFixture {
public:
    Graphics2DFixture()
    {
        text_.assign(kGlyphsPerLine, 'x');
        for (int i = 0; i < kGlyphsPerLine; i += 7)
            text_[static_cast<size_t>(i)] = 'M';
    }

    bool Ready() const { return offscreen_.Ready(); }

    void Frame(int sprites)
    {
        static const float kColour[4] = {0.8f, 0.9f, 1.0f, 0.7f};
        GLQelGraphicsClass& graphics = offscreen_.Graphics();
        offscreen_.Context().Clear();
        Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
        for (int i = 0; i < sprites; ++i)
            white->DrawRotated(static_cast<float>(i * 37 % kWidth), static_cast<float>(i * 53 % kHeight),
                               static_cast<float>(i) * 0.01f, 2.0f, i % 4, kColour, false);
        QelBitmapFont* font = graphics.FindFont("DefaultSans", 12);
        for (int line = 0; line < kGlyphLines; ++line) {
            font->SetTextRect(0, line * 30, kWidth, line * 30 + 30);
            font->DrawTextLeft(text_, kColour, 5);
        }
        graphics.Flush2D();
        glFinish();
    }

private:
    OffscreenBench offscreen_{kWidth, kHeight};
    std::string text_;
};

Graphics2DFixture& Fixture()
{
    static Graphics2DFixture fixture;
    return fixture;
}

void BM_Frame2D(benchmark::State& state)
{
    Graphics2DFixture& fixture = Fixture();
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver");
        return;
    }
    const int sprites = static_cast<int>(state.range(0));
    for (auto _ : state)
        fixture.Frame(sprites);
    state.counters["sprites"] = sprites;
    state.counters["glyphs"] = kGlyphLines * kGlyphsPerLine;
}
BENCHMARK(BM_Frame2D)->Arg(500)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
