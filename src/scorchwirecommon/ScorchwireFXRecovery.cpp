#include "ScorchwireFX.h"

#include "NonFinite.h"

#include <cmath>

// A NaN or infinity reaching a stage with memory would stay in that memory for good. After each
// stage has run on a block, the block it produced (and any memory that does not show in it) is
// checked once; a stage found non-finite has its signal memory cleared to what activation gives,
// so the poison is gone by the next block. Finite blocks never trigger a clear, so results for
// finite input are untouched.

bool ScorchwireFX::recoverPreFilter(float** buffers, int n) {
   const bool poisoned = anyNonFinite(buffers, n);
   if (!poisoned && std::isfinite(envelopeFollower.envelope) && std::isfinite(cutoffSmoother.z))
      return false;
   ladderLeft.ClearState();
   ladderRight.ClearState();
   preFilterLeft.clear_filter();
   preFilterRight.clear_filter();
   envelopeFollower.envelope = 0.0;
   cutoffSmoother.z = 0.0f;
   return poisoned;
}

// Clipping types (RageClip, Brutal Bill) turn NaN into finite output while their high-pass and
// the oversampler keep it, so a non-finite input block clears the stage as well.
void ScorchwireFX::recoverDisto(float** buffers, int n, bool poisonedInput) {
   if (!poisonedInput && !anyNonFinite(buffers, n))
      return;
   for (int c = 0; c < 2; ++c) {
      clipper12[c].clearState();
      bitReduzer[c].heldSample = 0.0f;
      fuzz[c].init();
      IIR_resetIIR(rageClip[c].highPass);
      IIR_resetIIR(sinRemapper[c].highPass);
      quadrafuzz[c].filterRate = 0; // the next block sets the band filters and oversampler up afresh
   }
   distoOversampling.upsampler.clear_buffers();
   distoOversampling.downsampler.clear_buffers();
}

// The limiter gain is memory that a bypassed PUNCH keeps, so it is checked itself.
void ScorchwireFX::recoverCompressor() {
   if (!std::isfinite(compressor.gain))
      compressor.gain = 1.0f;
}

void ScorchwireFX::recoverPostFilter(float** buffers, int n) {
   if (!anyNonFinite(buffers, n))
      return;
   postFilterLeft.clear_filter();
   postFilterRight.clear_filter();
   lastPostFilterLeft = 0.0;
   lastPostFilterRight = 0.0;
}
