#pragma once
#include <atomic>

// Square-wave crunch with a clean core: where x * drive^3 * 1000 exceeds the threshold the output
// jumps to +-threshold, below it the input passes at its own level; then halved. DRIVE 0..1 sets
// drive 0.11..0.41, DistPrm2 the threshold 0.2..0.6. Runs at 4x.
class Cruncher {
public:
   void setDrive(float p) { drive.store(static_cast<float>(p * 0.3 + 0.11), std::memory_order_relaxed); }
   void setThreshold(float q) {
      threshold.store(static_cast<float>(q * 0.4 + 0.2), std::memory_order_relaxed);
   }
   void process(float* buf, int n);

   bool oversample = true;
   std::atomic<float> drive{0.11f};
   std::atomic<float> threshold{0.25f};
   float outputGain = 0.5f;
};
