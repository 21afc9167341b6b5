#include "Quadrafuzz.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double kBandQ = 0.7071067811865476; // in dB for the low- and high-pass
} // namespace

Quadrafuzz::Quadrafuzz() {
   static constexpr float kDefaults[10] = {0.0f, 0.8f, 0.8f, 0.0f, 0.8f, 0.5f, 0.5f, 0.5f, 0.5f, 1.0f};
   for (unsigned int i = 0; i < 10; ++i)
      setParameterValue(i, kDefaults[i]);
}

void Quadrafuzz::setParameterValue(unsigned int index, float value) {
   constexpr auto relaxed = std::memory_order_relaxed;
   if (index == 0) {
      bypass.store(value > 0.5f, relaxed);
   } else if (index <= 4) {
      Level& level = levels[index - 1];
      level.value.store(value, relaxed);
      level.gain.store(powf(10.0f, (50.0f * value - 40.0f) * 0.05f), relaxed);
   } else if (index <= 8) {
      bandAmounts[index - 5].store(value, relaxed);
   } else if (index == 9) {
      switch (static_cast<int>(3.0f * value)) {
      case 0:
         oversampling.store(1, relaxed);
         break;
      case 1:
         oversampling.store(2, relaxed);
         break;
      case 2:
         oversampling.store(4, relaxed);
         break;
      case 3:
         oversampling.store(8, relaxed);
         break;
      default:
         break;
      }
   }
}

void Quadrafuzz::setupFilters(unsigned int factor) {
   const double x = 1.0 / (factor * sampleRate * 0.5);
   bands[0].setLowpassParams(147.0 * x, kBandQ);
   bands[1].setBandpassParams(587.0 * x, kBandQ);
   bands[2].setBandpassParams(2490.0 * x, kBandQ);
   bands[3].setHighpassParams(4980.0 * x, kBandQ);
   for (auto& band : bands)
      band.reset();
   switch (factor) {
   case 2:
      oversampler2x.reset();
      break;
   case 4:
      oversampler4x.reset();
      break;
   case 8:
      oversampler8x.reset();
      break;
   default:
      break;
   }
}

void Quadrafuzz::distort(float* buf, float amount, unsigned int n) {
   const float k = static_cast<float>(150.0 * amount);
   const double c = static_cast<float>(3.0 + k) * 0.3490658654106988;
   for (unsigned int i = 0; i < n; ++i) {
      const float x = buf[i];
      buf[i] = static_cast<float>(x * c / static_cast<float>(std::fabs(x) * k + 3.1415927));
   }
}

void Quadrafuzz::process(float* in, float* out, unsigned int n) {
   switch (oversampling.load(std::memory_order_relaxed)) {
   case 1: {
      DSP::NoOversampler none;
      runWithOversampler(none, 1, in, out, n);
      break;
   }
   case 2:
      runWithOversampler(oversampler2x, 2, in, out, n);
      break;
   case 4:
      runWithOversampler(oversampler4x, 4, in, out, n);
      break;
   case 8:
      runWithOversampler(oversampler8x, 8, in, out, n);
      break;
   default:
      break;
   }
}

template <typename OS>
void Quadrafuzz::runWithOversampler(OS& os, unsigned int factor, float* in, float* out, unsigned int n) {
   constexpr auto relaxed = std::memory_order_relaxed;
   constexpr int R = OS::ratio;
   if (bypass.load(relaxed)) {
      if (out != in)
         std::memmove(out, in, sizeof(float) * n);
      return;
   }
   if (filterRate != factor) {
      setupFilters(factor);
      filterRate = factor;
   }
   const float g1 = inputSmoother.process(levels[0].gain.load(relaxed));
   const float drive = levels[3].gain.load(relaxed) * g1;
   const float wet = levels[1].gain.load(relaxed);
   const float dry = levels[2].gain.load(relaxed);
   float* const bandOutputs[4] = {bandBuffers[0], bandBuffers[1], bandBuffers[2], bandBuffers[3]};
   float amounts[4];
   for (int b = 0; b < 4; ++b)
      amounts[b] = bandAmounts[b].load(relaxed);

   for (unsigned int start = 0; start < n; start += kChunk) {
      const unsigned int m = n - start < static_cast<unsigned int>(kChunk) ? n - start : kChunk;
      const unsigned int len = m * R;
      for (unsigned int i = 0; i < m; ++i)
         scaled[i] = in[start + i] * drive;
      os.upsample(scaled, upsampled, static_cast<int>(m));
      WebCore::Biquad::processFour(bands, upsampled, bandOutputs, len);
      for (int b = 0; b < 4; ++b)
         distort(bandBuffers[b], amounts[b], len);
      for (unsigned int pos = 0; pos < len; ++pos)
         upsampled[pos] =
             0.0f + bandBuffers[0][pos] + bandBuffers[1][pos] + bandBuffers[2][pos] + bandBuffers[3][pos];
      float downsampled[kChunk];
      os.downsample(upsampled, downsampled, static_cast<int>(m));
      for (unsigned int i = 0; i < m; ++i) {
         const float x = in[start + i];
         out[start + i] = downsampled[i] * wet + x * g1 * dry;
      }
   }
}
