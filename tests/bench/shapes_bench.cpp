// How long the window animations take to compute, apart from their 10 ms pauses: generating the
// regions of an effect, and turning every region into the rectangles handed to the window system.

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "appearance/animation_shapes.hpp"

namespace {

using quillora::AnimationEffect;
using quillora::PixelRect;

AnimationEffect Effect(const benchmark::State& state)
{
    return *quillora::EffectForKind(static_cast<int>(state.range(0)));
}

// The regions alone.
void GenerateRegions(benchmark::State& state)
{
    const AnimationEffect effect = Effect(state);
    const auto width = static_cast<int>(state.range(1));
    const auto height = static_cast<int>(state.range(2));
    for (auto _ : state) {
        auto regions = quillora::EffectRegions(effect, width, height);
        benchmark::DoNotOptimize(regions.data());
    }
}

// What a player computes for a whole effect: the regions and, step by step, their rectangles in
// one reused buffer.
void GenerateAndRasterise(benchmark::State& state)
{
    const AnimationEffect effect = Effect(state);
    const auto width = static_cast<int>(state.range(1));
    const auto height = static_cast<int>(state.range(2));
    std::vector<PixelRect> rectangles;
    std::int64_t total = 0;
    for (auto _ : state) {
        for (const auto& region : quillora::EffectRegions(effect, width, height)) {
            quillora::RasteriseRegion(region, rectangles);
            total += static_cast<std::int64_t>(rectangles.size());
            benchmark::DoNotOptimize(rectangles.data());
        }
    }
    state.counters["rects_per_effect"] = static_cast<double>(total) / static_cast<double>(state.iterations());
}

void AllEffects(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"kind", "w", "h"});
    for (int kind = 0; kind < 14; ++kind) {
        bench->Args({kind, 800, 600});
        bench->Args({kind, 1920, 1080});
    }
}

BENCHMARK(GenerateRegions)->Apply(AllEffects);
BENCHMARK(GenerateAndRasterise)->Apply(AllEffects)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
