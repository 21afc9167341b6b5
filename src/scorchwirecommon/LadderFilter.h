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
   float Process(float in);

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
   float stage(float s, int i) {
      const float y =
          (0.23076923f * stageInput[i] + 0.7692308f * s - stageOutput[i]) * alpha + stageOutput[i];
      stageInput[i] = s;
      stageOutput[i] = y;
      return y;
   }
};

} // namespace daisysp
