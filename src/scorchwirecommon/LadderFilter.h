#pragma once

namespace daisysp {

// Four-stage transistor-ladder model run at four internal steps per sample, interpolating the
// driven input linearly across them. Each stage is a one-pole with a zero,
// y += (0.23076923 x_prev + 0.7692308 x - y) * alpha; the fourth stage is fed back, minus a share
// (passband gain) of the input, through a cubic soft clip. Mode 0: 24 dB low-pass; mode 2:
// band-pass (4 (s2 + s4) - 8 s3). Resonance 0 to 1.8 maps to a feedback gain of 0 to 7.2.
class LadderFilter {
public:
   void Init(float sampleRate);
   void SetFreq(float hz);
   void SetRes(float r);
   void SetInputDrive(float d);
   void SetPassbandGain(float g);
   // Silences the four stages and the remembered input; the settings stay.
   void ClearState() {
      for (int i = 0; i < 4; ++i)
         stageInput[i] = stageOutput[i] = 0.0f;
      previousInput = 0.0f;
   }

   float Process(float in) {
      Sample s = begin(in);
      for (int step = 0; step < 4; ++step)
         advance(s);
      return finish(s);
   }

   // Both channels of a stereo pair at once: the same arithmetic as Process on each, with the
   // two filters' long dependency chains interleaved so the processor can overlap them.
   static void ProcessPair(LadderFilter& left, LadderFilter& right, float& leftSample, float& rightSample) {
      Sample l = left.begin(leftSample);
      Sample r = right.begin(rightSample);
      for (int step = 0; step < 4; ++step) {
         left.advance(l);
         right.advance(r);
      }
      leftSample = left.finish(l);
      rightSample = right.finish(r);
   }

   float sampleRate = 0.0f;
   float reciprocal = 0.0f;
   float alpha = 0.0f;
   float stageInput[4] = {};
   float stageOutput[4] = {};
   float resonanceGain = 0.0f;
   float cutoff = 0.0f;
   float qAdjust = 0.0f;
   float passbandGain = 0.0f;
   float drive = 0.0f;
   float previousInput = 0.0f;
   int mode = 0;

private:
   // One host sample in progress: the driven input, the running output and the position t
   // between the previous and the current input.
   struct Sample {
      float driven, total, t;
   };

   Sample begin(float in) const { return {in * drive, 0.0f, 0.0f}; }

   void advance(Sample& s) {
      const float d = s.driven;
      float u = (previousInput * s.t + (1.0f - s.t) * d) -
                (stageOutput[3] - d * passbandGain) * resonanceGain * qAdjust;
      u = softClip(u);
      const float s1 = stage(u, 0);
      const float s2 = stage(s1, 1);
      const float s3 = stage(s2, 2);
      const float s4 = stage(s3, 3);
      const float m = mode == 2 ? (s2 + s4) * 4.0f - s3 * 8.0f : s4;
      s.total = s.total + m * 0.25f;
      s.t = s.t + 0.25f;
   }

   float finish(const Sample& s) {
      previousInput = s.driven;
      return s.total;
   }

   // Cubic soft clip, reaching ±1 with zero slope at ±3.
   static float softClip(float u) {
      if (u > 3.0f)
         return 1.0f;
      if (u < -3.0f)
         return -1.0f;
      return u * (27.0f + u * u) / (27.0f + 9.0f * u * u);
   }

   float stage(float s, int i) {
      const float y =
          (0.23076923f * stageInput[i] + 0.7692308f * s - stageOutput[i]) * alpha + stageOutput[i];
      stageInput[i] = s;
      stageOutput[i] = y;
      return y;
   }
};

} // namespace daisysp
