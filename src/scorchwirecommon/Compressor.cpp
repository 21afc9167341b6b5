#include "Compressor.h"

#include <cmath>

namespace {
// Integer scale of each setting; setting 5 is a switch (above 0.5 is on).
constexpr int kScales[5] = {128, 128, 16, 128, 128};
} // namespace

void Compressor::init(int rate) {
   sampleRate = rate;
   gain = 1.0f;
   setParameter(1, 0.25f);
   setParameter(2, 1.0f);
   setParameter(3, 0.25f);
   setParameter(4, 0.5f);
   amountSmoother.init(2.0f, static_cast<float>(rate));
}

void Compressor::setParameter(int index, float value) {
   if (index < 0 || index >= kNumSettings)
      return;
   values[index] = value;
   if (index == 5)
      settings[index] = value > 0.5f ? 1 : 0;
   else
      settings[index] = static_cast<int>(value * static_cast<float>(kScales[index]));
}

void Compressor::work(float* left, float* right, int n) {
   // With the ratio at its only setting there is no slope above the threshold: peaks land on it.
   const bool limiting = settings[2] != 0;
   const double threshold = settings[1] * 0.0078125;
   const double attackStep = 1.0 / ((settings[3] + 1) * static_cast<double>(sampleRate) * 0.001);
   const double releaseStep = 1.0 / ((settings[4] + 1) * static_cast<double>(sampleRate) * 0.001);

   for (int i = 0; i < n; ++i) {
      const float s = amountSmoother.process(values[0]);
      settings[0] = static_cast<int>(s * 128.0f);
      const float makeUp = static_cast<float>(settings[0]) * 0.015625f + 1.0f;
      left[i] *= makeUp;
      right[i] *= makeUp;
      if (!limiting)
         continue;

      const double peak = std::fmax(std::fabs(left[i]), std::fabs(right[i]));
      const double target = peak <= threshold ? 1.0 : threshold / peak;
      double g = gain;
      if (g > target)
         g = g + (target - g) * attackStep;
      else
         g = g + (target - g) * releaseStep;
      gain = static_cast<float>(g);
      left[i] *= gain;
      right[i] *= gain;
   }
}
