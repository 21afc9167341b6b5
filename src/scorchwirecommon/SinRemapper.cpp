#include "SinRemapper.h"

#include <cmath>

void SinRemapper::initWaveTable() {
   constexpr double pi = 3.141592653589793;
   for (int i = 0; i < kTableSize; ++i)
      table[i] = static_cast<float>(std::sin(i * (pi / 1024.0) * 0.25));
}
