#pragma once
#include <cmath>

namespace DSP {

// Modified Bessel function of the first kind, order 0: the polynomial approximations of Abramowitz
// and Stegun, 9.8.1 below 3.75 and 9.8.2 above.
inline double besselI0(double x) {
   const double ax = std::fabs(x);
   if (ax < 3.75) {
      const double t = x / 3.75;
      const double t2 = t * t;
      return 1.0 + t2 * (3.5156229 +
                         t2 * (3.0899424 +
                               t2 * (1.2067492 + t2 * (0.2659732 + t2 * (0.0360768 + t2 * 0.0045813)))));
   }
   const double t = 3.75 / ax;
   return (std::exp(ax) / std::sqrt(ax)) *
          (0.39894228 +
           t * (0.01328592 +
                t * (0.00225319 +
                     t * (-0.00157565 +
                          t * (0.00916281 +
                               t * (-0.02057706 + t * (0.02635537 + t * (-0.01647633 + t * 0.00392377))))))));
}

// Window policy: multiply the samples by the window.
struct apply_window {
   static void apply(float& sample, double w) { sample = static_cast<float>(w) * sample; }
};

// Kaiser window with parameter beta over n samples. The division by I0(beta) sits inside the
// Bessel function's argument, so the window stays between 1 and I0(beta / I0(beta)).
template <typename Policy> void kaiser(float* s, int n, double beta) {
   const double i0beta = besselI0(beta);
   for (int i = 0; i < n; ++i) {
      const double t = -n / 2.0 + 0.5 + i;
      const double u = 2.0 * t / (n - 1);
      double a = 1.0 - u * u;
      if (a < 0.0)
         a = 0.0;
      Policy::apply(s[i], besselI0(beta * std::sqrt(a) / i0beta));
   }
}

} // namespace DSP
