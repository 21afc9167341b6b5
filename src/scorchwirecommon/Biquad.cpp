#include "Biquad.h"

#include <algorithm>
#include <cmath>
#include <emmintrin.h>

namespace WebCore {

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kSmallestNormalFloat = 1.1754943508222875e-38;
} // namespace

void Biquad::setLowpassParams(double cutoff, double resonance) {
   if (cutoff >= 1.0) {
      setNormalizedCoefficients(1, 0, 0, 1, 0, 0);
      return;
   }
   if (cutoff <= 0.0) {
      setNormalizedCoefficients(0, 0, 0, 1, 0, 0);
      return;
   }
   const double g = std::pow(10.0, -0.05 * std::max(0.0, resonance));
   const double w0 = kPi * cutoff;
   const double cosw = std::cos(w0);
   const double alpha = 0.5 * std::sin(w0) * g;
   const double b1 = 1.0 - cosw;
   const double b0 = 0.5 * b1;
   setNormalizedCoefficients(b0, b1, b0, 1.0 + alpha, -2.0 * cosw, 1.0 - alpha);
}

void Biquad::setHighpassParams(double cutoff, double resonance) {
   if (cutoff >= 1.0) {
      setNormalizedCoefficients(0, 0, 0, 1, 0, 0);
      return;
   }
   if (cutoff <= 0.0) {
      setNormalizedCoefficients(1, 0, 0, 1, 0, 0);
      return;
   }
   const double g = std::pow(10.0, -0.05 * std::max(0.0, resonance));
   const double w0 = kPi * cutoff;
   const double cosw = std::cos(w0);
   const double alpha = 0.5 * std::sin(w0) * g;
   const double b0 = 0.5 * (1.0 + cosw);
   const double b1 = -(1.0 + cosw);
   setNormalizedCoefficients(b0, b1, b0, 1.0 + alpha, -2.0 * cosw, 1.0 - alpha);
}

void Biquad::setBandpassParams(double frequency, double Q) {
   if (!(frequency > 0.0 && frequency < 1.0)) {
      setNormalizedCoefficients(0, 0, 0, 1, 0, 0);
      return;
   }
   if (Q <= 0.0) {
      setNormalizedCoefficients(1, 0, 0, 1, 0, 0);
      return;
   }
   const double w0 = kPi * frequency;
   const double alpha = std::sin(w0) / (2.0 * Q);
   setNormalizedCoefficients(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * std::cos(w0), 1.0 - alpha);
}

void Biquad::setNormalizedCoefficients(double b0, double b1, double b2, double a0, double a1, double a2) {
   m_b0 = b0 / a0;
   m_b1 = b1 / a0;
   m_b2 = b2 / a0;
   m_a1 = a1 / a0;
   m_a2 = a2 / a0;
}

void Biquad::reset() {
   m_x1 = m_x2 = m_y1 = m_y2 = 0.0;
}

void Biquad::process(const float* src, float* dst, size_t n) {
   for (size_t i = 0; i < n; ++i)
      dst[i] = processSample(src[i]);
   flushDecayedMemories();
}

namespace {

// Two filters in the two lanes of SSE2 doubles.
struct BiquadPair {
   BiquadPair(const Biquad& lo, const Biquad& hi)
       : b0(_mm_set_pd(hi.m_b0, lo.m_b0)), b1(_mm_set_pd(hi.m_b1, lo.m_b1)), b2(_mm_set_pd(hi.m_b2, lo.m_b2)),
         a1(_mm_set_pd(hi.m_a1, lo.m_a1)), a2(_mm_set_pd(hi.m_a2, lo.m_a2)), x1(_mm_set_pd(hi.m_x1, lo.m_x1)),
         x2(_mm_set_pd(hi.m_x2, lo.m_x2)), y1(_mm_set_pd(hi.m_y1, lo.m_y1)),
         y2(_mm_set_pd(hi.m_y2, lo.m_y2)) {}

   __m128 step(__m128d x) {
      __m128d y = _mm_add_pd(_mm_mul_pd(b0, x), _mm_mul_pd(b1, x1));
      y = _mm_add_pd(y, _mm_mul_pd(b2, x2));
      y = _mm_sub_pd(y, _mm_mul_pd(a1, y1));
      y = _mm_sub_pd(y, _mm_mul_pd(a2, y2));
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
      return _mm_cvtpd_ps(y);
   }

   void store(Biquad& lo, Biquad& hi) const {
      _mm_storel_pd(&lo.m_x1, x1);
      _mm_storeh_pd(&hi.m_x1, x1);
      _mm_storel_pd(&lo.m_x2, x2);
      _mm_storeh_pd(&hi.m_x2, x2);
      _mm_storel_pd(&lo.m_y1, y1);
      _mm_storeh_pd(&hi.m_y1, y1);
      _mm_storel_pd(&lo.m_y2, y2);
      _mm_storeh_pd(&hi.m_y2, y2);
   }

   const __m128d b0, b1, b2, a1, a2;
   __m128d x1, x2, y1, y2;
};

} // namespace

void Biquad::processFour(Biquad (&f)[4], const float* src, float* const (&dst)[4], size_t n) {
   BiquadPair p01(f[0], f[1]);
   BiquadPair p23(f[2], f[3]);
   float* const d0 = dst[0];
   float* const d1 = dst[1];
   float* const d2 = dst[2];
   float* const d3 = dst[3];
   for (size_t i = 0; i < n; ++i) {
      const __m128d x = _mm_set1_pd(src[i]);
      const __m128 y01 = p01.step(x);
      const __m128 y23 = p23.step(x);
      d0[i] = _mm_cvtss_f32(y01);
      d1[i] = _mm_cvtss_f32(_mm_shuffle_ps(y01, y01, 1));
      d2[i] = _mm_cvtss_f32(y23);
      d3[i] = _mm_cvtss_f32(_mm_shuffle_ps(y23, y23, 1));
   }
   p01.store(f[0], f[1]);
   p23.store(f[2], f[3]);
   for (auto& filter : f)
      filter.flushDecayedMemories();
}

void Biquad::flushDecayedMemories() {
   if (m_x1 == 0.0 && m_x2 == 0.0) {
      if (std::fabs(m_y1) < kSmallestNormalFloat)
         m_y1 = 0.0;
      if (std::fabs(m_y2) < kSmallestNormalFloat)
         m_y2 = 0.0;
   }
}

} // namespace WebCore
