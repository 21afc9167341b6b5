#include "EngineHarness.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

using namespace engine_harness;
using namespace signal_tools;

namespace {
Stereo loudNoise(int frames) {
   std::mt19937 gen(5);
   std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
   Stereo s(static_cast<size_t>(frames));
   for (size_t i = 0; i < s.size(); ++i) {
      s.left[i] = dist(gen);
      s.right[i] = dist(gen);
   }
   return s;
}

void compressorStage(ScorchwireFX& fx, Stereo& s) {
   runInBlocks(s, 256, [&fx](float** b, int n) { fx.processCompressor(b, n); });
}

// Starts the pending crossfades and runs the crossfade stage over silence, the last post-filter
// output being 1.0: what comes out is the fading ramp alone, zero wherever no crossfade acts.
std::vector<float> crossfadeOverSilence(ScorchwireFX& fx, int frames) {
   fx.lastPostFilterLeft = 1.0;
   fx.lastPostFilterRight = -1.0;
   Stereo s(static_cast<size_t>(frames));
   fx.startPendingCrossfades();
   runInBlocks(s, frames, [&fx](float** b, int n) { fx.processCrossfade(b, n); });
   return s.left;
}

int activeSamples(const std::vector<float>& x) {
   return static_cast<int>(std::count_if(x.begin(), x.end(), [](float v) { return v != 0.0f; }));
}

ScorchwireFX& settled(ScorchwireFX& fx, double rate = 44100.0) {
   fx.resume(rate, 256);
   fx.startPendingCrossfades();
   fx.distoFadePending = fx.preFilterFadePending = fx.compressorFadePending = false;
   return fx;
}
} // namespace

TEST(ScorchwireFXCompressor, PunchAtZeroLeavesTheSignalBitExact) {
   ScorchwireFX fx;
   fx.resume(44100.0, 256);
   const Stereo in = loudNoise(4096);
   Stereo s = in;
   compressorStage(fx, s);
   EXPECT_EQ(s.left, in.left);
   EXPECT_EQ(s.right, in.right);
}

TEST(ScorchwireFXCompressor, SettlesAtTheGainStageOrTheThreshold) {
   struct Case {
      double punch;
      float level, expected, tolerance;
   };
   for (const Case& c : {Case{1.0, 0.05f, 0.14921875f, 0.0f}, Case{0.25, 0.05f, 0.05f * 1.484375f, 0.0f},
                         Case{1.0, 0.5f, 0.25f, 1e-4f}}) {
      ScorchwireFX fx;
      fx.resume(44100.0, 256);
      fx.setParameter(8, c.punch);
      Stereo s(88200, c.level);
      compressorStage(fx, s);
      EXPECT_NEAR(s.left.back(), c.expected, c.tolerance) << "PUNCH " << c.punch << " on " << c.level;
      EXPECT_EQ(s.right.back(), s.left.back());
   }
}

// While PUNCH is off the stage does not run, so switching it back on carries on with the
// smoothed amount and the limiter gain it had.
TEST(ScorchwireFXCompressor, SmootherAndGainWaitWhileSwitchedOff) {
   ScorchwireFX fx;
   fx.resume(44100.0, 256);
   fx.setParameter(8, 1.0);
   Stereo loud(300, 0.5f); // short of settling: both still moving
   compressorStage(fx, loud);
   const float smoothed = fx.compressor.amountSmoother.z;
   const float gain = fx.compressor.gain;
   ASSERT_GT(smoothed, 0.0f);
   ASSERT_LT(gain, 1.0f);

   fx.setParameter(8, 0.0);
   Stereo quiet(1024, 0.1f);
   compressorStage(fx, quiet);
   EXPECT_EQ(quiet.left.back(), 0.1f);
   EXPECT_EQ(fx.compressor.amountSmoother.z, smoothed);
   EXPECT_EQ(fx.compressor.gain, gain);

   fx.setParameter(8, 1.0);
   Stereo again(1, 0.1f);
   compressorStage(fx, again);
   CParamSmooth reference = fx.compressor.amountSmoother;
   reference.z = smoothed;
   EXPECT_EQ(fx.compressor.amountSmoother.z, reference.process(1.0f));
}

