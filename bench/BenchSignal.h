#pragma once
// A block of stereo test signal for the stage benchmarks: a -6 dBFS sine plus noise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

struct BenchBlock {
   static constexpr int kFrames = 256;
   std::vector<float> left, right, sourceLeft, sourceRight;
   float* buffers[2];

   BenchBlock() : left(kFrames), right(kFrames), sourceLeft(kFrames), sourceRight(kFrames) {
      std::mt19937 gen(1);
      std::uniform_real_distribution<float> noise(-0.25f, 0.25f);
      for (int i = 0; i < kFrames; ++i) {
         const float s = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * i / 44100.0));
         sourceLeft[i] = s + noise(gen);
         sourceRight[i] = s + noise(gen);
      }
      buffers[0] = left.data();
      buffers[1] = right.data();
   }

   // Refills the working buffers so every iteration processes the same signal.
   float** fresh() {
      left = sourceLeft;
      right = sourceRight;
      return buffers;
   }
};

// Reports the cost per stereo frame ("time/frame", in seconds with an SI prefix) next to the
// time per block; the refill of the block (a 2 KiB copy) is included.
inline void reportPerFrame(benchmark::State& state, int framesPerIteration) {
   state.SetItemsProcessed(state.iterations() * framesPerIteration);
   state.counters["time/frame"] =
       benchmark::Counter(static_cast<double>(state.iterations()) * framesPerIteration,
                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
