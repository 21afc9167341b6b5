#include "CHighLifeFilter.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

using namespace signal_tools;

namespace {
// Steady-state gain in dB of the filter on a sine, measured over the second half of one second.
double gainDb(float cutoff, float resonance, int mode, double hz) {
   NoiseGenerator noise;
   CHighLifeFilter filter(noise);
   const int frames = 44100;
   const auto in = sine(hz, 44100.0, frames, 0.5);
   std::vector<float> out(frames);
   for (int i = 0; i < frames; ++i)
      out[i] = filter.work(in[i], cutoff, resonance, mode);
   return decibels(rms(out.data() + frames / 2, frames / 2) / rms(in.data() + frames / 2, frames / 2));
}
} // namespace

TEST(CHighLifeFilter, LowPassAttenuationAt44100MatchesItsDesign) {
   struct Case {
      float cutoff;
      double hz;
      double expectedDb;
      double toleranceDb;
   };
   const Case cases[] = {
       {0.1f, 1000.0, -2.0, 0.3}, {0.1f, 5000.0, -25.0, 1.0}, {0.5f, 10000.0, -2.2, 0.3},
       {1.0f, 100.0, 0.0, 0.01},  {1.0f, 5000.0, 0.0, 0.01},  {1.0f, 15000.0, 0.0, 0.01},
   };
   for (const auto& c : cases) {
      const double db = gainDb(c.cutoff, 0.0f, 1, c.hz);
      EXPECT_NEAR(db, c.expectedDb, c.toleranceDb) << "cutoff " << c.cutoff << " at " << c.hz << " Hz";
   }
}

TEST(CHighLifeFilter, HighPassIsTheInputAfterFeedbackMinusTheLowPass) {
   NoiseGenerator noiseA, noiseB;
   CHighLifeFilter low(noiseA), high(noiseB);
   const auto in = sine(3000.0, 44100.0, 512);
   for (float x : in) {
      const float lp = low.work(x, 0.3f, 0.5f, 1);
      const float hp = high.work(x, 0.3f, 0.5f, 2);
      ASSERT_EQ(hp, low.b0 - lp);
   }
   EXPECT_LT(gainDb(0.1f, 0.0f, 2, 100.0), -15.0) << "the high-pass must remove low frequencies";
   EXPECT_NEAR(gainDb(0.1f, 0.0f, 2, 10000.0), 0.0, 0.1) << "and pass high ones";
}

// Open filter (cutoff 1.0): p = k = 1 and every pole passes its input, so the first output is the
// input plus the noise drawn from the generator, 1e-14 of a rand() value.
TEST(CHighLifeFilter, AddsOneNoiseValuePerCallFromItsGenerator) {
   NoiseGenerator noise, reference;
   CHighLifeFilter filter(noise);
   const float expected = 0.25f + static_cast<float>(reference.next()) * 9.9999998e-15f;
   EXPECT_EQ(filter.work(0.25f, 1.0f, 0.0f, 1), expected);
   EXPECT_NE(filter.b4, 0.0f);
   filter.clear_filter();
   EXPECT_EQ(filter.b0, 0.0f);
   EXPECT_EQ(filter.b4, 0.0f);
   EXPECT_EQ(filter.p, 0.0f);
   EXPECT_EQ(noise.next(), reference.next()) << "one draw per call";
}

TEST(CHighLifeFilter, SilenceGivesOnlyTheTinyPositiveNoise) {
   NoiseGenerator noise;
   CHighLifeFilter filter(noise);
   for (int i = 0; i < 44100; ++i) {
      const float y = filter.work(0.0f, 0.1f, 0.0f, 1);
      ASSERT_GE(y, 0.0f);
      ASSERT_LT(y, 2.2e-5f);
   }
}
