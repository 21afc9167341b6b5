#include "BenchSignal.h"
#include "ScorchwireFX.h"

#include <benchmark/benchmark.h>

namespace {
// PUNCH fully on over a loud signal: gain stage and limiter both working.
void BM_CompressorStage(benchmark::State& state) {
   ScorchwireFX fx;
   fx.resume(44100.0, BenchBlock::kFrames);
   fx.setParameter(8, 1.0);
   BenchBlock block;
   for (auto _ : state) {
      fx.processCompressor(block.fresh(), BenchBlock::kFrames);
      benchmark::DoNotOptimize(block.left.data());
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_CompressorStage);

// Argument 1: a pre-filter crossfade starts every block, so all frames are crossfaded except
// the last 256 - 440 % 256; argument 0: idle.
void BM_CrossfadeStage(benchmark::State& state) {
   ScorchwireFX fx;
   fx.resume(44100.0, BenchBlock::kFrames);
   const bool fading = state.range(0) != 0;
   BenchBlock block;
   for (auto _ : state) {
      if (fading) {
         fx.preFilterFadePending.store(true, std::memory_order_relaxed);
         fx.startPendingCrossfades();
      }
      fx.processCrossfade(block.fresh(), BenchBlock::kFrames);
      benchmark::DoNotOptimize(block.left.data());
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_CrossfadeStage)->Arg(0)->Arg(1)->ArgName("fading");

// Every stage of this unit at its most expensive, as one block runs them: DoubleLP pre-filter
// with envelope, PUNCH on, post-filter, a crossfade in progress, scope and meter feeds.
void BM_FiltersPunchAndFeedsWorstCase(benchmark::State& state) {
   ScorchwireFX fx;
   fx.resume(44100.0, BenchBlock::kFrames);
   fx.setParameter(1, 0.5);
   fx.setParameter(2, 0.5);
   fx.setParameter(3, 1.0);
   fx.setParameter(7, 0.5);
   fx.setParameter(8, 1.0);
   BenchBlock block;
   float* in[2] = {block.sourceLeft.data(), block.sourceRight.data()};
   char scope[ScorchwireFX::kScopeRingSize];
   for (auto _ : state) {
      fx.preFilterFadePending.store(true, std::memory_order_relaxed);
      fx.startPendingCrossfades();
      fx.processPreFilter(in, block.buffers, BenchBlock::kFrames);
      fx.processCompressor(block.buffers, BenchBlock::kFrames);
      fx.processPostFilter(block.buffers, BenchBlock::kFrames);
      fx.processCrossfade(block.buffers, BenchBlock::kFrames);
      fx.feedScope(block.buffers, BenchBlock::kFrames);
      fx.feedMeter(block.buffers, BenchBlock::kFrames);
      state.PauseTiming();
      fx.readScope(scope);
      state.ResumeTiming();
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_FiltersPunchAndFeedsWorstCase);
} // namespace
