#include "ScorchwireFX.h"

// Placeholder until the compressor and switch crossfades exist.
void ScorchwireFX::startPendingCrossfades() {
   distoFadePending.store(false, std::memory_order_relaxed);
   preFilterFadePending.store(false, std::memory_order_relaxed);
   compressorFadePending.store(false, std::memory_order_relaxed);
}
void ScorchwireFX::processCompressor(float**, int) {}
void ScorchwireFX::processCrossfade(float**, int) {}
void ScorchwireFX::resumeMix() {}
