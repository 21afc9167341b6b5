#include "LadderFilter.h"

namespace daisysp {

// The stage memories are left as they are: a re-initialised filter carries on from its old state.
void LadderFilter::Init(float sr) {
   sampleRate = sr;
   reciprocal = 1.0f / (sr * 4.0f);
   alpha = 1.0f;
   qAdjust = 1.0f;
   resonanceGain = 1.0f;
   cutoff = 1000.0f;
   previousInput = 0.0f;
   mode = 0;
   SetPassbandGain(0.5f);
   SetInputDrive(0.5f);
   SetFreq(5000.0f);
   SetRes(0.2f);
}

void LadderFilter::SetPassbandGain(float g) {
   passbandGain = g <= 0.0f ? 0.0f : (g < 0.5f ? g : 0.5f);
   SetInputDrive(drive);
}

void LadderFilter::SetInputDrive(float d) {
   drive = d < 0.0f ? 0.0f : (d > 4.0f ? 4.0f : d);
}

void LadderFilter::SetRes(float r) {
   if (r <= 0.0f)
      resonanceGain = 0.0f;
   else if (r < 1.8f)
      resonanceGain = 4.0f * r;
   else
      resonanceGain = 7.2f;
}

// Polynomial fit of the ladder's one-pole coefficient and resonance correction over the
// normalised angular frequency wc of the four-times internal rate; f is kept within 5 Hz and
// 0.425 x sampleRate.
void LadderFilter::SetFreq(float hz) {
   cutoff = hz;
   float f = hz > 5.0f ? hz : 5.0f;
   const float limit = 0.425f * sampleRate;
   if (f > limit)
      f = limit;
   const float wc = (f + f) * 3.1415927f * reciprocal;
   const float w2 = wc * wc;
   alpha = 0.9892f * wc - 0.4324f * w2 + 0.1381f * wc * w2 - 0.0202f * w2 * w2;
   qAdjust = 0.0536f * wc + 1.006f - 0.095f * w2 - 0.05f * w2 * w2;
}

} // namespace daisysp
