#include "EnvelopeFollower.h"

#include <gtest/gtest.h>

#include <cmath>

// After a step the envelope has covered 99 % of it at the attack (rising) or release (falling)
// time, following 1 - coef^n exactly in between.
TEST(EnvelopeFollower, FollowsAStepTo99PercentWithinAttackAndReleaseTimes) {
   EnvelopeFollower env;
   env.setup(10.0, 250.0, 44100);
   float one = 1.0f;
   for (int i = 1; i <= 441; ++i) {
      env.process(one);
      ASSERT_NEAR(env.envelope, 1.0 - std::pow(env.attackCoef, i), 1e-12) << "attack sample " << i;
   }
   EXPECT_NEAR(env.envelope, 0.99, 1e-9);
   EXPECT_EQ(one, 1.0f) << "the input sample is only read";

   env.envelope = 1.0;
   float silence = 0.0f;
   for (int i = 0; i < 11025; ++i)
      env.process(silence);
   EXPECT_NEAR(env.envelope, 0.01, 1e-9);
}

TEST(EnvelopeFollower, TracksTheMagnitudeOfNegativeSamples) {
   EnvelopeFollower env;
   env.setup(10.0, 250.0, 48000);
   float x = -0.5f;
   env.process(x);
   EXPECT_DOUBLE_EQ(env.envelope, 0.5 * (1.0 - env.attackCoef));
}