TEST(ScorchwireFXCrossfade, ActsOnLengthMinusOneSamples) {
   for (auto [rate, length] : {std::pair{44100.0, 441}, std::pair{48000.0, 480}, std::pair{44100.9, 441}}) {
      ScorchwireFX fx;
      settled(fx, rate);
      fx.setParameter(3, 0.25);
      const auto out = crossfadeOverSilence(fx, 2048);
      EXPECT_EQ(activeSamples(out), length - 1) << rate << " Hz";
      EXPECT_EQ(out[0], 1.0f) << "the first sample repeats the last output before the switch";
      EXPECT_NE(out[length - 2], 0.0f);
      EXPECT_EQ(out[length - 1], 0.0f) << "the sample after the last entry used passes unchanged";
   }
}

TEST(ScorchwireFXCrossfade, StartsOncePerChangedSettingAndNeverForAnUnchangedOne) {
   struct Case {
      const char* what;
      std::vector<std::pair<int, double>> changes;
      int expectedSamples;
   };
   const Case cases[] = {
       {"no change", {}, 0},
       {"pre-filter type set to its own value", {{3, 0.0}}, 0},
       {"pre-filter type changed three times", {{3, 0.25}, {3, 0.5}, {3, 0.75}}, 440},
       {"pre-filter type changed and changed back", {{3, 0.25}, {3, 0.0}}, 440},
       {"PUNCH 0.3 to 0.7", {{8, 0.7}}, 0},
       {"PUNCH 0.3 to 0.0", {{8, 0.0}}, 440},
       {"pre-filter and distortion type together", {{3, 0.25}, {4, 0.5}}, 880},
       {"all three switches together", {{3, 0.25}, {4, 0.5}, {8, 0.0}}, 1320},
   };
   for (const auto& c : cases) {
      ScorchwireFX fx;
      fx.setParameter(8, 0.3);
      settled(fx);
      for (auto [index, value] : c.changes)
         fx.setParameter(index, value);
      EXPECT_EQ(activeSamples(crossfadeOverSilence(fx, 4096)), c.expectedSamples) << c.what;
   }
   ScorchwireFX fx;
   settled(fx);
   fx.setParameter(8, 0.3);
   EXPECT_EQ(activeSamples(crossfadeOverSilence(fx, 4096)), 440) << "PUNCH 0.0 to 0.3";
}

// Crossfades started together run back to back, pre-filter first; one started later takes
// priority and the one it interrupts resumes afterwards with its own ramp.
TEST(ScorchwireFXCrossfade, PreFilterFadeComesFirstAndInterrupts) {
   ScorchwireFX fx;
   settled(fx);
   fx.setParameter(4, 0.5);
   fx.setParameter(3, 0.25);
   crossfadeOverSilence(fx, 440);
   EXPECT_EQ(fx.preFilterFade.position, 440);
   EXPECT_EQ(fx.distoFade.position, 0);
   crossfadeOverSilence(fx, 440);
   EXPECT_EQ(fx.distoFade.position, 440);

   fx.setParameter(4, 1.0);
   fx.lastPostFilterLeft = 1.0;
   fx.startPendingCrossfades();
   Stereo s(100);
   float* b[2] = {s.left.data(), s.right.data()};
   fx.processCrossfade(b, 100);
   EXPECT_EQ(fx.distoFade.position, 100);

   fx.setParameter(3, 0.5);
   fx.lastPostFilterLeft = 0.5;
   fx.startPendingCrossfades();
   Stereo t(441);
   float* c[2] = {t.left.data(), t.right.data()};
   fx.processCrossfade(c, 441);
   EXPECT_EQ(fx.distoFade.position, 101) << "waits while the pre-filter fade runs";
   EXPECT_EQ(t.left[0], 0.5f) << "the pre-filter fade has its own ramp";
   EXPECT_EQ(t.left[440], static_cast<float>(fx.distoFade.fadeOutLeft[100] * (1.0 - fx.distoFade.gains[100])))
       << "the distortion fade resumes with the ramp it started with";
}

TEST(ScorchwireFXCrossfade, ActivationStopsACrossfade) {
   ScorchwireFX fx;
   settled(fx);
   fx.setParameter(3, 0.25);
   crossfadeOverSilence(fx, 100);
   fx.resume(48000.0, 256);
   EXPECT_EQ(activeSamples(crossfadeOverSilence(fx, 1000)), 0);
   EXPECT_EQ(fx.preFilterFade.length, 480);
}

