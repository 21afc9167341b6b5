#pragma once
#include <cmath>

// Peak envelope: a one-pole follower of |x| with separate attack and release coefficients,
// env = v + (env - v) * coef. Each coefficient brings a step to 99 % within its time.
class EnvelopeFollower {
public:
   void setup(double attackMs, double releaseMs, int sampleRate) {
      attackCoef = pow(0.01, 1.0 / (attackMs * sampleRate * 0.001));
      releaseCoef = pow(0.01, 1.0 / (sampleRate * releaseMs * 0.001));
   }

   void process(float& x) {
      const double v = std::fabs(static_cast<double>(x));
      if (v > envelope)
         envelope = v + (envelope - v) * attackCoef;
      else
         envelope = v + (envelope - v) * releaseCoef;
   }

   double envelope = 0.0;
   double attackCoef = 0.0;
   double releaseCoef = 0.0;
};
