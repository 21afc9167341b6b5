#include "SinRemapper.h"
#include "ScorchwireFX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

TEST(SinRemapper, TableHoldsOnePeriodOverEightThousandEntries) {
   SinRemapper sr;
   for (int i : {0, 1, 256, 2048, 4096, 6144, 8191, 8192, 8447})
      EXPECT_EQ(sr.table[i], static_cast<float>(std::sin(i * (std::numbers::pi / 1024) * 0.25))) << i;
   EXPECT_EQ(sr.table[2048], 1.0f);
}

std::unique_ptr<ScorchwireFX> engineWithOpenHighPass() {
   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(44100, 256);
   fx->sinRemapper[0].hpCoef.store(0.0);
   return fx;
}

// At a smoothed drive of 0 the level is 1 and the phase scale 0.125, so an input h reads entry
// round(h * 0.125 * 8192) of the period.
TEST(SinRemapper, IndexesThePeriodAndWrapsNegativePhases) {
   struct Case {
      float h;
      int entry;
   };
   const Case cases[] = {{0.25f, 256}, {-1.0f / 1024, 8191}, {-0.25f, 8192 - 256}, {1.0f, 1024}, {0.0f, 0}};
   for (const auto& c : cases) {
      auto fx = engineWithOpenHighPass();
      float y = c.h;
      fx->processBrutalBill(fx->sinRemapper[0], &y, 1);
      EXPECT_EQ(y, fx->sinRemapper[0].table[c.entry]) << "h " << c.h;
      EXPECT_EQ(fx->sinRemapper[0].phaseScale, 0.125f);
   }
   auto fx = engineWithOpenHighPass();
   float y = 0.25f;
   fx->processBrutalBill(fx->sinRemapper[0], &y, 1);
   EXPECT_NEAR(y, std::sin(2 * std::numbers::pi / 32), 1e-7);
}

TEST(SinRemapper, FullDriveFoldsSixteenTimesAtNoLessThanAFifth) {
   auto fx = engineWithOpenHighPass();
   fx->sinRemapper[0].drive.store(1.0f);
   std::vector<float> buf(44100);
   for (size_t i = 0; i < buf.size(); ++i)
      buf[i] = std::sin(static_cast<float>(i) * 0.01f);
   fx->processBrutalBill(fx->sinRemapper[0], buf.data(), static_cast<int>(buf.size()));
   EXPECT_EQ(fx->sinRemapper[0].phaseScale, 16.0f);
   float peak = 0;
   for (size_t i = buf.size() / 2; i < buf.size(); ++i)
      peak = std::max(peak, std::fabs(buf[i]));
   EXPECT_EQ(peak, 0.2f);
}

} // namespace
