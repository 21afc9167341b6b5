#pragma once
#include <xmmintrin.h>

// For its lifetime, makes SSE arithmetic flush denormal results to zero (FTZ) and read denormal
// inputs as zero (DAZ), then restores the caller's control register. Decaying filter states on the
// audio thread would otherwise crawl through the denormal range at a fraction of the normal speed;
// results that are not themselves denormal are unchanged.
class DenormalGuard {
public:
   static constexpr unsigned int kFlushToZero = 0x8000;      // MXCSR bit 15
   static constexpr unsigned int kDenormalsAreZero = 0x0040; // MXCSR bit 6

   DenormalGuard() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
   ~DenormalGuard() { _mm_setcsr(saved); }
   DenormalGuard(const DenormalGuard&) = delete;
   DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
   const unsigned int saved;
};
