#pragma once
#include "CParamSmooth.h"
#include "tbiquad.h"

#include <atomic>

// Clip Inferno, two stages on the same block at 4x:
// - clip: a third-order high-pass, a gain of 4..32 from drive, a hard clip at +-0.8, times 0.25;
// - circuit: a discretised analogue stage with a diode pair (table T1) and an asymmetric gain
//   element (tables T2pos, T2neg); tone (DistPrm2) raises the diode bias and lowers the output
//   level from -5.6 dB to -12 dB. The stage fades in over the first few hundred samples.
class Clipper12 {
public:
   void setSamplerate(int sr);
   // Back to the silent circuit and high-pass of a new object (the fade-in starts again).
   void clearState();
   // The clip stage, then the circuit stage, over the whole block.
   void process(float* buf, int n);
   void processClipStage(float* buf, int n);
   void processCircuitStage(float* buf, int n);
   // first.process(firstBuf, n) and second.process(secondBuf, n), computed side by side in SIMD
   // lanes with exactly the same results.
   static void processPair(Clipper12& first, Clipper12& second, float* firstBuf, float* secondBuf, int n);
   // The diode pair's table value T1(|d| / (3 + |d|)) for a voltage d across it.
   static double diodePair(double d);
   // The asymmetric gain element: T2pos(z) for z >= 0, -T2neg(-z) below.
   static double gainElement(double z);

   bool oversample = true;
   int sampleRate = 44100;
   std::atomic<float> drive{0.0f}; // DRIVE
   std::atomic<float> tone{0.0f};  // DistPrm2
   float levelControl = 0.25f;     // 0.45 - 0.2 * tone after each call
   float clipGain = 0.25f;
   float highPassSetting = 0.25f;
   float bias = 0.0f;
   tbiquad highPass{};
   // circuit state
   double N = 0, K = 0, X1 = 0, X2 = 0, W = 0, O = 0, V = 0, R1 = 0, R2 = 0, U = 0, P = 0;
   CParamSmooth driveSmoother{4.0f, 44100.0f}; // advanced once per call
   CParamSmooth toneSmoother{4.0f, 44100.0f};  // advanced once per call

   // Work space of the circuit stage's two passes (see Clipper12.cpp): up to kScratch samples,
   // room for two channels side by side.
   static constexpr int kScratch = 256;
   alignas(16) double scratch[3][2 * kScratch];

private:
   // Per-call values; computing them advances the stage's smoother.
   struct ClipSettings {
      double a;
      float gain;
   };
   struct CircuitSettings {
      double kInc, nInc, pInc;
   };
   ClipSettings beginClipStage();
   CircuitSettings beginCircuitStage();
};
