#pragma once
#include "CParamSmooth.h"
#include "tbiquad.h"

#include <atomic>

// RageClip's per-channel state; the engine's dispatcher runs the shaper at 4x: a third-order
// high-pass (DistPrm2 moves the corner), a gain of 4..100 from drive, a rational soft clipper
// levelling off near +-1, a hard clip at +-0.8, times 0.25.
struct RageClipState {
   double sampleRate = 44100.0;
   bool oversample = true;
   float outputGain = 0.25f;
   std::atomic<float> drive{0.5f};                    // DRIVE
   std::atomic<double> hpCoef{0.0035756751894950867}; // 0.025 * DistPrm2 + 0.001700675
   CParamSmooth driveSmoother{4.0f, 44100.0f};        // advanced once per 4x sample
   tbiquad highPass{};
};
