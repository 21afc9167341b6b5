#pragma once
#include <vector>

// Click-free switch: over 10 ms the new signal fades in with gain sqrt(i / length) while a ramp,
// starting at the last output sample before the switch and falling linearly towards zero,
// fades out with 1 - gain. Idle when position has reached length.
class Crossfader2 {
public:
   Crossfader2();

   void init();
   void setSamplerate(int rate);
   void setFadeOutBuffer(float left, float right);
   void start() { position = 0; }

   void process(float& left, float& right) {
      if (position >= length)
         return;
      const int i = position;
      const double g = gains[i];
      left = static_cast<float>(fadeOutLeft[i] * (1.0 - g) + left * g);
      right = static_cast<float>(right * g + fadeOutRight[i] * (1.0 - g));
      position = i + 1;
   }

   std::vector<float> fadeOutLeft;
   std::vector<float> fadeOutRight;
   std::vector<double> gains;
   double sampleRate = 44100.0;
   double timeMs = 10.0;
   int position = 0;
   int length = 0;
};
