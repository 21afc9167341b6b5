#include "Clipper12.h"
#include "ScorchwireFX.h"

#include "TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <numbers>
#include <vector>

namespace {

// The clip stage as plainly as it can be written.
struct ClipReference {
   tbiquad highPass{};
   CParamSmooth driveSmoother{4.0f, 4.0f * 44100.0f};

   void process(float* buf, int n, float drive) {
      const double a = static_cast<float>(0.025 * 0.25f + 0.0017006749985739589) * (44100.0 / (4.0 * 44100));
      const float scaled = static_cast<float>(driveSmoother.process(drive) * 100.0);
      const float gain = std::max(4.0f, static_cast<float>(scaled * 0.32));
      for (int i = 0; i < n; ++i) {
         float v = static_cast<float>(IIR_doIIRhigh(highPass, a, buf[i])) * gain;
         v = v > 0.8f ? 0.8f : std::max(-0.8f, v);
         buf[i] = v * 0.25f;
      }
   }
};

TEST(Clipper12, ClipStageIsAGainedHighPassClippedAtPointTwo) {
   Clipper12 clip;
   clip.setSamplerate(44100);
   clip.drive.store(1.0f);
   ClipReference ref;
   auto buf = test_signals::noise(256 * 160, 4, 50.0f);
   auto expected = buf;
   float peak = 0;
   for (size_t i = 0; i < buf.size(); i += 256) {
      clip.processClipStage(&buf[i], 256);
      ref.process(&expected[i], 256, 1.0f);
      for (size_t k = i; k < i + 256; ++k)
         peak = std::max(peak, std::fabs(buf[k]));
   }
   EXPECT_EQ(buf, expected);
   EXPECT_EQ(peak, 0.8f * 0.25f);
}

// Entry k of a table sits at xmin + k / scale; T1 is read at |d| / (3 + |d|).
TEST(Clipper12, CircuitTablesHoldTheirRows) {
   constexpr double scale = 101.97000122070312;
   constexpr double xmin2 = 0.006000000052154064;
   struct Row {
      int k;
      float t1, t2pos, t2neg;
   };
   const Row rows[] = {{0, 0.0f, 0.0060301507f, 0.0060301507f},
                       {14, -0.35190952f, 0.17487437f, 0.17487437f},
                       {15, -0.35890886f, 0.18693468f, 0.18693466f},
                       {60, -0.45448634f, 0.71040803f, 0.63249016f},
                       {99, -0.5521558f, 0.8013412f, 0.6746817f}};
   for (const auto& r : rows) {
      const double v = r.k / scale;
      EXPECT_NEAR(Clipper12::diodePair(3 * v / (1 - v)), r.t1, 1e-6) << "T1 row " << r.k;
      EXPECT_NEAR(Clipper12::gainElement(xmin2 + v), r.t2pos, 1e-6) << "T2pos row " << r.k;
      EXPECT_NEAR(Clipper12::gainElement(-(xmin2 + v)), -r.t2neg, 1e-6) << "T2neg row " << r.k;
   }
   // Beyond the last entry both sides hold.
   EXPECT_FLOAT_EQ(static_cast<float>(Clipper12::gainElement(50.0)), 0.8013412f);
   EXPECT_FLOAT_EQ(static_cast<float>(Clipper12::gainElement(-50.0)), -0.6746817f);
}

// Below the first entry the tables extrapolate from their first two values, which turns negative
// for |z| under about 0.0011; the negative side negates that value rather than its magnitude.
TEST(Clipper12, GainElementNegatesTheExtrapolatedValueBelowTheFirstEntry) {
   constexpr double scale = 101.97000122070312;
   constexpr double xmin2 = 0.006000000052154064;
   const double first = 0.0060301507f;
   const double second = 0.018090453f;
   auto extrapolated = [&](double mag) {
      const double f = (mag - xmin2) * scale;
      return (1 - f) * first + f * second;
   };
   for (double mag : {0.0005, 0.001, 0.003}) {
      EXPECT_NEAR(Clipper12::gainElement(mag), extrapolated(mag), 1e-12) << "|z| " << mag;
      EXPECT_NEAR(Clipper12::gainElement(-mag), -extrapolated(mag), 1e-12) << "|z| " << mag;
   }
   // Zero counts as positive.
   EXPECT_NEAR(Clipper12::gainElement(0.0), extrapolated(0.0), 1e-12);
   EXPECT_LT(Clipper12::gainElement(0.0005), 0.0);
   EXPECT_GT(Clipper12::gainElement(-0.0005), 0.0);
}

// The circuit stage as one plain loop over the block, for comparison with the two-pass one.
struct CircuitReference {
   double N = 0, K = 0, X1 = 0, X2 = 0, W = 0, O = 0, V = 0, R1 = 0, R2 = 0, U = 0, P = 0;
   CParamSmooth toneSmoother{4.0f, 4.0f * 44100.0f};

