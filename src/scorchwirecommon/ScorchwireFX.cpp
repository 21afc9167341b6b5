#include "ScorchwireFX.h"

#include "DenormalGuard.h"

#include <algorithm>
#include <cmath>

namespace {
// Which list entry a stored value selects, as the pre-filter and distortion stages compute it.
int preFilterTypeOf(float v) {
   return static_cast<int>(roundf(4.0f * v));
}
int distoTypeOf(float v) {
   return static_cast<int>(std::round(static_cast<double>(v) * 8.0));
}
} // namespace

ScorchwireFX::ScorchwireFX() {
   for (auto& p : params)
      p.store(0.0f, std::memory_order_relaxed);
   for (int i : {0, 6, 9, 10, 11, 12})
      params[i].store(0.5f, std::memory_order_relaxed);
   setParameter(6, 0.5);
   setParameter(5, 0.0);
}

ScorchwireFX::~ScorchwireFX() = default;

void ScorchwireFX::resume(double rate, int maxBlock) {
   blockSize = maxBlock;
   sampleRate = rate;
   resumeFilters();
   resumeCrossfades();
   resumeDisto();
   resumeCompressor();
}

void ScorchwireFX::process(float** in, float** out, int n) {
   const DenormalGuard denormalGuard;
   startPendingCrossfades();
   processPreFilter(in, out, n);
   const bool poisonedDistoInput = recoverPreFilter(out, n);
   processDisto(out, n);
   recoverDisto(out, n, poisonedDistoInput);
   processCompressor(out, n);
   recoverCompressor();
   processPostFilter(out, n);
   recoverPostFilter(out, n);
   processCrossfade(out, n);
   feedScope(out, n);
   feedMeter(out, n);
}

// Values arriving from hosts, files or the editor may be corrupt: a non-finite value is ignored
// and a finite one is clamped to 0..1, so no stage is ever fed NaN or an out-of-range setting.
void ScorchwireFX::setParameter(int index, double value) {
   if (index < 0 || index >= kNumParams || !std::isfinite(value))
      return;
   value = std::clamp(value, 0.0, 1.0);
   const float v = static_cast<float>(value);
   const float stored = params[index].load(std::memory_order_relaxed);

   switch (index) {
   case 3:
      if (preFilterTypeOf(v) != preFilterTypeOf(stored))
         preFilterFadePending.store(true, std::memory_order_relaxed);
      break;
   case 4:
      if (distoTypeOf(v) != distoTypeOf(stored))
         distoFadePending.store(true, std::memory_order_relaxed);
      break;
   case 5:
      setDistoParam1(v);
      break;
   case 6:
      setDistoParam2(v);
      break;
   case 8:
      if ((value == 0.0) != (stored == 0.0f))
         compressorFadePending.store(true, std::memory_order_relaxed);
      break;
   case 9:
   case 10:
   case 11:
   case 12:
      setQuadrafuzzParam(index, v);
      break;
   default:
      break;
   }
   params[index].store(v, std::memory_order_relaxed);
}

double ScorchwireFX::getParameter(int index) const {
   if (index < 0 || index >= kNumParams)
      return 0.0;
   return static_cast<double>(params[index].load(std::memory_order_relaxed));
}

// Notes are accepted and have no effect on the sound.
void ScorchwireFX::noteOn(int, int, int) {}
void ScorchwireFX::noteOff(int, int, int) {}
