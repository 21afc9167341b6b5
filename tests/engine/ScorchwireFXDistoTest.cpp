// The distortion stage of the engine: chunking, type selection, parameter fan-out and the
// rate set-up at resume, and every type's behaviour at the extremes of its input.
#include "ScorchwireFX.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr const char* kTypeNames[9] = {"Overdrive",   "Clip Inferno", "Hot Valve",
                                       "Ultracrunch", "Bit Reducer",  "TurboFuzz",
                                       "RageClip",    "Brutal Bill",  "Quadrafuzz"};

std::unique_ptr<ScorchwireFX> makeEngine(int type, double drive = 0.5, double rate = 44100) {
   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(rate, 256);
   fx->setParameter(4, type / 8.0);
   fx->setParameter(5, drive);
   return fx;
}

struct Stereo {
   std::vector<float> left, right;
   explicit Stereo(const std::vector<float>& mono) : left(mono), right(mono) {
      for (auto& v : right)
         v *= -0.5f;
   }
   float* buffers[2];
   float** at(size_t offset) {
      buffers[0] = left.data() + offset;
      buffers[1] = right.data() + offset;
      return buffers;
   }
};

TEST(ScorchwireFXDisto, SplitsBlocksIntoChunksOfAtMost64) {
   struct Case {
      int n;
      std::vector<int> chunks;
   };
   const Case cases[] = {{64, {64}}, {65, {64, 1}}, {130, {64, 64, 2}}, {20, {20}}};
   for (const auto& c : cases) {
      const auto in = test_signals::noise(static_cast<size_t>(c.n), 14);
      // Overdrive advances its smoothers once per call, so the chunk boundaries show in the output.
      auto whole = makeEngine(0, 1.0);
      auto chunked = makeEngine(0, 1.0);
      Stereo a(in), b(in);
      whole->processDisto(a.at(0), c.n);
      size_t offset = 0;
      for (int len : c.chunks) {
         chunked->processInternalDisto(b.at(offset), len);
         offset += static_cast<size_t>(len);
      }
      EXPECT_EQ(a.left, b.left) << c.n << " samples";
      EXPECT_EQ(a.right, b.right) << c.n << " samples";

      CParamSmooth smoother(4.0f, 44100.0f);
      float expected = 0;
      for (size_t i = 0; i < c.chunks.size(); ++i)
         expected = smoother.process(1.0f);
      EXPECT_EQ(whole->overdrive[0].driveSmoother.z, expected) << c.n << " samples";
   }
}

TEST(ScorchwireFXDisto, SelectsTheNearestTypeHalvesUp) {
   struct Case {
      double value;
      int type;
   };
   const Case cases[] = {{0.0624, 0}, {0.0625, 1}, {0.18, 1}, {0.5, 4}, {0.93, 7}, {0.9375, 8}, {1.0, 8}};
   const auto in = test_signals::sine(512, 330, 44100, 0.8f);
   for (const auto& c : cases) {
      auto fx = makeEngine(0);
      fx->setParameter(4, c.value);
      auto ref = makeEngine(c.type);
      auto neighbour = makeEngine(c.type == 8 ? 7 : c.type + 1);
      Stereo a(in), b(in), d(in);
      fx->processDisto(a.at(0), 512);
      ref->processDisto(b.at(0), 512);
      neighbour->processDisto(d.at(0), 512);
      EXPECT_EQ(a.left, b.left) << "value " << c.value << " should select " << kTypeNames[c.type];
      EXPECT_NE(a.left, d.left) << "value " << c.value;
   }
}

TEST(ScorchwireFXDisto, DriveReachesEveryTypeWithItsMapping) {
   for (float p : {0.0f, 0.3f, 1.0f}) {
      auto fx = makeEngine(0);
      fx->setParameter(5, p);
      for (int c = 0; c < 2; ++c) {
         EXPECT_EQ(fx->overdrive[c].drive.load(), p);
         EXPECT_EQ(fx->clipper12[c].drive.load(), p);
         EXPECT_EQ(fx->valve[c].drive.load(), p);
         EXPECT_EQ(fx->cruncher[c].drive.load(), static_cast<float>(0.3 * p + 0.11));
         EXPECT_EQ(fx->bitReduzer[c].reduceRate.load(), static_cast<int>(static_cast<float>(24.0 * p + 1)));
         EXPECT_EQ(fx->fuzz[c].drive.load(), 0.92f * p);
         EXPECT_EQ(fx->rageClip[c].drive.load(), p);
         EXPECT_EQ(fx->sinRemapper[c].drive.load(), p);
         EXPECT_EQ(fx->quadrafuzz[c].levels[0].value.load(), static_cast<float>(0.5 * p + 0.5));
      }
   }
}

