#include "Biquad.h"

#include <algorithm>
#include <cmath>

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

void Biquad::flushDecayedMemories() {
   if (m_x1 == 0.0 && m_x2 == 0.0) {
      if (std::fabs(m_y1) < kSmallestNormalFloat)
         m_y1 = 0.0;
      if (std::fabs(m_y2) < kSmallestNormalFloat)
         m_y2 = 0.0;
   }
}

} // namespace WebCore
