#include "LadderFilter.h"

namespace daisysp {

namespace {
// Cubic soft clip, reaching ±1 with zero slope at ±3.
float softClip(float u) {
   if (u > 3.0f)
      return 1.0f;
   if (u < -3.0f)
      return -1.0f;
   return u * (27.0f + u * u) / (27.0f + 9.0f * u * u);
}
} // namespace

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

float LadderFilter::Process(float in) {
   const float d = in * drive;
   float total = 0.0f;
   float t = 0.0f;
   for (int step = 0; step < 4; ++step) {
      float u = (previousInput * t + (1.0f - t) * d) -
                (stageOutput[3] - d * passbandGain) * resonanceGain * qAdjust;
      u = softClip(u);
      const float s1 = stage(u, 0);
      const float s2 = stage(s1, 1);
      const float s3 = stage(s2, 2);
      const float s4 = stage(s3, 3);
      const float m = mode == 2 ? (s2 + s4) * 4.0f - s3 * 8.0f : s4;
      total = total + m * 0.25f;
      t = t + 0.25f;
   }
   previousInput = d;
   return total;
}

} // namespace daisysp
