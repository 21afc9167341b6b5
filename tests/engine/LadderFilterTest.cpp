#include "LadderFilter.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

using daisysp::LadderFilter;
using namespace signal_tools;

TEST(LadderFilter, InitSetsItsDefaultsAndKeepsTheStageMemories) {
   LadderFilter ladder;
   ladder.stageOutput[3] = 0.5f;
   ladder.stageInput[0] = 0.25f;
   ladder.previousInput = 0.75f;
   ladder.mode = 2;
   ladder.Init(44100.0f);
   EXPECT_EQ(ladder.reciprocal, 1.0f / 176400.0f);
   EXPECT_EQ(ladder.cutoff, 5000.0f);
   EXPECT_EQ(ladder.resonanceGain, 0.8f);
   EXPECT_EQ(ladder.drive, 0.5f);
   EXPECT_EQ(ladder.passbandGain, 0.5f);
   EXPECT_EQ(ladder.previousInput, 0.0f);
   EXPECT_EQ(ladder.mode, 0);
   EXPECT_EQ(ladder.stageOutput[3], 0.5f);
   EXPECT_EQ(ladder.stageInput[0], 0.25f);
}

TEST(LadderFilter, ClampsItsSettings) {
   LadderFilter ladder;
   ladder.Init(44100.0f);
   struct Case {
      float res, gain;
   };
   for (const Case& c : {Case{-1.0f, 0.0f}, Case{0.0f, 0.0f}, Case{0.09f, 0.36f}, Case{0.9f, 3.6f},
                         Case{1.79f, 7.16f}, Case{1.8f, 7.2f}, Case{5.0f, 7.2f}}) {
      ladder.SetRes(c.res);
      EXPECT_FLOAT_EQ(ladder.resonanceGain, c.gain) << "resonance " << c.res;
   }
   for (auto [d, expected] : {std::pair{-1.0f, 0.0f}, std::pair{2.0f, 2.0f}, std::pair{9.0f, 4.0f}}) {
      ladder.SetInputDrive(d);
      EXPECT_EQ(ladder.drive, expected) << "drive " << d;
   }
   for (auto [g, expected] : {std::pair{-1.0f, 0.0f}, std::pair{0.3f, 0.3f}, std::pair{0.9f, 0.5f}}) {
      ladder.SetPassbandGain(g);
      EXPECT_EQ(ladder.passbandGain, expected) << "passband gain " << g;
   }
   EXPECT_EQ(ladder.drive, 4.0f) << "the passband gain re-applies the drive";
}

// The frequency is kept within 5 Hz and 0.425 x sampleRate for the coefficients, while the
// requested value is what the filter reports as its cutoff.
TEST(LadderFilter, FrequencyIsLimitedToFiveHertzAnd0425OfTheRate) {
   LadderFilter a, b;
   a.Init(44100.0f);
   b.Init(44100.0f);
   a.SetFreq(22055.0f);
   b.SetFreq(0.425f * 44100.0f);
   EXPECT_EQ(a.cutoff, 22055.0f);
   EXPECT_EQ(a.alpha, b.alpha);
   EXPECT_EQ(a.qAdjust, b.qAdjust);
   a.SetFreq(1.0f);
   b.SetFreq(5.0f);
   EXPECT_EQ(a.alpha, b.alpha);
   b.SetFreq(5.5f);
   EXPECT_LT(a.alpha, b.alpha);

   // The coefficient polynomial against its closed form at 1 kHz.
   a.SetFreq(1000.0f);
   const double wc = 2.0 * 1000.0 * M_PI / (4.0 * 44100.0);
   const double w2 = wc * wc;
   EXPECT_NEAR(a.alpha, 0.9892 * wc - 0.4324 * w2 + 0.1381 * wc * w2 - 0.0202 * w2 * w2, 1e-6);
   EXPECT_NEAR(a.qAdjust, 0.0536 * wc + 1.006 - 0.095 * w2 - 0.05 * w2 * w2, 1e-6);
}

// With drive 2 and passband gain 0.5 a small signal gains 2 (1 + 0.5 G) / (1 + G), G being the
// feedback gain times the resonance correction.
TEST(LadderFilter, LowFrequencyGainFollowsTheFeedbackFormula) {
   for (float res : {0.09f, 0.45f, 0.9f}) {
      for (float hz : {2210.0f, 10000.0f}) {
         LadderFilter ladder;
         ladder.Init(44100.0f);
         ladder.SetInputDrive(2.0f);
         ladder.SetFreq(hz);
         ladder.SetRes(res);
         float y = 0.0f;
         for (int i = 0; i < 44100; ++i)
            y = ladder.Process(0.001f);
         const double g = ladder.resonanceGain * ladder.qAdjust;
         EXPECT_NEAR(y / 0.001, 2.0 * (1.0 + 0.5 * g) / (1.0 + g), 1e-3)
             << "res " << res << " at " << hz << " Hz";
      }
   }
}

TEST(LadderFilter, LowPassAndBandPassShapeTheSpectrum) {
   auto gainDb = [](int mode, double hz) {
      LadderFilter ladder;
      ladder.Init(44100.0f);
      ladder.mode = mode;
      ladder.SetFreq(2000.0f);
      ladder.SetRes(0.2f);
      const auto in = sine(hz, 44100.0, 44100, 0.01);
      std::vector<float> out(in.size());
      for (size_t i = 0; i < in.size(); ++i)
         out[i] = ladder.Process(in[i]);
      return decibels(rms(out.data() + 22050, 22050) / rms(in.data() + 22050, 22050));
   };
   EXPECT_LT(gainDb(0, 16000.0), gainDb(0, 100.0) - 40.0) << "24 dB low-pass, two octaves and more above";
   EXPECT_GT(gainDb(2, 2000.0), gainDb(2, 100.0) + 20.0) << "band-pass peaks at its frequency";
   EXPECT_GT(gainDb(2, 2000.0), gainDb(2, 16000.0) + 20.0);
}

TEST(LadderFilter, SoftClipBoundsTheFeedbackPath) {
   LadderFilter ladder;
   ladder.Init(44100.0f);
   ladder.SetInputDrive(4.0f);
   ladder.SetRes(1.8f);
   float peak = 0.0f;
   for (float x : sine(200.0, 44100.0, 44100, 1.0))
      peak = std::max(peak, std::fabs(ladder.Process(x)));
   // Every stage moves part of the way between inputs bounded by the clip, so the low-pass can't
   // leave ±1 however hard it is driven.
   EXPECT_LE(peak, 1.0f);
   EXPECT_GT(peak, 0.5f);
}

TEST(LadderFilter, ProcessPairEqualsProcessOnEachFilter) {
   LadderFilter a, b, pairA, pairB;
   for (auto* f : {&a, &b, &pairA, &pairB})
      f->Init(48000.0f);
   for (auto* f : {&a, &pairA}) {
      f->SetInputDrive(2.0f);
      f->SetFreq(800.0f);
      f->SetRes(1.2f);
   }
   for (auto* f : {&b, &pairB}) {
      f->mode = 2;
      f->SetInputDrive(4.0f);
      f->SetFreq(6000.0f);
   }
   const auto in = sine(330.0, 48000.0, 4800, 1.5);
   for (size_t i = 0; i < in.size(); ++i) {
      float l = in[i], r = -0.5f * in[i];
      LadderFilter::ProcessPair(pairA, pairB, l, r);
      ASSERT_EQ(l, a.Process(in[i])) << "left, sample " << i;
      ASSERT_EQ(r, b.Process(-0.5f * in[i])) << "right, sample " << i;
   }
   EXPECT_EQ(pairB.previousInput, b.previousInput);
}
