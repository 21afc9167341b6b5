#pragma once

namespace hiir {

// Integer power by repeated squaring: x^n for n >= 0.
inline double ipowp(double x, long n) {
   double z = 1.0;
   while (n != 0) {
      if ((n & 1) != 0)
         z *= x;
      n >>= 1;
      x *= x;
   }
   return z;
}

} // namespace hiir
