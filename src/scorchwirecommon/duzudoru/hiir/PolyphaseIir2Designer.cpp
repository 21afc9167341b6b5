#include "duzudoru/hiir/PolyphaseIir2Designer.h"

#include "duzudoru/hiir/fnc.h"

#include <cassert>
#include <cmath>

namespace hiir {

namespace {
constexpr double PI = 3.1415926535897932384626433832795;
// The theta series are summed until a term no larger than this has been added.
constexpr double SERIES_END = 1e-100;
} // namespace

int PolyphaseIir2Designer::compute_nbr_coefs_from_proto(double attenuation, double transition) {
   assert(attenuation > 0);
   assert(transition > 0 && transition < 0.5);
   double k = 0;
   double q = 0;
   compute_transition_param(k, q, transition);
   const int order = compute_order(attenuation, q);
   return (order - 1) / 2;
}

int PolyphaseIir2Designer::compute_coefs(double coef_arr[], double attenuation, double transition) {
   assert(coef_arr != nullptr);
   assert(attenuation > 0);
   assert(transition > 0 && transition < 0.5);
   double k = 0;
   double q = 0;
   compute_transition_param(k, q, transition);
   const int order = compute_order(attenuation, q);
   const int nbr_coefs = (order - 1) / 2;
   for (int index = 0; index < nbr_coefs; ++index)
      coef_arr[index] = compute_coef(index, k, q, order);
   return nbr_coefs;
}

// k: selectivity of the elliptic prototype; q: its nome.
void PolyphaseIir2Designer::compute_transition_param(double& k, double& q, double transition) {
   k = std::tan((1 - transition * 2) * PI / 4);
   k *= k;
   const double kksqrt = std::pow(1 - k * k, 0.25);
   const double e = 0.5 * (1 - kksqrt) / (1 + kksqrt);
   const double e4 = ipowp(e, 4);
   q = e * (1 + 2 * e4 + 15 * e4 * e4 + 150 * e4 * e4 * e4);
}

// Smallest odd filter order (at least 3) reaching the attenuation.
int PolyphaseIir2Designer::compute_order(double attenuation, double q) {
   const double attn_p2 = std::pow(10.0, -attenuation / 10);
   const double a = attn_p2 / (1 - attn_p2);
   int order = static_cast<int>(std::ceil(std::log(a * a / 16) / std::log(q)));
   if ((order & 1) == 0)
      ++order;
   if (order == 1)
      order = 3;
   return order;
}

double PolyphaseIir2Designer::compute_coef(int index, double k, double q, int order) {
   const int c = index + 1;
   const double num = compute_acc_num(q, order, c) * std::pow(q, 0.25);
   const double den = compute_acc_den(q, order, c) + 0.5;
   const double ww = num / den;
   const double wwsq = ww * ww;
   const double x = std::sqrt((1 - wwsq * k) * (1 - wwsq / k)) / (1 + wwsq);
   return (1 - x) / (1 + x);
}

double PolyphaseIir2Designer::compute_acc_num(double q, int order, int c) {
   double acc = 0;
   int m = 0;
   double term = 0;
   do {
      term = ipowp(q, m * (m + 1)) * std::sin((m * 2 + 1) * c * PI / order);
      if ((m & 1) != 0)
         term = -term;
      acc += term;
      ++m;
   } while (std::fabs(term) > SERIES_END);
   return acc;
}

double PolyphaseIir2Designer::compute_acc_den(double q, int order, int c) {
   double acc = 0;
   int m = 1;
   double term = 0;
   do {
      term = ipowp(q, m * m) * std::cos(m * 2 * c * PI / order);
      if ((m & 1) != 0)
         term = -term;
      acc += term;
      ++m;
   } while (std::fabs(term) > SERIES_END);
   return acc;
}

} // namespace hiir
