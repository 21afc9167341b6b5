#pragma once
#include "kaiser.h"

#include <cmath>
#include <memory>

namespace DSP {

// FIR oversampler by Ratio with a FIRSize-tap kernel: a sinc with its first zeros at the lower
// rate's Nyquist frequency, Kaiser-windowed (beta 6.4, which barely tapers it) and normalised to
// unity gain. Upsampling is a polyphase interpolator over FIRSize / Ratio input samples;
// downsampling keeps the first of every Ratio samples' filtered value.
template <int Ratio, int FIRSize> class Oversampler {
public:
   static constexpr int ratio = Ratio;
   static constexpr int upTaps = FIRSize / Ratio;
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

   // One input sample becomes Ratio output samples.
   void upsample(float s, float* out) {
      up.x[up.h] = s;
      float acc = 0.0f;
      for (int j = 0; j < upTaps; ++j)
         acc += up.c[j * Ratio] * up.x[(up.h - j) & up.mask];
      out[0] = acc;
      up.h = (up.h + 1) & up.mask;
      for (int p = 1; p < Ratio; ++p) {
         acc = 0.0f;
         for (int j = 0; j < upTaps; ++j)
            acc += up.c[j * Ratio + p] * up.x[(up.h - 1 - j) & up.mask];
         out[p] = acc;
      }
   }

   // Ratio input samples become one output sample.
   float downsample(const float* in) {
      down.x[down.h] = in[0];
      float acc = in[0] * down.c[0];
      for (int j = 1; j < FIRSize; ++j)
         acc += down.c[j] * down.x[(down.h - j) & down.mask];
      down.h = (down.h + 1) & down.mask;
      for (int r = 1; r < Ratio; ++r) {
         down.x[down.h] = in[r];
         down.h = (down.h + 1) & down.mask;
      }
      return acc;
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
};

// The factor-1 path: samples pass through unchanged.
struct NoOversampler {
   static constexpr int ratio = 1;
   void upsample(float s, float* out) { out[0] = s; }
   float downsample(const float* in) { return in[0]; }
};

} // namespace DSP
