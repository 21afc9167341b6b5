#pragma once
#include "CParamSmooth.h"

#include <atomic>

// Asymmetric tube curve r = tanh(o) * exp(-x/4) / (1.3 * (1 + 0.25/h)) with o = x * h, the gain h
// gliding towards 32 * drive + 3 dB; the curve leans towards negative inputs. The shaped signal,
// scaled down by 0.375 * log10(100 * drive + 1), is mixed with the dry input by mix (DistPrm2).
// Runs at 4x.
class Valve {
public:
   void setSamplerate(int sr);
   void process(float* buf, int n);

   bool oversample = true;
   float wetLevel = 1.0f;
   std::atomic<float> drive{0.0f}; // DRIVE
   std::atomic<float> mix{0.5f};   // DistPrm2
   double gain = 0.0;              // smoothed gain in dB
   double previousGain = 0.0;
   CParamSmooth driveSmoother{4.0f, 44100.0f}; // advanced once per call
   CParamSmooth mixSmoother{4.0f, 44100.0f};   // advanced once per sample

private:
   // 10^(gain / 20) and the curve's scale 1 / (1.3 (1 + 0.25 / h)) for the gain they were computed
   // from; the gain settles, so this saves the power and a division per sample.
   double cachedGainDb = 0.0;
   double cachedGainFactor = 1.0;
   double cachedCurveScale = 0.7692307692307692 / 1.25;
};
