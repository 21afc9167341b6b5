#include "tbiquad.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(tbiquad, HighPassDecaysToZeroOnAConstantInput) {
   tbiquad st;
   for (double& v : st.s)
      v = 123.0;
   IIR_resetIIR(st);
   for (double v : st.s)
      EXPECT_EQ(v, 0.0);
   double r = 0;
   for (int i = 0; i < 20000; ++i)
      r = IIR_doIIRhigh(st, 0.01, 0.5);
   EXPECT_LT(std::fabs(r), 1e-9);
   // A step passes at once: the low-passes start from 0.
   IIR_resetIIR(st);
   EXPECT_NEAR(IIR_doIIRhigh(st, 0.01, 0.5), 0.5 * 0.99 * 0.99 * 0.99, 1e-15);
}

TEST(tbiquad, HighPassOutputNeverLeavesPlusMinusOne) {
   struct Case {
      double a, level;
   };
   const Case cases[] = {{0.001, 10.0}, {0.01, 1e6}, {0.5, 10.0}, {0.0, 2.0}};
   for (const auto& c : cases) {
      tbiquad st;
      IIR_resetIIR(st);
      double lo = 0, hi = 0;
      for (int i = 0; i < 2000; ++i) {
         const double x = (i / 50) % 2 == 0 ? c.level : -c.level;
         const double r = IIR_doIIRhigh(st, c.a, x);
         lo = std::min(lo, r);
         hi = std::max(hi, r);
      }
      EXPECT_EQ(hi, 1.0) << "a " << c.a;
      EXPECT_EQ(lo, -1.0) << "a " << c.a;
   }
}

} // namespace