TEST(ScorchwireFXDisto, SecondParameterReachesEveryTypeWithItsMapping) {
   for (float q : {0.0f, 0.5f, 0.77f, 1.0f}) {
      auto fx = makeEngine(0);
      fx->setParameter(6, q);
      for (int c = 0; c < 2; ++c) {
         EXPECT_EQ(fx->overdrive[c].amount.load(), q);
         EXPECT_EQ(fx->clipper12[c].tone.load(), q);
         EXPECT_EQ(fx->valve[c].mix.load(), q);
         EXPECT_EQ(fx->cruncher[c].threshold.load(), static_cast<float>(0.4 * q + 0.2));
         EXPECT_EQ(fx->bitReduzer[c].dryWet.load(), q);
         EXPECT_EQ(fx->fuzz[c].tone.load(), static_cast<float>(0.75 * q + 0.25));
         EXPECT_EQ(fx->rageClip[c].hpCoef.load(), 0.025 * q + 0.001700675);
         EXPECT_EQ(fx->sinRemapper[c].hpCoef.load(),
                   static_cast<double>(0.025f * q + 0.0017006749985739589f));
      }
   }
}

TEST(ScorchwireFXDisto, QuadrafuzzParametersReachBothChannels) {
   auto fx = makeEngine(8);
   const float values[4] = {0.1f, 0.2f, 0.3f, 0.4f};
   for (int i = 0; i < 4; ++i)
      fx->setParameter(9 + i, values[i]);
   for (int c = 0; c < 2; ++c)
      for (int i = 0; i < 4; ++i)
         EXPECT_EQ(fx->quadrafuzz[c].bandAmounts[i].load(), values[i]) << "channel " << c << " band " << i;
}

// RageClip after Clip Inferno runs through the oversampler exactly as Clip Inferno left it.
TEST(ScorchwireFXDisto, OversamplerMemoriesCarryAcrossTypes) {
   const auto first = test_signals::noise(256, 15, 0.7f);
   const auto second = test_signals::noise(64, 16, 0.7f);
   auto fx = makeEngine(1);
   auto manual = makeEngine(1);
   Stereo a(first), b(first);
   fx->processDisto(a.at(0), 256);
   manual->processDisto(b.at(0), 256);

   fx->setParameter(4, 6 / 8.0);
   Stereo a2(second), b2(second);
   fx->processDisto(a2.at(0), 64);
   auto& os = manual->distoOversampling;
   float* channels[2] = {b2.left.data(), b2.right.data()};
   for (int c = 0; c < 2; ++c) {
      os.upsampler.process_block_1ch(c, os.work, channels[c], 64);
      manual->processRageClip(manual->rageClip[c], os.work, 256);
      os.downsampler.process_block_1ch(c, channels[c], os.work, 64);
   }
   EXPECT_EQ(a2.left, b2.left);
   EXPECT_EQ(a2.right, b2.right);
}

TEST(ScorchwireFXDisto, ResumePreparesTheRateDependentTypes) {
   auto fx = makeEngine(6);
   Stereo warm(test_signals::noise(512, 17));
   fx->processDisto(warm.at(0), 512);
   fx->bitReduzer[0].process(warm.left.data(), 7);
   const auto counter = fx->bitReduzer[0].counter;
   const float overdriveSmoothed = fx->overdrive[0].driveSmoother.z;

   fx->resume(48000, 512);
   const float at4x = expf(-6.2831855f / (4.0f * 0.001f * 192000.0f));
   const float at48k40ms = expf(-6.2831855f / (40.0f * 0.001f * 48000.0f));
   for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(fx->clipper12[c].sampleRate, 48000);
      EXPECT_EQ(fx->clipper12[c].driveSmoother.a, at4x);
      EXPECT_EQ(fx->clipper12[c].toneSmoother.z, 0.0f);
      EXPECT_EQ(fx->valve[c].driveSmoother.a, at4x);
      EXPECT_EQ(fx->valve[c].mixSmoother.a, expf(-6.2831855f / (20.0f * 0.001f * 192000.0f)));
      EXPECT_EQ(fx->fuzz[c].rho, 0.0);
      EXPECT_EQ(fx->rageClip[c].sampleRate, 48000.0);
      EXPECT_EQ(fx->rageClip[c].driveSmoother.a, at48k40ms);
      EXPECT_EQ(fx->rageClip[c].driveSmoother.z, 0.0f);
      for (double s : fx->rageClip[c].highPass.s)
         EXPECT_EQ(s, 0.0);
      EXPECT_EQ(fx->sinRemapper[c].driveSmoother.a, at48k40ms);
      EXPECT_EQ(fx->sinRemapper[c].rateRatio, 44100.0 / 48000.0);
   }
   // Untouched: the types without rate-dependent state.
   EXPECT_EQ(fx->bitReduzer[0].counter, counter);
   EXPECT_EQ(fx->overdrive[0].driveSmoother.z, overdriveSmoothed);
   // The shared oversampler starts again from silence: its first output is 0.
   float one = 1.0f;
   float quad[4];
   fx->distoOversampling.upsampler.process_block_1ch(0, quad, &one, 1);
   EXPECT_EQ(quad[3], 0.0f);
}

