#include "Overdrive.h"

#include <cmath>

void Overdrive::process(float* buf, int n) {
   const float d = driveSmoother.process(drive.load(std::memory_order_relaxed));
   const float t = amountSmoother.process(amount.load(std::memory_order_relaxed));
   const double c = 19.0 * d + 1.0;
   const double h = 100.0 * t;
   const double l = 0.01 * h;
   const double levelIncrement = std::pow(10.0, (-0.5 * c) * 0.05) * 0.0010000000000000009;
   const double hh = h * h * 0.0001;
   for (int i = 0; i < n; ++i) {
      level = level * 0.999 + levelIncrement;
      const double g = buf[i];
      const double m = std::fabs(l * g);
      buf[i] = static_cast<float>(g * ((1.0 - l) + l * (c + m) * level / (g * g * hh + m * (c - 1.0) + 1.0)));
   }
}
