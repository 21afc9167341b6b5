#pragma once
#include <atomic>
#include <cstdint>

// Sample-and-hold rate reduction: every reduceRate-th sample is held (DRIVE 0..1 gives 1..25),
// mixed with the dry input by dryWet (DistPrm2). The hold pattern runs on across blocks.
class BitReduzer {
public:
   void setReduceRate(float p) {
      reduceRate.store(static_cast<int>(static_cast<float>(p * 24.0 + 1.0)), std::memory_order_relaxed);
   }
   void setDryWet(float q) { dryWet.store(q, std::memory_order_relaxed); }
   void process(float* buf, int n);

   // 64 bits so that the count cannot overflow in any realistic session.
   int64_t counter = 0;
   std::atomic<int> reduceRate{1};
   float heldSample = 0.0f;
   std::atomic<float> dryWet{0.5f};
};
