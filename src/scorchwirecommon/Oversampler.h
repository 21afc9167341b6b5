#pragma once
#include "kaiser.h"

#include <cmath>
#include <memory>
#include <xmmintrin.h>

namespace DSP {

// FIR oversampler by Ratio with a FIRSize-tap kernel: a sinc with its first zeros at the lower
// rate's Nyquist frequency, Kaiser-windowed (beta 6.4, which barely tapers it) and normalised to
// unity gain. Upsampling is a polyphase interpolator over FIRSize / Ratio input samples;
// downsampling keeps the filtered value at the first of every Ratio samples.
template <int Ratio, int FIRSize> class Oversampler {
public:
   static constexpr int ratio = Ratio;
   static constexpr int upTaps = FIRSize / Ratio;
   static constexpr int maxBlock = 64; // host samples per call
   static_assert(FIRSize % Ratio == 0 && (upTaps & (upTaps - 1)) == 0 && (FIRSize & (FIRSize - 1)) == 0,
                 "history lengths must be powers of 2");

   Oversampler() : up{upTaps - 1, 0, std::make_unique<float[]>(FIRSize), std::make_unique<float[]>(upTaps)} {
      float kernel[FIRSize];
      const double w = 3.141592653589793 / (2.0 * Ratio);
      for (int i = 0; i < FIRSize; ++i) {
         const double phi = (i - FIRSize / 2) * w;
         kernel[i] = std::fabs(phi) < 1e-9 ? 1.0f : static_cast<float>(std::sin(phi) / phi);
      }
      kaiser<apply_window>(kernel, FIRSize, 6.4);
      double sum = 0.0;
      for (float k : kernel)
         sum += k;
      for (int i = 0; i < FIRSize; ++i) {
         down.c[i] = static_cast<float>(kernel[i] / sum);
         up.c[i] = static_cast<float>(static_cast<double>(kernel[i]) * Ratio / sum);
      }
      reset();
   }

   // Clears both histories and write indexes.
   void reset() {
      for (int i = 0; i < upTaps; ++i)
         up.x[i] = 0.0f;
      up.h = 0;
      for (float& v : down.x)
         v = 0.0f;
      down.h = 0;
   }

   // m <= maxBlock input samples become Ratio * m output samples. Per input sample s (the history
   // holding the last upTaps inputs, s the newest): output p = sum over j of c[j Ratio + p] times the
   // j-th newest input, summed from j = 0 in single precision. Four phases run side by side in SSE
   // lanes, each with that same sum.
   void upsample(const float* in, float* out, int m) {
      constexpr int past = upTaps - 1;
      for (int k = 0; k < past; ++k)
         upLine[k] = up.x[(up.h - past + k) & up.mask];
      for (int i = 0; i < m; ++i)
         upLine[past + i] = in[i];
      const float* c = up.c.get();
      for (int i = 0; i < m; ++i) {
         const float* newest = &upLine[past + i];
         if constexpr (Ratio % 4 == 0) {
            for (int p = 0; p < Ratio; p += 4) {
               __m128 acc = _mm_setzero_ps();
               for (int j = 0; j < upTaps; ++j)
                  acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(&c[j * Ratio + p]), _mm_set1_ps(newest[-j])));
               _mm_storeu_ps(&out[i * Ratio + p], acc);
            }
         } else {
            for (int p = 0; p < Ratio; ++p) {
               float acc = 0.0f;
               for (int j = 0; j < upTaps; ++j)
                  acc += c[j * Ratio + p] * newest[-j];
               out[i * Ratio + p] = acc;
            }
         }
      }
      for (int q = m > upTaps ? m - upTaps : 0; q < m; ++q)
         up.x[(up.h + q) & up.mask] = in[q];
      up.h = (up.h + m) & up.mask;
   }

   // Ratio * m input samples (m <= maxBlock) become m output samples. Output i is the filtered value
   // at input sample i Ratio: v c[0] + sum over j = 1 ... FIRSize - 1 of c[j] times the input j
   // samples earlier, summed in that order in single precision. Tap j = q Ratio + r reads sample
   // Ratio (i - q) - r, so the samples are sorted by their phase r first: four consecutive outputs
   // then read four consecutive values and are summed side by side in SSE lanes.
   void downsample(const float* in, float* out, int m) {
      constexpr int lag = FIRSize / Ratio - 1; // host samples of history a sum reaches back
      const int total = m * Ratio;
      // phase[r][lag + k] = sample R k - r, k from -lag; the history supplies what precedes the block.
      auto sampleAt = [&](int t) { return t >= 0 ? in[t] : down.x[(down.h + t) & down.mask]; };
      for (int r = 0; r < Ratio; ++r)
         for (int k = -lag; k < m; ++k)
            phase[r][lag + k] = sampleAt(Ratio * k - r);
      const float* c = down.c;
      int i = 0;
      for (; i + 4 <= m; i += 4) {
         __m128 acc = _mm_mul_ps(_mm_loadu_ps(&phase[0][lag + i]), _mm_set1_ps(c[0]));
         for (int j = 1; j < FIRSize; ++j) {
            const int q = j / Ratio;
            const int r = j % Ratio;
            acc = _mm_add_ps(acc, _mm_mul_ps(_mm_set1_ps(c[j]), _mm_loadu_ps(&phase[r][lag + i - q])));
         }
         _mm_storeu_ps(&out[i], acc);
      }
      for (; i < m; ++i) {
         float acc = phase[0][lag + i] * c[0];
         for (int j = 1; j < FIRSize; ++j)
            acc += c[j] * phase[j % Ratio][lag + i - j / Ratio];
         out[i] = acc;
      }
      // Keep the last FIRSize inputs as history, the write index just past them.
      for (int q = total > FIRSize ? total - FIRSize : 0; q < total; ++q)
         down.x[(down.h + q) & down.mask] = in[q];
      down.h = (down.h + total) & down.mask;
   }

   struct Upsampler {
      int mask;
      int h;
      std::unique_ptr<float[]> c; // FIRSize coefficients, phase p at c[j * Ratio + p]
      std::unique_ptr<float[]> x; // the last upTaps inputs
   } up;
   struct Downsampler {
      int mask = FIRSize - 1;
      float c[FIRSize];
      float x[FIRSize];
      int h = 0;
   } down;

private:
   // Work space of the block operations.
   float upLine[upTaps - 1 + maxBlock];
   float phase[Ratio][FIRSize / Ratio - 1 + maxBlock];
};

// The factor-1 path: samples pass through unchanged.
struct NoOversampler {
   static constexpr int ratio = 1;
   void upsample(const float* in, float* out, int m) {
      for (int i = 0; i < m; ++i)
         out[i] = in[i];
   }
   void downsample(const float* in, float* out, int m) {
      for (int i = 0; i < m; ++i)
         out[i] = in[i];
   }
};

} // namespace DSP
