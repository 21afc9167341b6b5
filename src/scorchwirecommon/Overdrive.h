#pragma once
#include "CParamSmooth.h"

#include <atomic>

// Soft clipper u * (c + |u|) / (1 + (c - 1) |u| + u^2) on u = amount * x, mixed with the dry
// signal: drive 0..1 sets c = 1..20, amount 0..1 the shaped share. The shaped part's level glides
// towards -c/2 dB, so more drive is not much louder. Runs at the host rate.
class Overdrive {
public:
   void process(float* buf, int n);

   std::atomic<float> drive{0.0f};  // DRIVE
   std::atomic<float> amount{1.0f}; // DistPrm2
   double level = 0.0;
   CParamSmooth driveSmoother{4.0f, 44100.0f};  // advanced once per call
   CParamSmooth amountSmoother{4.0f, 44100.0f}; // advanced once per call
};
