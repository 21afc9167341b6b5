#include "ScorchwireFX.h"

// Each pending switch starts from the last post-filter output. The flags are set from either
// thread; exchange clears a flag without losing a switch marked in between.
void ScorchwireFX::startPendingCrossfades() {
   const float left = static_cast<float>(lastPostFilterLeft);
   const float right = static_cast<float>(lastPostFilterRight);
   auto startIfPending = [left, right](Crossfader2& fade, std::atomic<bool>& pending) {
      if (pending.exchange(false, std::memory_order_relaxed)) {
         fade.setFadeOutBuffer(left, right);
         fade.start();
      }
   };
   startIfPending(distoFade, distoFadePending);
   startIfPending(preFilterFade, preFilterFadePending);
   startIfPending(compressorFade, compressorFadePending);
}

// PUNCH is bypassed entirely at 0.0; its smoother and limiter gain then wait where they were.
void ScorchwireFX::processCompressor(float** buffers, int n) {
   const float amount = params[8].load(std::memory_order_relaxed);
   compressor.setParameter(0, amount);
   if (amount != 0.0f)
      compressor.work(buffers[0], buffers[1], n);
}

// At most one crossfade acts on a sample, the pre-filter one first, then the distortion one,
// then the compressor one; each uses its entries 0 to length - 2.
void ScorchwireFX::processCrossfade(float** buffers, int n) {
   float* left = buffers[0];
   float* right = buffers[1];
   for (int i = 0; i < n; ++i) {
      if (preFilterFade.position < preFilterFade.length - 1)
         preFilterFade.process(left[i], right[i]);
      else if (distoFade.position < distoFade.length - 1)
         distoFade.process(left[i], right[i]);
      else if (compressorFade.position < compressorFade.length - 1)
         compressorFade.process(left[i], right[i]);
   }
}

// Stops any crossfade in progress.
void ScorchwireFX::resumeCrossfades() {
   const int rate = static_cast<int>(sampleRate);
   distoFade.setSamplerate(rate);
   preFilterFade.setSamplerate(rate);
   compressorFade.setSamplerate(rate);
}

void ScorchwireFX::resumeCompressor() {
   compressor.init(static_cast<int>(sampleRate));
}
