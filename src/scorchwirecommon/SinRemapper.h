#pragma once
#include "CParamSmooth.h"
#include "tbiquad.h"

#include <atomic>

// Brutal Bill's per-channel state; the engine's dispatcher uses the high-passed input as the phase
// of a sine read from a table: out = level * sin(2 pi * phaseScale * h). Drive raises phaseScale
// from 0.125 to 16 (the wave folds over and over) and lowers the level to no less than 0.2.
// Runs at the host rate.
class SinRemapper {
public:
   static constexpr int kPeriod = 8192;    // table entries per sine period
   static constexpr int kTableSize = 8448; // the period plus a continuation that is never read

   SinRemapper() {
      initWaveTable();
      driveSmoother.init(40.0f, 44100.0f);
   }
   void initWaveTable();

   std::atomic<float> drive{0.0f};              // DRIVE
   CParamSmooth driveSmoother{40.0f, 44100.0f}; // advanced once per sample
   tbiquad highPass{};
   std::atomic<double> hpCoef{0.0017006749985739589}; // f32(0.025 * DistPrm2 + 0.0017006749985739589)
   double rateRatio = 1.0;                            // 44100 / host rate
   bool oversample = false;
   float phaseScale = 0.125f;
   float table[kTableSize];
};
