#include "duzudoru/Downsampler4x.h"
#include "duzudoru/Upsampler4x.h"

#include "HalfBandReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

using ohm::studio::genlib::Downsampler4x;
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

// Host-rate response of the upsampler followed directly by the downsampler.
std::vector<float> roundTrip(const std::vector<float>& in) {
   Upsampler4x up;
   Downsampler4x down;
   up.set_nbr_chn(1);
   down.set_nbr_chn(1);
   std::vector<float> work(in.size() * 4), out(in.size());
   const long n = static_cast<long>(in.size());
   up.process_block_1ch(0, work.data(), in.data(), n);
   down.process_block_1ch(0, out.data(), work.data(), n);
   return out;
}

std::vector<float> impulseResponse(size_t n) {
   std::vector<float> in(n, 0.0f);
   in[0] = 1.0f;
   return roundTrip(in);
}

TEST(Downsampler4x, FirstOutputAfterAClearIsZero) {
   Downsampler4x down;
   down.set_nbr_chn(2);
   const auto warm = noise(400, 5);
   std::vector<float> out(100);
   down.process_block_1ch(1, out.data(), warm.data(), 100);
   down.clear_buffers();
   const float four[4] = {1, 1, 1, 1};
   float first = 9;
   down.process_block_1ch(1, &first, four, 1);
   EXPECT_EQ(first, 0.0f);
}

TEST(Downsampler4x, MatchesTheTwoBranchModel) {
   Downsampler4x down;
   down.set_nbr_chn(1);
   halfband_reference::Down4x ref;
   const auto in = noise(12000, 6);
   std::vector<float> out(in.size() / 4);
   down.process_block_1ch(0, out.data(), in.data(), static_cast<long>(out.size()));
   for (size_t i = 0; i < out.size(); ++i)
      ASSERT_EQ(out[i], ref.step(&in[4 * i])) << "output " << i;
}

TEST(Downsampler4x, RoundTripImpulseResponseSumsToOne) {
   const auto h = impulseResponse(4096);
   double sum = 0;
   for (float v : h)
      sum += v;
   EXPECT_NEAR(sum, 1.0, 1e-5);
}

// Single-precision all-pass sections settle into a rounding limit cycle of a few 1e-6 around the
// constant; that is the whole error.
TEST(Downsampler4x, RoundTripReturnsAConstantUnchanged) {
   const std::vector<float> in(2000, 0.7f);
   const auto out = roundTrip(in);
   for (size_t i = 1000; i < out.size(); ++i)
      ASSERT_NEAR(out[i], 0.7f, 1e-5) << "sample " << i;
}

TEST(Downsampler4x, RoundTripIsFlatWithAboutSixSamplesOfDelay) {
   const auto h = impulseResponse(8192);
   double sum = 0, moment = 0;
   for (size_t n = 0; n < h.size(); ++n) {
      sum += h[n];
      moment += static_cast<double>(n) * h[n];
   }
   EXPECT_NEAR(moment / sum, 5.97, 0.01) << "group delay at DC";

   double worstDb = 0;
   for (double f = 0.0; f <= 0.45; f += 0.005) {
      std::complex<double> H = 0;
      for (size_t n = 0; n < h.size(); ++n)
         H += static_cast<double>(h[n]) * std::polar(1.0, -2 * std::numbers::pi * f * static_cast<double>(n));
      worstDb = std::max(worstDb, std::fabs(20 * std::log10(std::abs(H))));
   }
   EXPECT_LT(worstDb, 1e-5) << "magnitude deviation up to 0.45 fs";
}

} // namespace
