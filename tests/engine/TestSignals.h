#pragma once
// Signals shared by the engine tests.
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace test_signals {

inline std::vector<float> noise(size_t n, unsigned seed, float amplitude = 1.0f) {
   std::mt19937 rng(seed);
   std::uniform_real_distribution<float> dist(-amplitude, amplitude);
   std::vector<float> v(n);
   for (auto& x : v)
      x = dist(rng);
   return v;
}

inline std::vector<float> sine(size_t n, double frequency, double rate, float amplitude = 1.0f) {
   std::vector<float> v(n);
   for (size_t i = 0; i < n; ++i)
      v[i] = amplitude *
             static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(i) / rate));
   return v;
}

inline std::vector<float> square(size_t n, double frequency, double rate) {
   std::vector<float> v(n);
   for (size_t i = 0; i < n; ++i)
      v[i] = std::fmod(static_cast<double>(i) * frequency / rate, 1.0) < 0.5 ? 1.0f : -1.0f;
   return v;
}

inline bool isSubnormal(double v) {
   return std::fpclassify(v) == FP_SUBNORMAL;
}
inline bool isSubnormal(float v) {
   return std::fpclassify(v) == FP_SUBNORMAL;
}

} // namespace test_signals
