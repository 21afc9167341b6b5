// Distortion stage benchmarks: stereo at 48 kHz in host blocks of 256 frames. The "x_realtime"
// counter is seconds of stereo audio processed per second of one core.
#include "ScorchwireFX.h"
#include "duzudoru/Downsampler4x.h"
#include "duzudoru/Upsampler4x.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 256;
constexpr int kSourceFrames = 48000;

// One second of noise plus a 440 Hz sine at -6 dBFS, per channel.
struct Source {
   Source() {
      std::mt19937 rng(7);
      std::uniform_real_distribution<float> noise(-0.25f, 0.25f);
      for (auto& ch : channels) {
         ch.resize(kSourceFrames);
         for (int i = 0; i < kSourceFrames; ++i)
            ch[i] = noise(rng) + 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * i / kRate));
      }
   }
   std::vector<float> channels[2];
};

const std::vector<float>& source(int channel) {
   static const Source s;
   return s.channels[channel];
}

void setRealtimeCounter(benchmark::State& state) {
   const double frames = static_cast<double>(state.iterations()) * kBlock;
   state.counters["x_realtime"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
}

void BM_OversamplerPair(benchmark::State& state) {
   ohm::studio::genlib::Upsampler4x up;
   ohm::studio::genlib::Downsampler4x down;
   up.set_nbr_chn(2);
   down.set_nbr_chn(2);
   alignas(16) float work[4 * 64];
   float block[2][kBlock];
   int pos = 0;
   for (auto _ : state) {
      for (int c = 0; c < 2; ++c) {
         std::memcpy(block[c], &source(c)[pos], sizeof(block[c]));
         for (int off = 0; off < kBlock; off += 64) {
            up.process_block_1ch(c, work, block[c] + off, 64);
            down.process_block_1ch(c, block[c] + off, work, 64);
         }
      }
      benchmark::DoNotOptimize(block);
      pos = (pos + kBlock) % (kSourceFrames - kBlock);
   }
   setRealtimeCounter(state);
}
BENCHMARK(BM_OversamplerPair);

const char* const kTypeNames[9] = {"Overdrive", "ClipInferno", "HotValve",   "Ultracrunch", "BitReducer",
                                   "TurboFuzz", "RageClip",    "BrutalBill", "Quadrafuzz"};

void BM_DistortionType(benchmark::State& state) {
   const int type = static_cast<int>(state.range(0));
   state.SetLabel(kTypeNames[type]);
   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(kRate, kBlock);
   fx->setParameter(4, type / 8.0);
   fx->setParameter(5, 0.5);
   float block[2][kBlock];
   float* buffers[2] = {block[0], block[1]};
   int pos = 0;
   for (auto _ : state) {
      for (int c = 0; c < 2; ++c)
         std::memcpy(block[c], &source(c)[pos], sizeof(block[c]));
      fx->processDisto(buffers, kBlock);
      benchmark::DoNotOptimize(block);
      pos = (pos + kBlock) % (kSourceFrames - kBlock);
   }
   setRealtimeCounter(state);
}
BENCHMARK(BM_DistortionType)->DenseRange(0, 8);

// The whole engine (argument 0: the loud source; 1: digital silence after half a second of it),
// so that a silent tail shows whether decaying states slow processing down.
void BM_EngineLoudOrSilentTail(benchmark::State& state) {
   const int type = static_cast<int>(state.range(0));
   const bool silent = state.range(1) != 0;
   state.SetLabel(std::string(kTypeNames[type]) + (silent ? " silent tail" : " loud"));
   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(kRate, kBlock);
   fx->setParameter(4, type / 8.0);
   fx->setParameter(5, 0.5);
   float block[2][kBlock];
   float* buffers[2] = {block[0], block[1]};
   int pos = 0;
   auto fill = [&](bool zeros) {
      for (int c = 0; c < 2; ++c) {
         if (zeros)
            std::memset(block[c], 0, sizeof(block[c]));
         else
            std::memcpy(block[c], &source(c)[pos], sizeof(block[c]));
      }
      pos = (pos + kBlock) % (kSourceFrames - kBlock);
   };
   if (silent)
      for (int i = 0; i < kSourceFrames / 2 / kBlock; ++i) {
         fill(false);
         fx->process(buffers, buffers, kBlock);
      }
   for (auto _ : state) {
      fill(silent);
      fx->process(buffers, buffers, kBlock);
      benchmark::DoNotOptimize(block);
   }
   setRealtimeCounter(state);
}
BENCHMARK(BM_EngineLoudOrSilentTail)->ArgsProduct({benchmark::CreateDenseRange(0, 8, 1), {0, 1}});

} // namespace
