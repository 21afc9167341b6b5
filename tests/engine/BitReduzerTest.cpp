#include "BitReduzer.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BitReduzer, MapsDriveToHoldLengthsOneToTwentyFive) {
   struct Case {
      float p;
      int rate;
   };
   const Case cases[] = {{0.0f, 1}, {0.04f, 1}, {0.0417f, 2}, {0.5f, 13}, {0.99f, 24}, {1.0f, 25}};
   for (const auto& c : cases) {
      BitReduzer br;
      br.setReduceRate(c.p);
      EXPECT_EQ(br.reduceRate.load(), c.rate) << "p " << c.p;
   }
}

TEST(BitReduzer, DryWetZeroReturnsTheInputUnchanged) {
   BitReduzer br;
   br.setReduceRate(1.0f);
   br.setDryWet(0.0f);
   const auto in = test_signals::noise(1000, 2);
   auto out = in;
   br.process(out.data(), static_cast<int>(out.size()));
   EXPECT_EQ(out, in);
}

// The counter runs on across calls of any length, so the hold pattern does too.
TEST(BitReduzer, FullDriveAndWetHoldsEveryTwentyFifthSampleAcrossBlocks) {
   BitReduzer br;
   br.setReduceRate(1.0f);
   br.setDryWet(1.0f);
   const auto in = test_signals::noise(1000, 3);
   auto out = in;
   const int blocks[] = {7, 64, 13, 1, 300, 615};
   int pos = 0;
   for (int n : blocks) {
      br.process(&out[static_cast<size_t>(pos)], n);
      pos += n;
   }
   ASSERT_EQ(pos, 1000);
   for (size_t i = 0; i < out.size(); ++i)
      ASSERT_EQ(out[i], in[i / 25 * 25]) << "sample " << i;
}

} // namespace
