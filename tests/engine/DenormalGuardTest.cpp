#include "DenormalGuard.h"
#include "ScorchwireFX.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <vector>
#include <xmmintrin.h>

using test_signals::isSubnormal;

namespace {

constexpr unsigned int kFtzDaz = DenormalGuard::kFlushToZero | DenormalGuard::kDenormalsAreZero;

// The control part of MXCSR, without the sticky exception flags that arithmetic sets.
unsigned int controlBits() {
   return _mm_getcsr() & ~0x3Fu;
}

// Through volatile so that the compiler cannot fold the arithmetic.
float product(float a, float b) {
   volatile float x = a;
   volatile float y = b;
   return x * y;
}

TEST(DenormalGuard, FlushesDenormalsWhileAliveAndRestoresTheCallersState) {
   const unsigned int before = controlBits();
   ASSERT_EQ(before & kFtzDaz, 0u) << "the test expects the default floating-point environment";
   EXPECT_TRUE(isSubnormal(product(1e-30f, 1e-10f)));
   {
      const DenormalGuard guard;
      EXPECT_EQ(controlBits() & kFtzDaz, kFtzDaz);
      EXPECT_EQ(product(1e-30f, 1e-10f), 0.0f);
      EXPECT_EQ(product(FLT_MIN, 2.0f), 2.0f * FLT_MIN) << "normal results are exact as ever";
      { const DenormalGuard nested; }
      EXPECT_EQ(controlBits() & kFtzDaz, kFtzDaz) << "a nested guard restores its caller's flags";
   }
   EXPECT_EQ(controlBits(), before);
   EXPECT_TRUE(isSubnormal(product(1e-30f, 1e-10f)));

   // A caller that already flushes keeps flushing.
   _mm_setcsr(before | DenormalGuard::kFlushToZero);
   { const DenormalGuard guard; }
   EXPECT_EQ(controlBits(), before | DenormalGuard::kFlushToZero);
   _mm_setcsr(before);
}

// Processors run on a loud signal give bit-identical results with and without the guard: only
// denormal values are affected, and there are none here.
TEST(DenormalGuard, LeavesResultsThatAreNotDenormalUnchanged) {
   const auto in = test_signals::noise(20000, 20, 0.8f);
   auto run = [&](bool guarded) {
      auto fx = std::make_unique<ScorchwireFX>();
      fx->resume(44100, 256);
      fx->setParameter(5, 0.6);
      std::vector<float> out;
      for (int type = 0; type < 9; ++type) {
         fx->setParameter(4, type / 8.0);
         auto left = in, right = in;
         for (size_t i = 0; i < in.size(); i += 250) {
            float* b[2] = {&left[i], &right[i]};
            const int n = static_cast<int>(std::min<size_t>(250, in.size() - i));
            if (guarded) {
               const DenormalGuard guard;
               fx->processDisto(b, n);
            } else {
               fx->processDisto(b, n);
            }
         }
         out.insert(out.end(), left.begin(), left.end());
      }
      return out;
   };
   EXPECT_EQ(run(true), run(false));
}

// The decaying states of the running type, as far as the engine exposes them.
std::vector<double> decayingState(const ScorchwireFX& fx, int type) {
   std::vector<double> s;
   for (int c = 0; c < 2; ++c) {
      switch (type) {
      case 1: {
         const auto& k = fx.clipper12[c];
         s.insert(s.end(),
                  {k.highPass.s[0], k.highPass.s[1], k.highPass.s[2], k.X1, k.X2, k.W, k.O, k.V, k.R1, k.R2});
         break;
      }
      case 5:
         for (const auto& st : fx.fuzz[c].stages)
            s.insert(s.end(), {st.k, st.o1, st.o2, st.c, st.ep});
         s.insert(s.end(), {fx.fuzz[c].x1, fx.fuzz[c].sp});
         break;
      case 6:
         s.insert(s.end(), std::begin(fx.rageClip[c].highPass.s), std::begin(fx.rageClip[c].highPass.s) + 3);
         break;
      case 7:
         s.insert(s.end(), std::begin(fx.sinRemapper[c].highPass.s),
                  std::begin(fx.sinRemapper[c].highPass.s) + 3);
         break;
      case 8:
         for (const auto& b : fx.quadrafuzz[c].bands)
            s.insert(s.end(), {b.m_y1, b.m_y2});
         break;
      default:
         break;
      }
   }
   return s;
}

// A burst followed by ten seconds of digital silence: inside process, filter states that decay
// towards zero reach zero instead of lingering as denormals, and nothing denormal comes out.
TEST(DenormalGuard, SilenceAfterABurstLeavesNoDenormalsInAnyType) {
   constexpr int rate = 44100;
   const unsigned int before = controlBits();
   for (int type = 0; type < 9; ++type) {
      auto fx = std::make_unique<ScorchwireFX>();
      fx->resume(rate, 256);
      fx->setParameter(4, type / 8.0);
      fx->setParameter(5, 0.8);
      auto left = test_signals::noise(static_cast<size_t>(rate) * 10 + rate / 2, 21);
      std::fill(left.begin() + rate / 2, left.end(), 0.0f);
      auto right = left;
      for (size_t i = 0; i < left.size(); i += 256) {
         float* b[2] = {&left[i], &right[i]};
         fx->process(b, b, static_cast<int>(std::min<size_t>(256, left.size() - i)));
         ASSERT_EQ(controlBits(), before);
         for (double v : decayingState(*fx, type))
            ASSERT_FALSE(isSubnormal(v)) << "type " << type << " state at sample " << i;
      }
      for (size_t i = 0; i < left.size(); ++i)
         ASSERT_FALSE(isSubnormal(left[i]) || isSubnormal(right[i])) << "type " << type << " sample " << i;
   }
}

} // namespace
