#include "BitReduzer.h"

void BitReduzer::process(float* buf, int n) {
   const int rate = reduceRate.load(std::memory_order_relaxed);
   const double wet = dryWet.load(std::memory_order_relaxed);
   for (int i = 0; i < n; ++i) {
      const float x = buf[i];
      if (counter % rate == 0)
         heldSample = x;
      buf[i] = static_cast<float>((1.0 - wet) * x + wet * heldSample);
      ++counter;
   }
}
