#include "Cruncher.h"

void Cruncher::process(float* buf, int n) {
   const float d = drive.load(std::memory_order_relaxed);
   const float t = threshold.load(std::memory_order_relaxed);
   const double kk = static_cast<float>(static_cast<float>(d * d) * d) * 1000.0;
   for (int i = 0; i < n; ++i) {
      const float x = buf[i];
      const double a = x * kk;
      const float out = a > t ? t : (a < -t ? -t : x);
      buf[i] = out * outputGain;
   }
}
