#include "Valve.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The tube stage exactly as written: four exponentials and a power per sample.
struct ValveReference {
   CParamSmooth driveSmoother{4.0f, 4.0f * 44100.0f};
   CParamSmooth mixSmoother{20.0f, 4.0f * 44100.0f};
   double previousGain = 0;

   void process(float* buf, int n, float drive, float mix) {
      const float d = driveSmoother.process(drive);
      const float wet = static_cast<float>(
          1 - (std::log(static_cast<float>(d * 100.0) + 1) * 0.75 / 2.302585092994046) * 0.5);
      const double gInc = static_cast<float>(d * 32.0 + 3.0) * 0.010000000000000009;
      for (int i = 0; i < n; ++i) {
         const float x = buf[i];
         const float s = mixSmoother.process(mix);
         const double gain = 0.99 * previousGain + gInc;
         const double h = std::pow(10.0, gain * 0.05);
         const double o = x * h;
         const double k = 0.25 / h + 1;
         const double r = (std::exp((-0.25 / h + 1) * o) - std::exp(-o * k)) /
                          ((std::exp(o) + std::exp(-o)) * k) * 0.7692307692307692;
         buf[i] = static_cast<float>(r) * (s * wet) + (1 - s) * x;
         previousGain = gain;
      }
   }
};

TEST(Valve, MatchesTheFourExponentialCurveWithinSinglePrecision) {
   struct Case {
      float drive, mix, amplitude;
   };
   const Case cases[] = {{0.0f, 0.5f, 1.0f}, {0.7f, 0.6f, 1.5f}, {1.0f, 1.0f, 4.0f}, {0.3f, 0.0f, 0.1f}};
   for (const auto& c : cases) {
      Valve valve;
      valve.setSamplerate(44100);
      valve.drive.store(c.drive);
      valve.mix.store(c.mix);
      ValveReference ref;
      const auto in = test_signals::noise(40960, 6, c.amplitude);
      auto out = in;
      auto expected = in;
      double worst = 0;
      for (size_t i = 0; i < in.size(); i += 256) {
         valve.process(&out[i], 256);
         ref.process(&expected[i], 256, c.drive, c.mix);
      }
      for (size_t i = 0; i < in.size(); ++i)
         worst = std::max(worst, static_cast<double>(std::fabs(out[i] - expected[i])));
      EXPECT_LT(worst, 1e-6) << "drive " << c.drive << " mix " << c.mix << " amplitude " << c.amplitude;
   }
}

// Where the four exponentials overflow (|x h| beyond about 709, so |x| > 12.6 at full drive) the
// curve as written gives inf / inf; the stage gives the curve's value exp(-x/4) sign(x) / 1.3k.
TEST(Valve, LoudInputsFollowTheCurveInsteadOfTurningNan) {
   Valve valve;
   valve.setSamplerate(44100);
   valve.drive.store(1.0f);
   valve.mix.store(1.0f);
   std::vector<float> buf(256 * 3000);
   for (size_t i = 0; i < buf.size(); ++i)
      buf[i] = (i % 2 == 0 ? 100.0f : -100.0f);
   for (size_t i = 0; i < buf.size(); i += 256)
      valve.process(&buf[i], static_cast<int>(std::min<size_t>(256, buf.size() - i)));
   for (float v : buf)
      ASSERT_TRUE(std::isfinite(v));
   // Settled (up to the smoothers' last few float steps): a gain of 35 dB, the wet level
   // 1 - 0.375 log10(101), all wet.
   const double h = std::pow(10.0, 35 * 0.05);
   const double wet = 1 - 0.375 * std::log10(101.0);
   const double expected = -std::exp(25.0) / (1.3 * (1 + 0.25 / h)) * wet;
   EXPECT_NEAR(buf.back(), expected, std::fabs(expected) * 1e-4);
}

} // namespace
