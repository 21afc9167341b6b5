#include "EngineHarness.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

#include <random>

using namespace engine_harness;
using namespace signal_tools;

namespace {
constexpr double kRate = 44100.0;

void preFilter(ScorchwireFX& fx, Stereo& s) {
   runInBlocks(s, 256, [&fx](float** b, int n) { fx.processPreFilter(b, b, n); });
}

void postFilter(ScorchwireFX& fx, Stereo& s) {
   runInBlocks(s, 256, [&fx](float** b, int n) { fx.processPostFilter(b, n); });
}

Stereo noise(int frames, unsigned seed) {
   std::mt19937 gen(seed);
   std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
   Stereo s(static_cast<size_t>(frames));
   for (size_t i = 0; i < s.size(); ++i) {
      s.left[i] = dist(gen);
      s.right[i] = dist(gen);
   }
   return s;
}

// Output of the pre-filter on a fixed noise signal with parameter 3 stored as given (bypassing
// setParameter's range clamp, to reach the stage with any stored value).
Stereo preFiltered(float typeValue) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   fx.setParameter(1, 0.6);
   fx.setParameter(2, 0.4);
   fx.params[3].store(typeValue);
   Stereo s = noise(4096, 7);
   preFilter(fx, s);
   return s;
}
} // namespace

TEST(ScorchwireFXPreFilter, NoFilterPassesTheInputBitExact) {
   for (float type : {0.0f, 0.124f, 1.2f, -0.2f}) {
      ScorchwireFX fx;
      fx.resume(kRate, 256);
      fx.setParameter(0, 0.3);
      fx.setParameter(1, 1.0);
      fx.setParameter(2, 1.0);
      fx.params[3].store(type);
      const Stereo in = noise(2048, 3);
      Stereo out(in.size());
      for (size_t at = 0; at < in.size(); at += 256) {
         float* inPtr[2] = {const_cast<float*>(in.left.data()) + at,
                            const_cast<float*>(in.right.data()) + at};
         float* outPtr[2] = {out.left.data() + at, out.right.data() + at};
         fx.processPreFilter(inPtr, outPtr, 256);
      }
      EXPECT_EQ(out.left, in.left) << "parameter 3 at " << type;
      EXPECT_EQ(out.right, in.right) << "parameter 3 at " << type;
      Stereo inPlace = in;
      preFilter(fx, inPlace);
      EXPECT_EQ(inPlace.left, in.left) << "in place, parameter 3 at " << type;
   }
}

// roundf(4 x value) picks the type: values on either side of each boundary select the types of
// their neighbours in the list.
TEST(ScorchwireFXPreFilter, TypeFollowsTheRoundedValue) {
   const Stereo dry = noise(4096, 7);
   struct Case {
      float value, sameAs;
   };
   for (const Case& c : {Case{0.125f, 0.25f}, Case{0.374f, 0.25f}, Case{0.375f, 0.5f}, Case{0.625f, 0.75f},
                         Case{0.874f, 0.75f}, Case{0.875f, 1.0f}}) {
      const Stereo out = preFiltered(c.value);
      EXPECT_EQ(out.left, preFiltered(c.sameAs).left) << c.value << " should select the type of " << c.sameAs;
      EXPECT_NE(out.left, dry.left) << c.value << " should filter";
   }
   const Stereo types[] = {preFiltered(0.25f), preFiltered(0.5f), preFiltered(0.75f), preFiltered(1.0f)};
   for (int a = 0; a < 4; ++a)
      for (int b = a + 1; b < 4; ++b)
         EXPECT_NE(types[a].left, types[b].left) << "types " << a + 1 << " and " << b + 1 << " differ";
}

// At the lowest cutoff the smoothed w settles at its floor 0.1: 0.1 x 22050 + 5 Hz.
TEST(ScorchwireFXPreFilter, LadderLowPassFloorIs2210HzAt44100) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   fx.setParameter(0, 0.0);
   fx.setParameter(2, 0.0);
   fx.setParameter(3, 0.25);
   Stereo s(44100, 0.0f);
   preFilter(fx, s);
   EXPECT_NEAR(fx.ladderLeft.cutoff, 2210.0f, 0.05f);
   EXPECT_EQ(fx.ladderRight.cutoff, fx.ladderLeft.cutoff);
   EXPECT_EQ(fx.ladderLeft.mode, 0);
}

// Cutoff and envelope both at full: w = 0.2 x env x 6 + 0.9801 is clamped to 1.0, the requested
// frequency is 22055 Hz and the ladder works at its limit of 0.425 x 44100 Hz.
TEST(ScorchwireFXPreFilter, FullCutoffAndEnvelopeClampToTheLadderLimit) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   fx.setParameter(0, 1.0);
   fx.setParameter(2, 1.0);
   fx.setParameter(3, 0.25);
   Stereo s(44100, 1.0f);
   preFilter(fx, s);
   EXPECT_NEAR(fx.ladderLeft.cutoff, 22055.0f, 0.5f);
   daisysp::LadderFilter limit;
   limit.Init(44100.0f);
   limit.SetFreq(0.425f * 44100.0f);
   EXPECT_EQ(fx.ladderLeft.alpha, limit.alpha);
}

