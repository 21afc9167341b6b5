#include "Fuzz.h"
#include "tranytab.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(Fuzz, TubeTablesAreWiredAsFourEntries) {
   EXPECT_EQ(tranytab[0], &tranytable_KT88[0]);
   EXPECT_EQ(tranytab[1], &tranytable_KT88[1]);
   EXPECT_EQ(tranytab[2], &tranytable_7199P[0]);
   EXPECT_EQ(tranytab[3], &tranytable_7199P[1]);
   // Each table is 2005 floats; the second of a tube follows its first directly.
   EXPECT_EQ(reinterpret_cast<const float*>(tranytab[3]) - reinterpret_cast<const float*>(tranytab[2]), 2005);
   const TubeTable& t = *tranytab[2];
   EXPECT_EQ(t.xmin, -5.0f);
   EXPECT_EQ(t.xmax, 5.0f);
   EXPECT_EQ(t.scale, 200.0f);
   EXPECT_EQ(t.count, 2001);
   EXPECT_EQ(tranytab[0]->xmin, -15.0f);
   EXPECT_EQ(tranytab[0]->scale, 66.66670227050781f);
}

TEST(Fuzz, PlateTablePassesThroughTheMeasuredRowsAndFallsThroughout) {
   struct Row {
      int k;
      float plate;
   };
   const Row rows[] = {{0, 142.1541f},    {200, 125.3978f}, {400, 106.8726f},  {600, 86.14742f},
                       {800, 62.38232f},  {900, 49.78763f}, {1000, 42.09215f}, {1100, 38.60225f},
                       {1200, 36.55267f}, {1400, 34.0384f}, {1600, 32.42709f}, {1800, 31.24429f},
                       {2000, 30.31119f}};
   const TubeTable& t = *tranytab[2];
   for (const auto& r : rows)
      EXPECT_EQ(t.values[r.k], r.plate) << "row " << r.k;
   for (int k = 1; k < t.count; ++k)
      ASSERT_LT(t.values[k], t.values[k - 1]) << "entry " << k;
   // The quiescent point of the stages: plate 117.70440740740739 V at the bias of -3.571981 V.
   EXPECT_NEAR(t.lookup(-3.571981), 117.70440740740739, 1e-4);
}

TEST(Fuzz, PlateLookupHoldsItsEdgeValues) {
   const TubeTable& t = *tranytab[2];
   struct Case {
      double grid;
      float expected;
   };
   const Case cases[] = {{-5.0, 142.1541f},
                         {-5.0051, 142.1541f},
                         {-7.0, 142.1541f},
                         {-1e300, 142.1541f},
                         {std::numeric_limits<double>::quiet_NaN(), 142.1541f},
                         {5.0, 30.31119f},
                         {7.0, 30.31119f},
                         {1e300, 30.31119f}};
   for (const auto& c : cases)
      EXPECT_EQ(t.lookup(c.grid), static_cast<double>(c.expected)) << "grid " << c.grid;
   // In between, linear between neighbouring entries; less than one step below the first entry
   // (truncation towards zero) it extrapolates from the first two.
   EXPECT_NEAR(t.lookup(-0.0025), 0.5 * (t.values[999] + static_cast<double>(t.values[1000])), 1e-9);
   EXPECT_NEAR(t.lookup(-5.0025), 1.5 * t.values[0] - 0.5 * static_cast<double>(t.values[1]), 1e-9);
}

TEST(Fuzz, SilenceRestsOnTheQuiescentPoint) {
   Fuzz fuzz;
   fuzz.init();
   std::vector<float> buf(64 * 1400, 0.0f);
   for (size_t i = 0; i < buf.size(); i += 64)
      fuzz.process(&buf[i], 64);
   float peak = 0;
   for (float v : buf)
      peak = std::max(peak, std::fabs(v));
   EXPECT_LT(peak, 1e-6f);
}

TEST(Fuzz, InitRestoresThePowerOnState) {
   Fuzz fuzz;
   fuzz.init();
   auto buf = test_signals::sine(4410, 220, 44100);
   fuzz.process(buf.data(), static_cast<int>(buf.size()));
   const auto first = buf;
   fuzz.init();
   buf = test_signals::sine(4410, 220, 44100);
   fuzz.process(buf.data(), static_cast<int>(buf.size()));
   EXPECT_EQ(buf, first);
   EXPECT_EQ(fuzz.sampleRate, 44100);
   EXPECT_EQ(fuzz.rate, 44100.0);
}

} // namespace
