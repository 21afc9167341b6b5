#pragma once
#include "CParamSmooth.h"

// "PUNCH": a make-up gain of 1 + amount x 2 (in steps of 1/64, amount smoothed over 2 ms),
// followed by a limiter that pulls every peak above the threshold down to the threshold with a
// gain gliding at a 33 ms attack and a 65 ms release. Settings are normalised values with
// integer shadows: 0 amount, 1 threshold, 2 ratio (0 turns the limiter off), 3 attack, 4 release.
class Compressor {
public:
   static constexpr int kNumSettings = 6;

   void init(int sampleRate);
   void setParameter(int index, float value);
   void work(float* left, float* right, int n);

   float values[kNumSettings] = {};
   int settings[kNumSettings] = {};
   int sampleRate = 44100;
   float gain = 1.0f;
   CParamSmooth amountSmoother{4.0f, 44100.0f};
};
