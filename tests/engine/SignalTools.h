#pragma once
// Test signals and level measurements shared by the engine's unit tests.
#include <algorithm>
#include <cmath>
#include <vector>

namespace signal_tools {

inline std::vector<float> sine(double hz, double rate, int frames, double amplitude = 1.0) {
   std::vector<float> x(static_cast<size_t>(frames));
   for (int i = 0; i < frames; ++i)
      x[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / rate));
   return x;
}

inline double rms(const float* x, int n) {
   double sum = 0.0;
   for (int i = 0; i < n; ++i)
      sum += static_cast<double>(x[i]) * x[i];
   return std::sqrt(sum / n);
}

inline double decibels(double ratio) {
   return 20.0 * std::log10(ratio);
}

// Largest absolute difference between neighbouring samples in [begin, end).
inline float largestStep(const std::vector<float>& x, size_t begin, size_t end) {
   float step = 0.0f;
   for (size_t i = std::max<size_t>(begin, 1); i < end; ++i)
      step = std::max(step, std::fabs(x[i] - x[i - 1]));
   return step;
}

} // namespace signal_tools
