#include "NoiseGenerator.h"

NoiseGenerator::NoiseGenerator() {
   constexpr int64_t kModulus = 2147483647; // 2^31 - 1
   int64_t word = 1;                        // the seed of a process that never called srand()
   state[0] = static_cast<uint32_t>(word);
   for (int i = 1; i < kDegree; ++i) {
      word = (16807 * word) % kModulus;
      state[i] = static_cast<uint32_t>(word);
   }
   for (int i = 0; i < kDegree * 10; ++i)
      next();
}
