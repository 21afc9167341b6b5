#include "Biquad.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

using WebCore::Biquad;

namespace {

std::vector<float> run(Biquad& f, const std::vector<float>& in) {
   std::vector<float> out(in.size());
   f.process(in.data(), out.data(), in.size());
   return out;
}

TEST(Biquad, OutOfRangeSettingsPassEverythingOrNothing) {
   enum Kind { Low, High, Band };
   struct Case {
      Kind kind;
      double frequency, q;
      bool passes;
   };
   const Case cases[] = {{Low, 1.0, 0.7071067811865476, true},
                         {Low, 1.5, 0.0, true},
                         {Low, 0.0, 0.7, false},
                         {Low, -0.1, 0.7, false},
                         {High, 1.0, 0.7, false},
                         {High, 0.0, 0.7, true},
                         {Band, 0.3, 0.0, true},
                         {Band, 0.3, -1.0, true},
                         {Band, 0.0, 0.7, false},
                         {Band, 1.0, 0.7, false}};
   const auto in = test_signals::noise(256, 10);
   for (const auto& c : cases) {
      Biquad f;
      if (c.kind == Low)
         f.setLowpassParams(c.frequency, c.q);
      else if (c.kind == High)
         f.setHighpassParams(c.frequency, c.q);
      else
         f.setBandpassParams(c.frequency, c.q);
      const auto out = run(f, in);
      if (c.passes)
         EXPECT_EQ(out, in) << "kind " << c.kind << " frequency " << c.frequency << " q " << c.q;
      else
         EXPECT_EQ(out, std::vector<float>(in.size(), 0.0f))
             << "kind " << c.kind << " frequency " << c.frequency;
   }
}

std::complex<double> response(const Biquad& f, double normalisedFrequency) {
   const auto z1 = std::polar(1.0, -std::numbers::pi * normalisedFrequency);
   const auto z2 = z1 * z1;
   return (f.m_b0 + f.m_b1 * z1 + f.m_b2 * z2) / (1.0 + f.m_a1 * z1 + f.m_a2 * z2);
}

// The low- and high-pass resonance is in dB: the gain at the cutoff is 10^(resonance / 20).
TEST(Biquad, ResponsesHaveTheirWebAudioShapes) {
   const double resonance = 0.7071067811865476;
   const double peak = std::pow(10.0, resonance / 20);
   Biquad low, high, band;
   low.setLowpassParams(0.2, resonance);
   high.setHighpassParams(0.2, resonance);
   band.setBandpassParams(0.2, 0.7071067811865476);
   EXPECT_NEAR(std::abs(response(low, 0.0)), 1.0, 1e-12);
   EXPECT_NEAR(std::abs(response(low, 0.2)), peak, 1e-12);
   EXPECT_NEAR(std::abs(response(low, 1.0)), 0.0, 1e-12);
   EXPECT_NEAR(std::abs(response(high, 1.0)), 1.0, 1e-12);
   EXPECT_NEAR(std::abs(response(high, 0.2)), peak, 1e-12);
   EXPECT_NEAR(std::abs(response(high, 0.0)), 0.0, 1e-12);
   EXPECT_NEAR(std::abs(response(band, 0.2)), 1.0, 1e-12);
   EXPECT_NEAR(std::abs(response(band, 0.0)), 0.0, 1e-12);
}

TEST(Biquad, FourSideBySideEqualFourSeparateRuns) {
   Biquad together[4], apart[4];
   together[0].setLowpassParams(0.01, 0.7);
   together[1].setBandpassParams(0.03, 0.7);
   together[2].setBandpassParams(0.1, 0.7);
   together[3].setHighpassParams(0.2, 0.7);
   for (int b = 0; b < 4; ++b)
      apart[b] = together[b];
   const auto in = test_signals::noise(3000, 11);
   std::vector<float> outTogether[4], outApart[4];
   for (int b = 0; b < 4; ++b)
      outTogether[b].resize(in.size());
   float* const dst[4] = {outTogether[0].data(), outTogether[1].data(), outTogether[2].data(),
                          outTogether[3].data()};
   Biquad::processFour(together, in.data(), dst, 1000);
   Biquad::processFour(together, in.data() + 1000,
                       {dst[0] + 1000, dst[1] + 1000, dst[2] + 1000, dst[3] + 1000}, 2000);
   for (int b = 0; b < 4; ++b) {
      outApart[b] = run(apart[b], in);
      EXPECT_EQ(outTogether[b], outApart[b]) << "filter " << b;
      EXPECT_EQ(together[b].m_y1, apart[b].m_y1);
      EXPECT_EQ(together[b].m_y2, apart[b].m_y2);
      EXPECT_EQ(together[b].m_x1, apart[b].m_x1);
   }
}

TEST(Biquad, SilentInputFlushesTinyOutputMemoriesToZero) {
   Biquad f;
   f.setLowpassParams(0.1, 0.7);
   f.m_y1 = 1e-39;
   f.m_y2 = -1e-39;
   const std::vector<float> zeros(4, 0.0f);
   run(f, zeros);
   EXPECT_EQ(f.m_y1, 0.0);
   EXPECT_EQ(f.m_y2, 0.0);
   // Memories above the smallest normal float are left alone.
   f.m_y1 = 1e-30;
   run(f, zeros);
   EXPECT_NE(f.m_y1, 0.0);
}

} // namespace