TEST(ScorchwireFXPreFilter, OnlyTheLeftInputsEnvelopeOpensTheCutoff) {
   auto settledCutoff = [](float leftLevel, float rightLevel) {
      ScorchwireFX fx;
      fx.resume(kRate, 256);
      fx.setParameter(0, 0.0);
      fx.setParameter(2, 1.0);
      fx.setParameter(3, 0.25);
      Stereo s(44100);
      std::fill(s.left.begin(), s.left.end(), leftLevel);
      std::fill(s.right.begin(), s.right.end(), rightLevel);
      preFilter(fx, s);
      return fx.ladderLeft.cutoff;
   };
   EXPECT_NEAR(settledCutoff(0.0f, 1.0f), 2210.0f, 0.05f);
   // envelope 0.5: w = 0.2 x 0.5 x 6 = 0.6, the ladder at 0.6 x 22050 + 5 Hz
   EXPECT_NEAR(settledCutoff(-0.5f, 0.0f), 13235.0f, 1.0f);
}

// After every activation the smoothed cutoff starts from 0, so the first sample is filtered
// just above the ladder's 5 Hz floor and the cutoff glides up over 60 ms.
TEST(ScorchwireFXPreFilter, CutoffGlidesUpFromZeroAfterActivation) {
   ScorchwireFX fx;
   fx.setParameter(3, 0.25);
   for (int activation = 0; activation < 2; ++activation) {
      fx.resume(kRate, 256);
      float l = 0.0f, r = 0.0f;
      float* b[2] = {&l, &r};
      fx.processPreFilter(b, b, 1);
      CParamSmooth reference(60.0f, 44100.0f);
      const float c = static_cast<float>(0.5f * 0.99);
      const float fc = reference.process(static_cast<float>(0.0 + c * c));
      EXPECT_EQ(fx.ladderLeft.cutoff, static_cast<float>(fc * kRate * 0.5 + 5.0))
          << "activation " << activation;
      EXPECT_LT(fx.ladderLeft.cutoff, 20.0f);

      Stereo s(2645, 0.0f); // 60 ms less the first sample
      preFilter(fx, s);
      EXPECT_GT(fx.ladderLeft.cutoff, 0.99f * (0.245025f * 22050.0f + 5.0f));
   }
}

TEST(ScorchwireFXPreFilter, ActivationKeepsFilterMemoriesAndEnvelope) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   fx.setParameter(2, 1.0);
   fx.setParameter(3, 1.0);
   Stereo s = noise(4096, 11);
   preFilter(fx, s);
   const float ladderOut = fx.ladderLeft.stageOutput[3];
   const float highLife = fx.preFilterLeft.b4;
   const double envelope = fx.envelopeFollower.envelope;
   fx.resume(48000.0, 512);
   EXPECT_EQ(fx.ladderLeft.stageOutput[3], ladderOut);
   EXPECT_EQ(fx.preFilterLeft.b4, highLife);
   EXPECT_EQ(fx.envelopeFollower.envelope, envelope);
   EXPECT_EQ(fx.ladderLeft.sampleRate, 48000.0f);
   EXPECT_EQ(fx.ladderLeft.drive, 2.0f);
}

namespace {
// Post-filter gain in dB on a sine once the 100 ms smoother has settled.
double postFilterGainDb(float absorption, double hz) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   fx.setParameter(7, absorption);
   Stereo settle(sine(hz, kRate, 44100), sine(hz, kRate, 44100));
   postFilter(fx, settle);
   const auto in = sine(hz, kRate, 22050);
   Stereo s(in, in);
   postFilter(fx, s);
   return decibels(rms(s.left.data() + 2048, 20000) / rms(in.data() + 2048, 20000));
}
} // namespace

TEST(ScorchwireFXPostFilter, FullAbsorptionDarkensAndZeroIsFlat) {
   struct Case {
      float absorption;
      double hz, expectedDb, toleranceDb;
   };
   for (const Case& c :
        {Case{1.0f, 5000.0, -25.0, 1.0}, Case{1.0f, 100.0, 0.0, 0.05}, Case{0.0f, 100.0, 0.0, 0.01},
         Case{0.0f, 1000.0, 0.0, 0.01}, Case{0.0f, 5000.0, 0.0, 0.01}, Case{0.0f, 12000.0, 0.0, 0.01},
         Case{0.0f, 20000.0, 0.0, 0.01}}) {
      EXPECT_NEAR(postFilterGainDb(c.absorption, c.hz), c.expectedDb, c.toleranceDb)
          << "parameter 7 at " << c.absorption << ", " << c.hz << " Hz";
   }
}

TEST(ScorchwireFXPostFilter, RecordsTheLastOutputOfNonEmptyBlocks) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   Stereo s(64, 0.5f);
   std::fill(s.right.begin(), s.right.end(), -0.25f);
   postFilter(fx, s);
   EXPECT_EQ(fx.lastPostFilterLeft, static_cast<double>(s.left.back()));
   EXPECT_EQ(fx.lastPostFilterRight, static_cast<double>(s.right.back()));
   float* empty[2] = {s.left.data(), s.right.data()};
   fx.processPostFilter(empty, 0);
   EXPECT_EQ(fx.lastPostFilterLeft, static_cast<double>(s.left.back())) << "an empty block keeps it";
}

TEST(ScorchwireFXPostFilter, ActivationClearsThePostFilter) {
   ScorchwireFX fx;
   fx.resume(kRate, 256);
   Stereo s(256, 1.0f);
   postFilter(fx, s);
   fx.resume(kRate, 256);
   EXPECT_EQ(fx.postFilterLeft.b4, 0.0f);
   EXPECT_EQ(fx.postFilterRight.b0, 0.0f);
   EXPECT_EQ(fx.postFilterSmoother.z, 0.0f);
}
