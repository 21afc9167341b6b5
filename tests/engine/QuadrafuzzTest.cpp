#include "Quadrafuzz.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

TEST(Quadrafuzz, StartsAtItsDefaults) {
   auto q = std::make_unique<Quadrafuzz>();
   EXPECT_FALSE(q->bypass.load());
   EXPECT_EQ(q->oversampling.load(), 8);
   const float levels[4] = {0.8f, 0.8f, 0.0f, 0.8f};
   for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(q->levels[i].value.load(), levels[i]);
      EXPECT_FLOAT_EQ(q->levels[i].gain.load(), levels[i] == 0.0f ? 0.01f : 1.0f) << "level " << i + 1;
      EXPECT_EQ(q->bandAmounts[i].load(), 0.5f);
   }
   EXPECT_EQ(q->filterRate, 0u);
   EXPECT_EQ(q->sampleRate, 44100.0);
}

TEST(Quadrafuzz, SetsParametersByIndex) {
   auto q = std::make_unique<Quadrafuzz>();
   q->setParameterValue(1, 1.0f);
   EXPECT_FLOAT_EQ(q->levels[0].gain.load(), std::pow(10.0f, 0.5f)); // +10 dB
   q->setParameterValue(6, 0.25f);
   EXPECT_EQ(q->bandAmounts[1].load(), 0.25f);
   q->setParameterValue(0, 0.6f);
   EXPECT_TRUE(q->bypass.load());
   q->setParameterValue(10, 0.0f); // ignored
   struct Case {
      float value;
      int factor;
   };
   const Case cases[] = {{0.0f, 1}, {0.3f, 1}, {0.34f, 2}, {0.4f, 2}, {0.7f, 4}, {1.0f, 8}};
   for (const auto& c : cases) {
      q->setParameterValue(9, c.value);
      EXPECT_EQ(q->oversampling.load(), c.factor) << "value " << c.value;
   }
}

TEST(Quadrafuzz, BypassCopiesTheInput) {
   auto q = std::make_unique<Quadrafuzz>();
   q->setParameterValue(0, 1.0f);
   const auto in = test_signals::noise(300, 12);
   std::vector<float> out(in.size());
   auto inCopy = in;
   q->process(inCopy.data(), out.data(), static_cast<unsigned int>(in.size()));
   EXPECT_EQ(out, in);
   q->process(inCopy.data(), inCopy.data(), static_cast<unsigned int>(in.size()));
   EXPECT_EQ(inCopy, in);
}

TEST(Quadrafuzz, AmountZeroLeavesABandNearlyLinearAtAThird) {
   std::vector<float> buf = {0.001f, -0.5f, 1.0f, 3.0f};
   const auto in = buf;
   Quadrafuzz::distort(buf.data(), 0.0f, static_cast<unsigned int>(buf.size()));
   for (size_t i = 0; i < buf.size(); ++i) {
      EXPECT_EQ(buf[i], static_cast<float>(in[i] * (3.0f * 0.3490658654106988) / 3.1415927f));
      EXPECT_NEAR(buf[i], in[i] / 3.0f, 1e-6 * std::fabs(in[i]) + 1e-9);
   }
   // A full amount bends towards c / k = (3 + 150) 20 degrees / 150 in radians.
   float loud = 100.0f;
   Quadrafuzz::distort(&loud, 1.0f, 1);
   EXPECT_NEAR(loud, 153 * 0.3490658654106988 / 150, 0.01);
}

// The band filters are set up at the first call and again at the first call after the factor
// changes, for the new factor's rate.
TEST(Quadrafuzz, FactorChangeSetsTheFiltersUpAtTheNextCall) {
   auto q = std::make_unique<Quadrafuzz>();
   auto buf = test_signals::noise(128, 13, 0.3f);
   q->process(buf.data(), buf.data(), 128);
   EXPECT_EQ(q->filterRate, 8u);
   WebCore::Biquad expected;
   expected.setLowpassParams(147.0 / (8 * 44100.0 * 0.5), 0.7071067811865476);
   EXPECT_EQ(q->bands[0].m_b0, expected.m_b0);

   q->setParameterValue(9, 0.4f);
   EXPECT_EQ(q->filterRate, 8u);
   q->process(buf.data(), buf.data(), 128);
   EXPECT_EQ(q->filterRate, 2u);
   expected.setHighpassParams(4980.0 / (2 * 44100.0 * 0.5), 0.7071067811865476);
   EXPECT_EQ(q->bands[3].m_b0, expected.m_b0);
   EXPECT_EQ(q->bands[3].m_a1, expected.m_a1);
}

TEST(Quadrafuzz, EveryFactorGivesABoundedFuzz) {
   for (float factor : {0.0f, 0.4f, 0.7f, 1.0f}) {
      auto q = std::make_unique<Quadrafuzz>();
      q->setParameterValue(9, factor);
      auto buf = test_signals::sine(8192, 440, 44100);
      const auto in = buf;
      for (size_t i = 0; i < buf.size(); i += 100)
         q->process(&buf[i], &buf[i], static_cast<unsigned int>(std::min<size_t>(100, buf.size() - i)));
      float peak = 0;
      for (size_t i = 4096; i < buf.size(); ++i)
         peak = std::max(peak, std::fabs(buf[i]));
      EXPECT_GT(peak, 0.1f) << "factor setting " << factor;
      EXPECT_LT(peak, 2.0f) << "factor setting " << factor;
      EXPECT_NE(buf, in);
   }
}

} // namespace
