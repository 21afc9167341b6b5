#pragma once
#include "Biquad.h"
#include "CParamSmooth.h"
#include "Oversampler.h"

#include <atomic>

// Four-band fuzz: the input, scaled by the input and drive levels, is oversampled (8x here),
// split at 147, 587, 2490 and 4980 Hz (for 44.1 kHz; the split follows the host rate) into a
// low-pass, two band-passes and a high-pass, each band is bent by (3 + k) x * 20 deg / (pi + k |x|)
// with k = 150 * its amount, and the sum comes back to the host rate, mixed with the dry input.
class Quadrafuzz {
public:
   static constexpr int kChunk = 64; // host samples per internal chunk
   static constexpr int kMaxRatio = 8;

   Quadrafuzz();
   // 0 bypass, 1..4 levels, 5..8 band amounts, 9 oversampling; values 0..1, others ignored.
   void setParameterValue(unsigned int index, float value);
   void process(float* in, float* out, unsigned int n);
   void setupFilters(unsigned int factor);
   static void distort(float* buf, float amount, unsigned int n);

   // A level: its raw value and its gain 10^((50 x - 40) / 20), -40 dB ... +10 dB.
   struct Level {
      std::atomic<float> value{0.0f};
      std::atomic<float> gain{0.0f};
   };

   std::atomic<bool> bypass{false};
   std::atomic<int> oversampling{8};
   Level levels[4];                   // input, bands out, dry, drive into bands
   std::atomic<float> bandAmounts[4]; // low, low-mid, high-mid, high
   unsigned int filterRate = 0;       // factor the band filters are set up for
   WebCore::Biquad bands[4];          // low-pass, band-pass, band-pass, high-pass
   DSP::Oversampler<2, 32> oversampler2x;
   DSP::Oversampler<4, 64> oversampler4x;
   DSP::Oversampler<8, 64> oversampler8x;
   double sampleRate = 44100.0;
   CParamSmooth inputSmoother{4.0f, 44100.0f}; // advanced once per process call

private:
   template <typename OS>
   void runWithOversampler(OS& os, unsigned int factor, float* in, float* out, unsigned int n);

   float scaled[kChunk];
   float upsampled[kChunk * kMaxRatio];
   float bandBuffers[4][kChunk * kMaxRatio];
};
