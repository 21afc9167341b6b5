#include "Oversampler.h"
#include "kaiser.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The interpolator and decimator one sample at a time, over circular histories, as plainly as
// they can be written; they share only the coefficients with the class.
template <int R, int N> struct PlainOversampler {
   explicit PlainOversampler(const DSP::Oversampler<R, N>& os) : os(os) {}

   void upsample(float s, float* out) {
      constexpr int mask = N / R - 1;
      upX[upH] = s;
      float acc = 0;
      for (int j = 0; j < N / R; ++j)
         acc += os.up.c[j * R] * upX[(upH - j) & mask];
      out[0] = acc;
      upH = (upH + 1) & mask;
      for (int p = 1; p < R; ++p) {
         acc = 0;
         for (int j = 0; j < N / R; ++j)
            acc += os.up.c[j * R + p] * upX[(upH - 1 - j) & mask];
         out[p] = acc;
      }
   }

   float downsample(const float* in) {
      constexpr int mask = N - 1;
      downX[downH] = in[0];
      float acc = in[0] * os.down.c[0];
      for (int j = 1; j < N; ++j)
         acc += os.down.c[j] * downX[(downH - j) & mask];
      downH = (downH + 1) & mask;
      for (int r = 1; r < R; ++r) {
         downX[downH] = in[r];
         downH = (downH + 1) & mask;
      }
      return acc;
   }

   const DSP::Oversampler<R, N>& os;
   float upX[N / R] = {};
   int upH = 0;
   float downX[N] = {};
   int downH = 0;
};

template <int R, int N> void checkBlocksMatchSingleSamples() {
   DSP::Oversampler<R, N> os;
   PlainOversampler<R, N> plain(os);
   const auto in = test_signals::noise(5000, 7);
   std::mt19937 rng(8);
   std::uniform_int_distribution<int> blockLength(1, 64);
   std::vector<float> up(64 * R), expectedUp(64 * R), down(64);
   size_t pos = 0;
   while (pos < in.size()) {
      const int m =
          static_cast<int>(std::min<size_t>(static_cast<size_t>(blockLength(rng)), in.size() - pos));
      os.upsample(&in[pos], up.data(), m);
      for (int i = 0; i < m; ++i)
         plain.upsample(in[pos + static_cast<size_t>(i)], &expectedUp[static_cast<size_t>(i * R)]);
      for (int k = 0; k < m * R; ++k)
         ASSERT_EQ(up[static_cast<size_t>(k)], expectedUp[static_cast<size_t>(k)])
             << "ratio " << R << " at " << pos;
      os.downsample(up.data(), down.data(), m);
      for (int i = 0; i < m; ++i)
         ASSERT_EQ(down[static_cast<size_t>(i)], plain.downsample(&up[static_cast<size_t>(i * R)]))
             << "ratio " << R << " at " << pos + static_cast<size_t>(i);
      pos += static_cast<size_t>(m);
   }
}

TEST(Oversampler, BlocksComputeTheSameSumsAsSingleSamples) {
   checkBlocksMatchSingleSamples<2, 32>();
   checkBlocksMatchSingleSamples<4, 64>();
   checkBlocksMatchSingleSamples<8, 64>();
}

template <int R, int N> void checkUnityGain() {
   DSP::Oversampler<R, N> os;
   double down = 0;
   for (float c : os.down.c)
      down += c;
   EXPECT_NEAR(down, 1.0, 1e-6) << "ratio " << R;
   // The interpolator's phases average a gain of 1 (each phase of the truncated sinc is within a
   // few percent of it).
   double up = 0;
   for (int i = 0; i < N; ++i)
      up += os.up.c[i];
   EXPECT_NEAR(up, R, 1e-5) << "ratio " << R;
}

TEST(Oversampler, KernelsHaveUnityGain) {
   checkUnityGain<2, 32>();
   checkUnityGain<4, 64>();
   checkUnityGain<8, 64>();
}

TEST(Oversampler, ResetClearsTheHistories) {
   DSP::Oversampler<8, 64> os;
   const auto in = test_signals::noise(64, 9);
   std::vector<float> up(512), down(64);
   os.upsample(in.data(), up.data(), 64);
   os.downsample(up.data(), down.data(), 64);
   os.reset();
   const float zeros[64] = {};
   os.upsample(zeros, up.data(), 8);
   os.downsample(up.data(), down.data(), 8);
   for (int i = 0; i < 64; ++i)
      EXPECT_EQ(up[static_cast<size_t>(i)], 0.0f);
   for (int i = 0; i < 8; ++i)
      EXPECT_EQ(down[static_cast<size_t>(i)], 0.0f);
}

double besselI0Series(double x) {
   double sum = 1, term = 1;
   for (int k = 1; k < 60; ++k) {
      term *= (x / (2 * k)) * (x / (2 * k));
      sum += term;
   }
   return sum;
}

TEST(Oversampler, BesselApproximationMatchesTheSeriesOnBothBranches) {
   for (double x : {0.0, 0.066, 1.0, 3.7, 3.8, 6.4, 10.0})
      EXPECT_NEAR(DSP::besselI0(x) / besselI0Series(x), 1.0, 2e-7) << x;
   EXPECT_NEAR(DSP::besselI0(6.4), 96.96, 0.01);
}

// With I0(beta) inside the argument, the Kaiser window barely departs from 1.
TEST(Oversampler, KaiserWindowStaysBetweenOneAndOnePointZeroZeroOneOne) {
   std::vector<float> ones(64, 1.0f);
   DSP::kaiser<DSP::apply_window>(ones.data(), 64, 6.4);
   for (float w : ones) {
      EXPECT_GE(w, 1.0f);
      EXPECT_LE(w, 1.0011f);
   }
   EXPECT_EQ(ones.front(), 1.0f);
   EXPECT_GT(ones[31], 1.001f);
}

} // namespace
