#include "RageClipState.h"
#include "ScorchwireFX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// With a high-pass coefficient of 0 the high-pass passes its input (limited to +-1), which puts
// the shaper's input under the test's control.
std::unique_ptr<ScorchwireFX> engineWithOpenHighPass() {
   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(44100, 256);
   fx->rageClip[0].hpCoef.store(0.0);
   return fx;
}

TEST(RageClipState, LoudInputClipsAtExactlyPointTwo) {
   auto fx = engineWithOpenHighPass();
   std::vector<float> buf(1024);
   for (size_t i = 0; i < buf.size(); ++i)
      buf[i] = i % 3 == 0 ? 5.0f : -2.0f;
   fx->processRageClip(fx->rageClip[0], buf.data(), static_cast<int>(buf.size()));
   for (size_t i = 0; i < buf.size(); ++i)
      ASSERT_EQ(buf[i], i % 3 == 0 ? 0.2f : -0.2f) << "sample " << i;
}

// The rational curve leaves 0 with a slope of about 0.998; the gain is at least 4.
TEST(RageClipState, QuietInputPassesNearlyLinearly) {
   auto fx = engineWithOpenHighPass();
   fx->rageClip[0].drive.store(0.0f);
   for (float x : {0.001f, -0.0005f}) {
      float y = x;
      fx->processRageClip(fx->rageClip[0], &y, 1);
      EXPECT_NEAR(y / (x * 4 * 0.25), 0.998, 0.001) << x;
   }
}

TEST(RageClipState, CurveLevelsOffBelowTheHardClip) {
   auto fx = engineWithOpenHighPass();
   fx->rageClip[0].drive.store(0.0f);
   // v = 4 * 0.15 = 0.6: on the soft part of the curve, not yet at the 0.8 limit.
   float y = 0.15f;
   fx->processRageClip(fx->rageClip[0], &y, 1);
   EXPECT_GT(y, 0.12f * 0.25f);
   EXPECT_LT(y, 0.6f * 0.25f);
}

} // namespace
