#pragma once
#include "NoiseGenerator.h"

// Resonant four-pole filter: each pole is y = (x + x_prev) * p - k * y_prev with
// p = f + 0.8 f (1 - f), k = 2p - 1, for a normalised cutoff f (1.0 = open), and the fourth pole
// fed back by up to 0.89 x resonance. Mode 1 is the low-pass output, mode 2 the high-pass
// (input after feedback minus low-pass). A tiny positive noise (below 2.2e-5) enters every call.
class CHighLifeFilter {
public:
   explicit CHighLifeFilter(NoiseGenerator& noiseSource) : noise(&noiseSource) {}

   float work(float in, float cutoff, float resonance, int mode);
   void clear_filter();

   float feedback = 0.0f;
   float p = 0.0f;
   float k = 0.0f;
   float b0 = 0.0f;
   float b1 = 0.0f;
   float b2 = 0.0f;
   float b3 = 0.0f;
   float b4 = 0.0f;

private:
   NoiseGenerator* noise;
};