   void process(float* buf, int n, float tone) {
      const float s = toneSmoother.process(tone);
      const float level = static_cast<float>(0.45 - 0.2 * tone);
      const double kInc = static_cast<float>(0.3 * s) * 0.007000000000000006;
      const double nInc = 1.0 * 0.007000000000000006;
      const double pInc =
          std::pow(10.0, static_cast<float>(32.0 * level - 20.0) * 0.05) * 0.007000000000000006;
      for (int i = 0; i < n; ++i) {
         const double x = buf[i];
         N = 0.993 * N + nInc;
         K = 0.993 * K + kInc;
         const double e = 3.91923990498812e-05 * N;
         const double D = (3.91923990498812e-05 - e) * 44100 + 0.0593824228028504;
         const double G = 0.75 * K + 0.5;
         const double H = -9.26800656732889e-10 * G;
         const double x0 = x - (-0.14108955456562763 * X1 + -0.7697603331553252 * X2) * 1.095880362452828;
         const double w = 0.000829239653576842 * X1 + 0.804528311900251 * x0 + X2 * -0.804528311900251;
         const double rho = (500000 * K + 5700) * 0.0041454;
         O = ((1 + rho) * w + W * (1 - rho)) * 0.05350095357567101 + O * 0.9023598644364358;
         const double L = 1.095880362452828 * w;
         const double d1 = O - L;
         const double y1 = Clipper12::diodePair(d1);
         const double Vn = L - -0.9999951753867531 * V - std::copysign(std::fabs(y1), -d1);
         const double R1n = (V * -0.91874796376781 + 0.91874796376781 * Vn) * 1.088435160816422 -
                            (-1.6874744750945754 * R1 + 0.8433408300428958 * R2) * 1.1846463462940695;
         const double z = (H * R2 + (G * R1 * 1.85360131346578e-09 + R1n * H)) * 2303912060.7361693;
         const double y2 = Clipper12::gainElement(z);
         const double Un = y2 - ((e - 3.91923990498812e-05) * 44100 + 0.0593824228028504) * U / D;
         P = 0.993 * P + pInc;
         buf[i] = static_cast<float>((U + Un) * P / D * 0.0593824228028504);
         X2 = X1;
         X1 = x0;
         W = w;
         V = Vn;
         R2 = R1;
         R1 = R1n;
         U = Un;
      }
   }
};

TEST(Clipper12, CircuitStageMatchesAPlainSingleLoop) {
   Clipper12 clip;
   clip.setSamplerate(44100);
   CircuitReference ref;
   const float tone = 0.3f;
   clip.tone.store(tone);
   const auto in = test_signals::noise(20000, 5, 0.2f);
   auto out = in;
   auto expected = in;
   const int blocks[] = {256, 4, 1, 300, 77};
   size_t pos = 0;
   for (int b = 0; pos < in.size(); b = (b + 1) % 5) {
      const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(blocks[b]), in.size() - pos));
      clip.processCircuitStage(&out[pos], n);
      ref.process(&expected[pos], n, tone);
      pos += static_cast<size_t>(n);
   }
   EXPECT_EQ(out, expected);
   EXPECT_FLOAT_EQ(clip.levelControl, static_cast<float>(0.45 - 0.2 * tone));
}

