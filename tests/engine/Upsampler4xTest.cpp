#include "duzudoru/Upsampler4x.h"

#include "HalfBandReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using ohm::studio::genlib::Upsampler4x;

namespace {

std::vector<float> noise(size_t n, unsigned seed) {
   std::mt19937 rng(seed);
   std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
   std::vector<float> v(n);
   for (auto& x : v)
      x = dist(rng);
   return v;
}

TEST(Upsampler4x, FirstInputSampleAfterAClearGivesFourZeros) {
   Upsampler4x up;
   up.set_nbr_chn(2);
   const auto warm = noise(100, 1);
   std::vector<float> out(400);
   up.process_block_1ch(0, out.data(), warm.data(), 100);
   up.clear_buffers();
   const float one = 1.0f;
   float first[4] = {9, 9, 9, 9};
   up.process_block_1ch(0, first, &one, 1);
   for (float v : first)
      EXPECT_EQ(v, 0.0f);
}

TEST(Upsampler4x, MatchesTheTwoBranchModel) {
   Upsampler4x up;
   up.set_nbr_chn(1);
   halfband_reference::Up4x ref;
   const auto in = noise(3000, 2);
   std::vector<float> out(in.size() * 4);
   up.process_block_1ch(0, out.data(), in.data(), static_cast<long>(in.size()));
   for (size_t i = 0; i < in.size(); ++i) {
      float expected[4];
      ref.step(in[i], expected);
      for (int k = 0; k < 4; ++k)
         ASSERT_EQ(out[4 * i + k], expected[k]) << "output " << 4 * i + k;
   }
}

TEST(Upsampler4x, ChannelsAndBlockLengthsAreIndependent) {
   const auto in = noise(200, 3);
   const auto other = noise(200, 4);
   Upsampler4x whole, split;
   whole.set_nbr_chn(2);
   split.set_nbr_chn(2);
   std::vector<float> a(800), b(800), scratch(800);
   whole.process_block_1ch(0, a.data(), in.data(), 200);
   // Channel 0 one sample at a time, with channel 1 processed in between.
   for (long i = 0; i < 200; ++i) {
      split.process_block_1ch(0, &b[4 * i], &in[i], 1);
      split.process_block_1ch(1, scratch.data(), &other[i], 1);
   }
   EXPECT_EQ(a, b);
}

} // namespace
