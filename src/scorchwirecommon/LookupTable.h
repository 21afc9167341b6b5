#pragma once

// A sampled transfer curve: entry k holds the value at xmin + k / scale. Lookup interpolates
// linearly between neighbours; below the first entry it extrapolates from the first two (down to
// one step below xmin) and then holds the first value; at and above the last entry it holds the
// last value.
template <int N> struct LookupTable {
   float xmin;
   float xmax; // the last grid point; the lookup does not read it
   float scale;
   int count;
   float values[N];

   double lookup(double v) const {
      const double f = (v - static_cast<double>(xmin)) * static_cast<double>(scale);
      // Catches NaN, and keeps the conversion to int below in range.
      if (!(f > -1.0))
         return values[0];
      if (f >= count - 1)
         return values[count - 1];
      const int i = static_cast<int>(f); // truncates towards zero
      const double frac = f - i;
      return (1.0 - frac) * values[i] + frac * values[i + 1];
   }
};