TEST(ScorchwireFXDisto, BrutalBillUsesItsLowestHighPassAfterActivation) {
   auto fx = makeEngine(7);
   fx->setParameter(6, 0.8);
   EXPECT_EQ(fx->sinRemapper[0].hpCoef.load(), static_cast<double>(0.025f * 0.8f + 0.0017006749985739589f));
   fx->resume(44100, 256);
   for (int c = 0; c < 2; ++c)
      EXPECT_EQ(fx->sinRemapper[c].hpCoef.load(), 0.0017006749985739589);
   EXPECT_EQ(fx->getParameter(6), static_cast<double>(0.8f));
   fx->setParameter(6, 0.8);
   EXPECT_EQ(fx->sinRemapper[1].hpCoef.load(), static_cast<double>(0.025f * 0.8f + 0.0017006749985739589f));
}

// Through the whole engine, as the host drives it: full-scale square waves and noise, silence,
// and a burst followed by silence, at the extremes of both distortion controls.
TEST(ScorchwireFXDisto, EveryTypeStaysFiniteAndBoundedAtTheExtremes) {
   constexpr double rate = 48000;
   std::vector<std::pair<const char*, std::vector<float>>> signals;
   signals.emplace_back("square", test_signals::square(rate, 100, rate));
   signals.emplace_back("noise", test_signals::noise(static_cast<size_t>(rate), 18));
   signals.emplace_back("silence", std::vector<float>(static_cast<size_t>(rate), 0.0f));
   auto burst = test_signals::noise(static_cast<size_t>(rate * 2), 19);
   std::fill(burst.begin() + static_cast<long>(rate / 4), burst.end(), 0.0f);
   signals.emplace_back("burst then silence", burst);

   for (int type = 0; type < 9; ++type) {
      float worst = 0;
      for (double drive : {0.0, 1.0})
         for (double second : {0.0, 1.0})
            for (const auto& [name, signal] : signals) {
               auto fx = makeEngine(type, drive, rate);
               fx->setParameter(6, second);
               Stereo s(signal);
               for (size_t i = 0; i < signal.size(); i += 256) {
                  const int n = static_cast<int>(std::min<size_t>(256, signal.size() - i));
                  float** b = s.at(i);
                  fx->process(b, b, n);
               }
               for (size_t i = 0; i < signal.size(); ++i) {
                  ASSERT_TRUE(std::isfinite(s.left[i]) && std::isfinite(s.right[i]))
                      << kTypeNames[type] << ", " << name << ", drive " << drive << ", sample " << i;
                  worst = std::max({worst, std::fabs(s.left[i]), std::fabs(s.right[i])});
               }
            }
      std::printf("%-12s peak %.3f\n", kTypeNames[type], worst);
      EXPECT_LT(worst, 4.0f) << kTypeNames[type];
   }
}

TEST(ScorchwireFXDisto, EveryTypeShapesASine) {
   const auto in = test_signals::sine(4096, 220, 44100, 0.7f);
   for (int type = 0; type < 9; ++type) {
      auto fx = makeEngine(type, 0.7);
      Stereo s(in);
      for (size_t i = 0; i < in.size(); i += 256)
         fx->processDisto(s.at(i), 256);
      float peak = 0;
      for (size_t i = 2048; i < in.size(); ++i)
         peak = std::max(peak, std::fabs(s.left[i]));
      EXPECT_NE(s.left, in) << kTypeNames[type];
      EXPECT_GT(peak, 0.02f) << kTypeNames[type];
   }
}

} // namespace
