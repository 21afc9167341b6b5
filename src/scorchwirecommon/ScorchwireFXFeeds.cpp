#include "ScorchwireFX.h"

#include <cmath>

namespace {
// Mono mean scaled to a signed byte. Frames louder than full scale saturate at ±127 instead of
// wrapping around, so the scope shows a clipping signal as clipped; NaN draws as 0.
char scopeSampleOf(float left, float right) {
   const float s = (left + right) * 0.5f * 127.0f;
   if (s >= 127.0f)
      return 127;
   if (s <= -127.0f)
      return -127;
   if (std::isnan(s))
      return 0;
   return static_cast<char>(static_cast<int>(s));
}

float peakOf(const float* x, int n) {
   float peak = 0.0f;
   for (int i = 0; i < n; ++i) {
      const float a = std::fabs(x[i]);
      if (a > peak)
         peak = a;
   }
   return peak;
}
} // namespace

// A full ring drops the rest of the block; the reader's index only moves on the main thread.
void ScorchwireFX::feedScope(float** buffers, int n) {
   const int read = scopeRead.load(std::memory_order_acquire);
   int write = scopeWrite.load(std::memory_order_relaxed);
   for (int i = 0; i < n; ++i) {
      const int next = write + 1 == kScopeRingSize ? 0 : write + 1;
      if (next == read)
         return;
      scopeRing[write] = scopeSampleOf(buffers[0][i], buffers[1][i]);
      write = next;
      scopeWrite.store(write, std::memory_order_release);
   }
}

void ScorchwireFX::feedMeter(float** buffers, int n) {
   peakLeft.store(peakOf(buffers[0], n), std::memory_order_release);
   peakRight.store(peakOf(buffers[1], n), std::memory_order_release);
}

int ScorchwireFX::readScope(char* dest) {
   const int write = scopeWrite.load(std::memory_order_acquire);
   int read = scopeRead.load(std::memory_order_relaxed);
   int count = 0;
   while (read != write) {
      dest[count++] = scopeRing[read];
      read = read + 1 == kScopeRingSize ? 0 : read + 1;
   }
   scopeRead.store(write, std::memory_order_release);
   return count;
}

void ScorchwireFX::readPeaks(float* peaks) const {
   peaks[0] = peakLeft.load(std::memory_order_acquire);
   peaks[1] = peakRight.load(std::memory_order_acquire);
}
