#include "Crossfader2.h"

#include <cmath>

Crossfader2::Crossfader2() {
   init();
}

void Crossfader2::init() {
   const double entries = std::floor(sampleRate * timeMs / 1000.0);
   length = entries > 0.0 ? static_cast<int>(entries) : 0;
   position = length;
   fadeOutLeft.assign(static_cast<size_t>(length), 0.0f);
   fadeOutRight.assign(static_cast<size_t>(length), 0.0f);
   gains.resize(static_cast<size_t>(length));
   for (int i = 0; i < length; ++i)
      gains[i] = std::sqrt(static_cast<double>(i) / length);
}

void Crossfader2::setSamplerate(int rate) {
   sampleRate = rate;
   init();
}

void Crossfader2::setFadeOutBuffer(float left, float right) {
   if (length == 0)
      return;
   const double dl = static_cast<double>(left) / length;
   const double dr = static_cast<double>(right) / length;
   fadeOutLeft[0] = left;
   fadeOutRight[0] = right;
   for (int i = 1; i < length; ++i) {
      fadeOutLeft[i] = static_cast<float>(fadeOutLeft[i - 1] - dl);
      fadeOutRight[i] = static_cast<float>(fadeOutRight[i - 1] - dr);
   }
}
