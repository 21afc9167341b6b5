#pragma once
#include <cstddef>

namespace WebCore {

// Second-order IIR in direct form I, double precision, with the coefficient formulas of the Web
// Audio BiquadFilterNode. Frequencies are normalised: 1 is the Nyquist frequency of the rate the
// filter runs at. A new filter passes its input unchanged.
class Biquad {
public:
   // resonance in dB (10^(-resonance / 20) damps the peak of the cookbook formula).
   void setLowpassParams(double cutoff, double resonance);
   void setHighpassParams(double cutoff, double resonance);
   void setBandpassParams(double frequency, double Q);
   void setNormalizedCoefficients(double b0, double b1, double b2, double a0, double a1, double a2);
   void reset();
   void process(const float* src, float* dst, size_t n);

   // One sample, as process does it; for callers that interleave several filters.
   float processSample(float in) {
      const double x = in;
      const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
      m_x2 = m_x1;
      m_x1 = x;
      m_y2 = m_y1;
      m_y1 = y;
      return static_cast<float>(y);
   }
   // What process does after its block: once the input has gone silent, output memories that have
   // decayed below the smallest normal float become 0 instead of lingering as denormals.
   void flushDecayedMemories();

   // Four filters fed with the same input, each as its own process call would run it; the four
   // recursions run two by two in SSE2 lanes with the same double arithmetic.
   static void processFour(Biquad (&filters)[4], const float* src, float* const (&dst)[4], size_t n);

   double m_b0 = 1.0, m_b1 = 0.0, m_b2 = 0.0, m_a1 = 0.0, m_a2 = 0.0;
   double m_x1 = 0.0, m_x2 = 0.0, m_y1 = 0.0, m_y2 = 0.0;
};

} // namespace WebCore