// Two channels side by side give exactly what each gives alone, state included.
TEST(Clipper12, PairOfChannelsMatchesSeparateRuns) {
   Clipper12 pairLeft, pairRight, aloneLeft, aloneRight;
   for (Clipper12* c : {&pairLeft, &pairRight, &aloneLeft, &aloneRight})
      c->setSamplerate(48000);
   for (Clipper12* c : {&pairLeft, &aloneLeft}) {
      c->drive.store(0.9f);
      c->tone.store(0.2f);
   }
   for (Clipper12* c : {&pairRight, &aloneRight}) {
      c->drive.store(0.3f);
      c->tone.store(0.7f);
   }
   const auto left = test_signals::noise(20000, 22, 0.6f);
   const auto right = test_signals::sine(20000, 1234, 192000, 1.0f);
   auto pl = left, pr = right, al = left, ar = right;
   const int blocks[] = {256, 4, 1, 300, 77};
   size_t pos = 0;
   for (int b = 0; pos < left.size(); b = (b + 1) % 5) {
      const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(blocks[b]), left.size() - pos));
      Clipper12::processPair(pairLeft, pairRight, &pl[pos], &pr[pos], n);
      aloneLeft.process(&al[pos], n);
      aloneRight.process(&ar[pos], n);
      pos += static_cast<size_t>(n);
   }
   EXPECT_EQ(pl, al);
   EXPECT_EQ(pr, ar);
   EXPECT_EQ(pairRight.U, aloneRight.U);
   EXPECT_EQ(pairRight.highPass.s[2], aloneRight.highPass.s[2]);
   EXPECT_EQ(pairRight.levelControl, aloneRight.levelControl);
}

// In-place iterative radix-2 FFT.
void fft(std::vector<std::complex<double>>& a) {
   const size_t n = a.size();
   for (size_t i = 1, j = 0; i < n; ++i) {
      size_t bit = n >> 1;
      for (; (j & bit) != 0; bit >>= 1)
         j ^= bit;
      j ^= bit;
      if (i < j)
         std::swap(a[i], a[j]);
   }
   for (size_t len = 2; len <= n; len <<= 1) {
      const auto w = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
      for (size_t i = 0; i < n; i += len) {
         std::complex<double> wk = 1;
         for (size_t k = 0; k < len / 2; ++k, wk *= w) {
            const auto u = a[i + k];
            const auto v = a[i + k + len / 2] * wk;
            a[i + k] = u + v;
            a[i + k + len / 2] = u - v;
         }
      }
   }
}

// Energy between 20 Hz and 10 kHz relative to the energy around the 15 kHz input, in dB.
double foldedBackDb(const std::vector<float>& signal, double rate) {
   constexpr size_t n = 16384;
   std::vector<std::complex<double>> spectrum(n);
   const size_t start = signal.size() - n;
   for (size_t i = 0; i < n; ++i) {
      const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n);
      spectrum[i] = hann * signal[start + i];
   }
   fft(spectrum);
   double folded = 0, fundamental = 0;
   for (size_t k = 1; k < n / 2; ++k) {
      const double f = static_cast<double>(k) * rate / n;
      const double e = std::norm(spectrum[k]);
      if (f >= 20 && f <= 10000)
         folded += e;
      if (std::fabs(f - 15000) < 50)
         fundamental += e;
   }
   return 10 * std::log10(folded / fundamental);
}

// Harmonics of a 15 kHz tone all lie above the 22.05 kHz Nyquist frequency; whatever lands below
// 10 kHz has folded back. Run four times oversampled, the hard-clipping shaper folds back far less
// (about 16 dB; what remains comes from harmonics beyond the 4x rate's own Nyquist frequency).
TEST(Clipper12, OversamplingKeepsFoldedBackHarmonicsDown) {
   constexpr double rate = 44100;
   constexpr double kDrive = 1.0;
   const auto in = test_signals::sine(2 * 44100, 15000, rate);

   auto fx = std::make_unique<ScorchwireFX>();
   fx->resume(rate, 256);
   fx->setParameter(4, 1.0 / 8); // Clip Inferno
   fx->setParameter(5, kDrive);
   auto left = in, right = in;
   for (size_t i = 0; i < in.size(); i += 256) {
      float* buffers[2] = {&left[i], &right[i]};
      fx->processDisto(buffers, static_cast<int>(std::min<size_t>(256, in.size() - i)));
   }

   Clipper12 plain;
   plain.oversample = false;
   plain.setSamplerate(static_cast<int>(rate));
   plain.drive.store(static_cast<float>(kDrive));
   plain.tone.store(0.5f);
   auto direct = in;
   for (size_t i = 0; i < in.size(); i += 64)
      plain.process(&direct[i], static_cast<int>(std::min<size_t>(64, in.size() - i)));

   const double oversampledDb = foldedBackDb(left, rate);
   const double directDb = foldedBackDb(direct, rate);
   std::printf("folded back below 10 kHz, relative to the 15 kHz tone: oversampled %.1f dB, "
               "host rate %.1f dB\n",
               oversampledDb, directDb);
   EXPECT_LT(oversampledDb, directDb - 12.0);
}

} // namespace
