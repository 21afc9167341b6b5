#include "Overdrive.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(Overdrive, AmountZeroIsExactlyTheDrySignal) {
   Overdrive od;
   od.drive.store(1.0f);
   od.amount.store(0.0f);
   const auto in = test_signals::noise(4096, 1, 2.0f);
   auto out = in;
   for (size_t i = 0; i < out.size(); i += 64)
      od.process(&out[i], 64);
   EXPECT_EQ(out, in);
}

TEST(Overdrive, StartsDryAndFadesTheShapedPartIn) {
   Overdrive od;
   od.drive.store(0.0f);
   od.amount.store(1.0f);
   std::vector<float> buf(2000, 0.5f);
   od.process(buf.data(), static_cast<int>(buf.size()));
   // One smoother step towards amount 1: the shaped share l after the first call.
   const double l = 1.0f - expf(-6.2831855f / (4.0f * 0.001f * 44100.0f));
   const double dry = (1.0 - l) * 0.5;
   EXPECT_NEAR(buf[0], dry, 1e-4);
   EXPECT_GT(buf[1999] - dry, 100 * (buf[0] - dry)) << "the shaped part grows over about a thousand samples";
}

// Once the smoothers and the level have settled, amount 1 gives the soft clipper alone:
// g (c + |g|) L / (g^2 + (c - 1) |g| + 1) with c = 19 drive + 1 and L = 10^(-c / 40).
TEST(Overdrive, SettlesOnTheSoftClipperCurve) {
   struct Case {
      float drive, g;
   };
   const Case cases[] = {{0.0f, 0.5f}, {0.0f, -1.0f}, {0.5f, 0.25f}, {1.0f, 0.9f}, {1.0f, -0.05f}};
   for (const auto& k : cases) {
      Overdrive od;
      od.drive.store(k.drive);
      od.amount.store(1.0f);
      std::vector<float> buf(16);
      for (int call = 0; call < 3000; ++call) {
         std::fill(buf.begin(), buf.end(), k.g);
         od.process(buf.data(), 16);
      }
      const double c = 19.0 * k.drive + 1.0;
      const double g = k.g;
      const double expected =
          g * (c + std::fabs(g)) * std::pow(10.0, -c / 40.0) / (g * g + (c - 1) * std::fabs(g) + 1);
      EXPECT_NEAR(buf[15], expected, 1e-5) << "drive " << k.drive << " g " << k.g;
   }
}

} // namespace
