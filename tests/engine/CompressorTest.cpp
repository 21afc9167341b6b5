#include "Compressor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Runs a constant level through the compressor at the given amount for two seconds and returns
// the last output sample.
float settledOutput(float amount, float level, Compressor& comp) {
   comp.init(44100);
   comp.setParameter(0, amount);
   std::vector<float> left(88200, level), right(88200, level);
   comp.work(left.data(), right.data(), static_cast<int>(left.size()));
   EXPECT_EQ(left.back(), right.back());
   return left.back();
}
} // namespace

TEST(Compressor, InitGivesTheFixedLimiterSettings) {
   Compressor comp;
   for (int i = 0; i < Compressor::kNumSettings; ++i)
      EXPECT_EQ(comp.settings[i], 0) << "setting " << i << " before init";
   comp.gain = 0.5f;
   comp.init(48000);
   EXPECT_EQ(comp.sampleRate, 48000);
   EXPECT_EQ(comp.gain, 1.0f);
   const int expected[] = {0, 32, 16, 32, 64};
   for (int i = 1; i < 5; ++i)
      EXPECT_EQ(comp.settings[i], expected[i]) << "setting " << i;
   EXPECT_FLOAT_EQ(comp.amountSmoother.a, expf(-6.2831855f / (2.0f * 0.001f * 48000.0f)));
   EXPECT_EQ(comp.amountSmoother.z, 0.0f);
}

TEST(Compressor, SettingsScaleAndTruncate) {
   Compressor comp;
   comp.setParameter(0, 0.999f);
   EXPECT_EQ(comp.settings[0], 127);
   comp.setParameter(2, 0.99f);
   EXPECT_EQ(comp.settings[2], 15);
   comp.setParameter(5, 0.5f);
   EXPECT_EQ(comp.settings[5], 0);
   comp.setParameter(5, 0.51f);
   EXPECT_EQ(comp.settings[5], 1);

   Compressor before = comp;
   comp.setParameter(6, 1.0f);
   comp.setParameter(-1, 1.0f);
   for (int i = 0; i < Compressor::kNumSettings; ++i) {
      EXPECT_EQ(comp.values[i], before.values[i]);
      EXPECT_EQ(comp.settings[i], before.settings[i]);
   }
}

// The smoother settles just short of its target, so the gain stage lands one step of 1/64 below
// 1 + 2 x amount.
TEST(Compressor, GainStageSettlesOneStepBelowTheAmount) {
   struct Case {
      float amount;
      int setting;
      float gain;
   };
   for (const Case& c : {Case{0.25f, 31, 1.484375f}, Case{1.0f, 127, 2.984375f}}) {
      Compressor comp;
      const float out = settledOutput(c.amount, 0.01f, comp);
      EXPECT_EQ(comp.settings[0], c.setting) << "amount " << c.amount;
      EXPECT_EQ(out, 0.01f * c.gain) << "amount " << c.amount;
   }
}

TEST(Compressor, QuietSignalStaysBelowTheThreshold) {
   Compressor comp;
   EXPECT_EQ(settledOutput(1.0f, 0.05f, comp), 0.14921875f);
   EXPECT_EQ(comp.gain, 1.0f);
}

TEST(Compressor, LimiterPullsLoudSignalDownToTheThreshold) {
   Compressor comp;
   const float out = settledOutput(1.0f, 0.5f, comp);
   EXPECT_NEAR(out, 0.25f, 1e-4f);
   EXPECT_NEAR(comp.gain, 0.25 / (0.5 * 2.984375), 1e-4);
}

// The gain falls towards its target by 1/1455.3 of the distance per sample (33 ms attack) and
// rises back by 1/2866.5 (65 ms release).
TEST(Compressor, LimiterGainMovesWithAttackAndReleaseSteps) {
   Compressor comp;
   comp.init(44100);
   comp.setParameter(0, 0.0f);
   float left = 1.0f, right = -0.5f;
   comp.work(&left, &right, 1);
   const double target = 0.25;
   EXPECT_EQ(comp.gain, static_cast<float>(1.0 + (target - 1.0) * (1.0 / (33 * 44100 * 0.001))));
   EXPECT_EQ(left, comp.gain);
   EXPECT_EQ(right, -0.5f * comp.gain);

   const float before = comp.gain;
   left = right = 0.0f;
   comp.work(&left, &right, 1);
   EXPECT_EQ(comp.gain, static_cast<float>(before + (1.0 - before) * (1.0 / (65 * 44100 * 0.001))));
}

TEST(Compressor, RatioZeroTurnsTheLimiterOff) {
   Compressor comp;
   comp.init(44100);
   comp.setParameter(2, 0.0f);
   float left = 1.0f, right = 1.0f;
   comp.work(&left, &right, 1);
   EXPECT_EQ(left, 1.0f);
   EXPECT_EQ(comp.gain, 1.0f);
}
