#pragma once
#include <cstdint>
#include <cstring>

// True when any of the n samples is NaN or infinite: those alone have every exponent bit set.
// The loop keeps the largest exponent field, an integer maximum the compiler vectorises, so a
// block costs a fraction of a sample's processing.
inline bool anyNonFinite(const float* x, int n) {
   uint32_t largest = 0;
   for (int i = 0; i < n; ++i) {
      uint32_t bits;
      std::memcpy(&bits, &x[i], sizeof(bits));
      const uint32_t exponent = bits & 0x7f800000u;
      largest = exponent > largest ? exponent : largest;
   }
   return largest == 0x7f800000u;
}

inline bool anyNonFinite(float* const* channels, int n) {
   return anyNonFinite(channels[0], n) || anyNonFinite(channels[1], n);
}
