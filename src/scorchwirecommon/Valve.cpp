#include "Valve.h"

#include <algorithm>
#include <cmath>

void Valve::setSamplerate(int sr) {
   const int rate = oversample ? 4 * sr : sr;
   driveSmoother.init(4.0f, static_cast<float>(rate));
   mixSmoother.init(20.0f, static_cast<float>(rate));
}

void Valve::process(float* buf, int n) {
   const float d = driveSmoother.process(drive.load(std::memory_order_relaxed));
   const float target = mix.load(std::memory_order_relaxed);
   wetLevel = static_cast<float>(
       1.0 - (std::log(static_cast<float>(d * 100.0) + 1.0) * 0.75 / 2.302585092994046) * 0.5);
   const double gainIncrement = static_cast<float>(d * 32.0 + 3.0) * 0.010000000000000009;
   for (int i = 0; i < n; ++i) {
      const float x = buf[i];
      const float s = mixSmoother.process(target);
      gain = 0.99 * previousGain + gainIncrement;
      if (gain != cachedGainDb) {
         cachedGainDb = gain;
         cachedGainFactor = std::pow(10.0, gain * 0.05);
         cachedCurveScale = 0.7692307692307692 / (0.25 / cachedGainFactor + 1.0);
      }
      const double o = x * cachedGainFactor;
      // (exp((1 - 0.25/h) o) - exp(-o k)) / ((exp(o) + exp(-o)) k) / 1.3 with k = 1 + 0.25/h and
      // o / h = x is exp(-x/4) tanh(o) / (1.3 k): two exponentials instead of four, and no
      // overflow for large o (tanh(o) = 1 - 2 / (exp(2o) + 1) saturates cleanly).
      const double tanhO = 1.0 - 2.0 / (std::exp(2.0 * o) + 1.0);
      // The curve grows as exp(-x/4) for negative x and would leave the float range below about
      // -350; it is held at +-1e15, far beyond any level it reaches from audio.
      const double r = std::clamp(std::exp(-0.25 * x) * tanhO * cachedCurveScale, -1e15, 1e15);
      buf[i] = static_cast<float>(r) * (s * wetLevel) + (1.0f - s) * x;
      previousGain = gain;
   }
}
