#include "BenchSignal.h"
#include "ScorchwireFX.h"

#include <benchmark/benchmark.h>

namespace {
// One pre-filter type (argument 0 to 4) over a block, cutoff and envelope in the middle.
void BM_PreFilterStage(benchmark::State& state) {
   ScorchwireFX fx;
   fx.resume(44100.0, BenchBlock::kFrames);
   fx.setParameter(1, 0.5);
   fx.setParameter(2, 0.5);
   fx.setParameter(3, static_cast<double>(state.range(0)) * 0.25);
   BenchBlock block;
   float* in[2] = {block.sourceLeft.data(), block.sourceRight.data()};
   for (auto _ : state) {
      fx.processPreFilter(in, block.buffers, BenchBlock::kFrames);
      benchmark::DoNotOptimize(block.left.data());
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_PreFilterStage)->DenseRange(0, 4)->ArgName("type");

void BM_PostFilterStage(benchmark::State& state) {
   ScorchwireFX fx;
   fx.resume(44100.0, BenchBlock::kFrames);
   fx.setParameter(7, 0.5);
   BenchBlock block;
   for (auto _ : state) {
      fx.processPostFilter(block.fresh(), BenchBlock::kFrames);
      benchmark::DoNotOptimize(block.left.data());
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_PostFilterStage);

void BM_CHighLifeFilterWork(benchmark::State& state) {
   NoiseGenerator noise;
   CHighLifeFilter filter(noise);
   BenchBlock block;
   for (auto _ : state) {
      for (float x : block.sourceLeft)
         benchmark::DoNotOptimize(filter.work(x, 0.3f, 0.5f, 1));
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_CHighLifeFilterWork);

// The ladder as the pre-filter drives it: frequency and resonance set before every sample.
void BM_LadderFilterProcess(benchmark::State& state) {
   daisysp::LadderFilter ladder;
   ladder.Init(44100.0f);
   ladder.SetInputDrive(2.0f);
   BenchBlock block;
   for (auto _ : state) {
      for (float x : block.sourceLeft) {
         ladder.SetFreq(3000.0f);
         ladder.SetRes(0.5f);
         benchmark::DoNotOptimize(ladder.Process(x));
      }
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_LadderFilterProcess);

// Both channels through ProcessPair, as the pre-filter runs them.
void BM_LadderFilterProcessPair(benchmark::State& state) {
   daisysp::LadderFilter left, right;
   for (auto* ladder : {&left, &right}) {
      ladder->Init(44100.0f);
      ladder->SetInputDrive(2.0f);
   }
   BenchBlock block;
   for (auto _ : state) {
      for (int i = 0; i < BenchBlock::kFrames; ++i) {
         for (auto* ladder : {&left, &right}) {
            ladder->SetFreq(3000.0f);
            ladder->SetRes(0.5f);
         }
         float l = block.sourceLeft[i], r = block.sourceRight[i];
         daisysp::LadderFilter::ProcessPair(left, right, l, r);
         benchmark::DoNotOptimize(l);
         benchmark::DoNotOptimize(r);
      }
   }
   reportPerFrame(state, BenchBlock::kFrames);
}
BENCHMARK(BM_LadderFilterProcessPair);
} // namespace