namespace {
struct StepFigures {
   float before, during, after;
};

// Runs a full-scale sine through the whole chain and switches one setting at a block boundary
// half a second in. Returns the largest sample-to-sample step in the 4000 samples before the
// switch, across the crossfade, and from its end to the end of the second.
StepFigures stepsAroundSwitch(int index, double from, double to, double hz, int switchBlock,
                              bool withCrossfade) {
   ScorchwireFX fx;
   fx.setParameter(index, from);
   settled(fx);
   const int frames = 44032;
   const auto x = sine(hz, 44100.0, frames);
   Stereo s(x, x);
   const size_t at = static_cast<size_t>(switchBlock) * 256;
   for (size_t pos = 0; pos < s.size(); pos += 256) {
      if (pos == at) {
         fx.setParameter(index, to);
         if (!withCrossfade)
            fx.distoFadePending = fx.preFilterFadePending = fx.compressorFadePending = false;
      }
      float* b[2] = {s.left.data() + pos, s.right.data() + pos};
      fx.process(b, b, 256);
   }
   return {largestStep(s.left, at - 4000, at), largestStep(s.left, at - 1, at + 441),
           largestStep(s.left, at + 441, s.size())};
}

// The square-root fade-in moves by sqrt(1/441) of the distance between the old and the new
// signal on its first step, 0.048 at most per unit of that distance: the margin allowed above
// the signal's own largest step.
constexpr float kClickMargin = 0.05f;
} // namespace

TEST(ScorchwireFXCrossfade, SwitchingTypeUnderAFullScaleSineDoesNotClick) {
   struct Case {
      int index;
      double from, to;
   };
   const Case cases[] = {{3, 0.0, 0.25},  {3, 0.25, 0.5}, {3, 0.5, 1.0}, {3, 1.0, 0.0}, {3, 0.0, 0.75},
                         {3, 0.75, 0.25}, {3, 0.5, 0.0},  {4, 0.0, 0.5}, {4, 0.5, 1.0}};
   float worstExcess = -1.0f;
   for (const auto& c : cases)
      for (double hz : {50.0, 100.0, 1000.0})
         for (int block : {61, 86}) {
            const auto f = stepsAroundSwitch(c.index, c.from, c.to, hz, block, true);
            const float reference = std::max(f.before, f.after);
            worstExcess = std::max(worstExcess, f.during - reference);
            EXPECT_LE(f.during, reference + kClickMargin)
                << "parameter " << c.index << " " << c.from << " -> " << c.to << " at " << hz << " Hz, block "
                << block << ": signal steps " << f.before << " / " << f.after;
         }
   RecordProperty("worstStepAboveSignal", std::to_string(worstExcess));

   // The measure does catch a click: the same switch without its crossfade jumps far beyond it.
   const auto raw = stepsAroundSwitch(3, 0.0, 0.25, 100.0, 86, false);
   EXPECT_GT(raw.during, std::max(raw.before, raw.after) + 5 * kClickMargin);
}

// Switches marked from the main thread while the audio thread processes: they keep being faded
// in, the output stays finite and no mark is left behind once both threads are done.
TEST(ConcurrencySwitches, MainThreadSwitchesWhileTheAudioThreadProcesses) {
   ScorchwireFX fx;
   fx.resume(44100.0, 256);
   std::atomic<bool> done{false};
   std::atomic<long> blocksEndingInAFade{0};
   std::thread audio([&] {
      const auto x = sine(440.0, 44100.0, 256);
      for (int b = 0; b < 4000; ++b) {
         Stereo s(x, x);
         float* buffers[2] = {s.left.data(), s.right.data()};
         fx.process(buffers, buffers, 256);
         for (float v : s.left)
            if (!std::isfinite(v))
               ADD_FAILURE() << "sample " << v << " in block " << b;
         blocksEndingInAFade += fx.preFilterFade.position < fx.preFilterFade.length ? 1 : 0;
      }
      done = true;
   });
   for (int i = 0; !done; ++i) {
      fx.setParameter(3, (i % 5) * 0.25);
      fx.setParameter(4, (i % 9) * 0.125);
      fx.setParameter(8, (i % 2) * 0.5);
      fx.setParameter(0, (i % 100) * 0.01);
      std::this_thread::yield();
   }
   audio.join();
   fx.startPendingCrossfades();
   EXPECT_FALSE(fx.preFilterFadePending || fx.distoFadePending || fx.compressorFadePending);
   EXPECT_GT(blocksEndingInAFade.load(), 0);
}
