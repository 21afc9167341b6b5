#include "CHighLifeFilter.h"

float CHighLifeFilter::work(float in, float cutoff, float resonance, int mode) {
   const float r = static_cast<float>(noise->next()) * 9.9999998e-15f;
   const float q0 = 1.0f - cutoff;
   p = cutoff + 0.8f * cutoff * q0;
   k = p + p - 1.0f;
   feedback = ((5.6f * q0 * q0 + (1.0f - q0)) * (0.5f * q0) + 1.0f) * (resonance * 0.89f);

   const float x = (in + r) - feedback * b4;
   const float n1 = (x + b0) * p - k * b1;
   const float n2 = (n1 + b1) * p - k * b2;
   const float n3 = (n2 + b2) * p - k * b3;
   const float n4 = (n3 + b3) * p - k * b4;
   b0 = x;
   b1 = n1;
   b2 = n2;
   b3 = n3;
   b4 = n4;
   return mode == 2 ? x - n4 : n4;
}

void CHighLifeFilter::clear_filter() {
   feedback = p = k = 0.0f;
   b0 = b1 = b2 = b3 = b4 = 0.0f;
}
