#include "tranytab.h"

#include <array>

namespace {

// Operating points of the 7199P (grid voltage, plate voltage): the measured rows at whole and half
// volts, and the quiescent point of the fuzz stages (bias -3.571981 V, plate 117.70440740740739 V),
// on which a silent stage must rest. The table is a monotone piecewise-cubic (PCHIP) curve through
// exactly these points, so it falls smoothly and never overshoots between them.
constexpr int kNbrPoints = 14;
constexpr std::array<double, kNbrPoints> kGrid = {-5, -4, -3.571981, -3, -2, -1, -0.5, 0, 0.5, 1, 2, 3, 4, 5};
constexpr std::array<double, kNbrPoints> kPlate = {142.1541, 125.3978, 117.70440740740739, 106.8726, 86.14742,
                                                   62.38232, 49.78763, 42.09215,           38.60225, 36.55267,
                                                   34.0384,  32.42709, 31.24429,           30.31119};

constexpr double sign(double v) {
   return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}
constexpr double absolute(double v) {
   return v < 0 ? -v : v;
}

// Slopes at the points: weighted harmonic means of the neighbouring secants inside, a one-sided
// three-point estimate kept monotone at the ends.
constexpr std::array<double, kNbrPoints> pchipSlopes() {
   std::array<double, kNbrPoints - 1> h{}, secant{};
   for (int k = 0; k < kNbrPoints - 1; ++k) {
      h[k] = kGrid[k + 1] - kGrid[k];
      secant[k] = (kPlate[k + 1] - kPlate[k]) / h[k];
   }
   std::array<double, kNbrPoints> d{};
   for (int k = 1; k < kNbrPoints - 1; ++k) {
      if (secant[k - 1] * secant[k] <= 0) {
         d[k] = 0;
         continue;
      }
      const double w1 = 2 * h[k] + h[k - 1];
      const double w2 = h[k] + 2 * h[k - 1];
      d[k] = (w1 + w2) / (w1 / secant[k - 1] + w2 / secant[k]);
   }
   auto endSlope = [](double h0, double h1, double s0, double s1) {
      double e = ((2 * h0 + h1) * s0 - h0 * s1) / (h0 + h1);
      if (sign(e) != sign(s0))
         e = 0;
      else if (sign(s0) != sign(s1) && absolute(e) > absolute(3 * s0))
         e = 3 * s0;
      return e;
   };
   d[0] = endSlope(h[0], h[1], secant[0], secant[1]);
   const int last = kNbrPoints - 1;
   d[last] = endSlope(h[last - 1], h[last - 2], secant[last - 1], secant[last - 2]);
   return d;
}

constexpr double pchip(double x, const std::array<double, kNbrPoints>& d) {
   int k = 0;
   while (k < kNbrPoints - 2 && x >= kGrid[k + 1])
      ++k;
   const double h = kGrid[k + 1] - kGrid[k];
   const double t = (x - kGrid[k]) / h;
   const double t2 = t * t;
   const double t3 = t2 * t;
   return kPlate[k] * (2 * t3 - 3 * t2 + 1) + h * d[k] * (t3 - 2 * t2 + t) +
          kPlate[k + 1] * (3 * t2 - 2 * t3) + h * d[k + 1] * (t3 - t2);
}

constexpr TubeTable make7199P() {
   TubeTable table{-5.0f, 5.0f, 200.0f, 2001, {}};
   const auto d = pchipSlopes();
   for (int i = 0; i < 2001; ++i)
      table.values[i] = static_cast<float>(pchip(-5.0 + i / 200.0, d));
   return table;
}

} // namespace

// The KT88 tables and the second 7199P table are not read by any sound; they carry their grids and
// hold no curve.
constexpr TubeTable tranytable_KT88[2] = {{-15.0f, 15.0f, 66.66670227050781f, 2001, {}},
                                          {-15.0f, 15.0f, 66.66670227050781f, 2001, {}}};
constexpr TubeTable tranytable_7199P[2] = {make7199P(), {-5.0f, 5.0f, 200.0f, 2001, {}}};

const TubeTable* const tranytab[4] = {&tranytable_KT88[0], &tranytable_KT88[1], &tranytable_7199P[0],
                                      &tranytable_7199P[1]};
