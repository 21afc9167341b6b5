#pragma once
#include <cmath>

// One-pole parameter smoother: z = in * b + z * a, a = exp(-2*pi / (T[ms] * 0.001 * fs)).
// After T milliseconds a step has covered 99.8 % of its way; starts from 0 after init.
class CParamSmooth {
public:
   CParamSmooth(float smoothingTimeMs, float samplingRate) { init(smoothingTimeMs, samplingRate); }

   void init(float smoothingTimeMs, float samplingRate) {
      a = expf(-6.2831855f / (smoothingTimeMs * 0.001f * samplingRate));
      b = 1.0f - a;
      z = 0.0f;
   }

   float process(float in) {
      z = (in * b) + (z * a);
      return z;
   }

   float a;
   float b;
   float z;
};
