#include "Crossfader2.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Crossfader2, LengthIsTenMillisecondsAndStartsIdle) {
   for (auto [rate, length] :
        {std::pair{44100, 441}, std::pair{48000, 480}, std::pair{96000, 960}, std::pair{11025, 110}}) {
      Crossfader2 fade;
      fade.setSamplerate(rate);
      EXPECT_EQ(fade.length, length) << rate << " Hz";
      EXPECT_EQ(fade.position, length) << rate << " Hz";
      ASSERT_EQ(fade.gains.size(), static_cast<size_t>(length));
      for (int i = 0; i < length; ++i)
         ASSERT_EQ(fade.gains[i], std::sqrt(static_cast<double>(i) / length)) << "gain " << i;
   }
   Crossfader2 fresh;
   EXPECT_EQ(fresh.length, 441);
   EXPECT_EQ(fresh.sampleRate, 44100.0);
}

TEST(Crossfader2, FadeOutRampFallsInEqualStepsTowardsZero) {
   Crossfader2 fade;
   fade.setFadeOutBuffer(0.8f, -0.4f);
   EXPECT_EQ(fade.fadeOutLeft[0], 0.8f);
   EXPECT_EQ(fade.fadeOutRight[0], -0.4f);
   const double dl = 0.8f / 441.0, dr = -0.4f / 441.0;
   for (int i = 1; i < 441; ++i) {
      ASSERT_EQ(fade.fadeOutLeft[i], static_cast<float>(fade.fadeOutLeft[i - 1] - dl));
      ASSERT_EQ(fade.fadeOutRight[i], static_cast<float>(fade.fadeOutRight[i - 1] - dr));
   }
   // one step above zero, give or take the float rounding gathered over 440 steps
   EXPECT_NEAR(fade.fadeOutLeft[440], dl, 2e-5) << "the last entry is one step above zero";
   EXPECT_NEAR(fade.fadeOutRight[440], dr, 2e-5);
}

TEST(Crossfader2, MixesRampOutAndSignalInThenStops) {
   Crossfader2 fade;
   fade.setFadeOutBuffer(1.0f, -1.0f);
   float l = 0.5f, r = 0.5f;
   fade.process(l, r);
   EXPECT_EQ(fade.position, 441) << "idle until started";
   EXPECT_EQ(l, 0.5f);

   fade.start();
   for (int i = 0; i < 441; ++i) {
      float left = 0.5f, right = 0.25f;
      fade.process(left, right);
      const double g = fade.gains[i];
      ASSERT_EQ(left, static_cast<float>(fade.fadeOutLeft[i] * (1.0 - g) + 0.5f * g)) << i;
      ASSERT_EQ(right, static_cast<float>(0.25f * g + fade.fadeOutRight[i] * (1.0 - g))) << i;
   }
   EXPECT_EQ(fade.position, 441);
   fade.process(l, r);
   EXPECT_EQ(l, 0.5f);

   fade.start();
   fade.setSamplerate(44100);
   EXPECT_EQ(fade.position, fade.length) << "a rate change stops a crossfade";
}

TEST(Crossfader2, RatesBelowOneHundredHertzGiveNoCrossfade) {
   Crossfader2 fade;
   fade.setSamplerate(50);
   EXPECT_EQ(fade.length, 0);
   fade.setFadeOutBuffer(1.0f, 1.0f);
   fade.start();
   float l = 0.5f, r = 0.5f;
   fade.process(l, r);
   EXPECT_EQ(l, 0.5f);
}
