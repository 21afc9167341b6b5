#include "ScorchwireFX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ScorchwireFX, StartsAtItsDefaults) {
   ScorchwireFX fx;
   for (int i = 0; i < ScorchwireFX::kNumParams; ++i) {
      const bool half = i == 0 || i == 6 || (i >= 9 && i <= 12);
      EXPECT_EQ(fx.getParameter(i), half ? 0.5 : 0.0) << "parameter " << i;
   }
   EXPECT_EQ(fx.presetName, "Default");
}

TEST(ScorchwireFX, StoresSinglePrecisionAndIgnoresUnknownIds) {
   ScorchwireFX fx;
   fx.setParameter(5, 0.1);
   EXPECT_EQ(fx.getParameter(5), 0.10000000149011612);
   fx.setParameter(17, 1.0);
   fx.setParameter(-1, 1.0);
   EXPECT_EQ(fx.getParameter(17), 0.0);
   EXPECT_EQ(fx.getParameter(-1), 0.0);
}

TEST(ScorchwireFX, RejectsNonFiniteAndClampsOutOfRangeValues) {
   struct Case {
      double sent;
      double expected;
   };
   const Case cases[] = {
       {std::numeric_limits<double>::quiet_NaN(), 0.25},
       {std::numeric_limits<double>::infinity(), 0.25},
       {-std::numeric_limits<double>::infinity(), 0.25},
       {5.0, 1.0},
       {-3.0, 0.0},
   };
   for (const auto& c : cases) {
      ScorchwireFX fx;
      fx.setParameter(7, 0.25);
      fx.setParameter(7, c.sent);
      EXPECT_EQ(fx.getParameter(7), c.expected) << "sent " << c.sent;
   }
}

TEST(ScorchwireFX, TypeCrossfadesArePendingOnlyWhenTheSelectedTypeChanges) {
   struct Case {
      int param;
      double from, to;
      bool pending;
   };
   const Case cases[] = {
       {3, 0.0, 0.0, false}, {3, 0.0, 0.1, false}, {3, 0.0, 0.125, true}, {3, 0.5, 0.55, false},
       {4, 0.0, 0.0624, false}, {4, 0.0, 0.0625, true}, {4, 0.5, 0.51, false}, {4, 0.5, 1.0, true},
       {8, 0.3, 0.7, false}, {8, 0.3, 0.0, true}, {8, 0.0, 0.3, true}, {8, 0.0, 0.0, false},
   };
   for (const auto& c : cases) {
      ScorchwireFX fx;
      fx.setParameter(c.param, c.from);
      fx.startPendingCrossfades();
      fx.distoFadePending = fx.preFilterFadePending = fx.compressorFadePending = false;
      fx.setParameter(c.param, c.to);
      const bool pending = fx.distoFadePending || fx.preFilterFadePending || fx.compressorFadePending;
      EXPECT_EQ(pending, c.pending) << "param " << c.param << " " << c.from << " -> " << c.to;
   }
}
