#pragma once
#include <cstdint>

// The C library's default rand() sequence of a freshly started process, owned per engine so the
// audio thread never takes the process-wide lock of rand(). Additive feedback over 31 words:
// r[i] = r[i-31] + r[i-3] (mod 2^32), output r[i] >> 1 (0 to 2^31 - 1). The words are seeded
// from 1 through the multiplier 16807 modulo 2^31 - 1 and the first 310 outputs are discarded.
class NoiseGenerator {
public:
   NoiseGenerator();

   int next() {
      const uint32_t value = state[front] += state[rear];
      if (++front == kDegree)
         front = 0;
      if (++rear == kDegree)
         rear = 0;
      return static_cast<int>(value >> 1);
   }

private:
   static constexpr int kDegree = 31;
   static constexpr int kSeparation = 3;

   uint32_t state[kDegree];
   int front = kSeparation;
   int rear = 0;
};
