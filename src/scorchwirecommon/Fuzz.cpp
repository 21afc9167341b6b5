#include "Fuzz.h"

#include "tranytab.h"

namespace {

// Input network: P_j = ((A_j rho + B_j) rho + C_j) R + E_j, P_0 the divisor.
constexpr double A[6] = {-6.250673553311089e-05,  6.227999973871504e-05,  0.00012138357938059679,
                         -0.00012093757772708877, -5.887910288327219e-05, 5.865983702416001e-05};
constexpr double B[6] = {5.859678684923507e-05,  -5.8311165531848e-05,   -0.00011370056159487569,
                         0.00011313678537064472, 5.5106033781426906e-05, -5.4827878874583016e-05};
constexpr double C[6] = {3.913371463140153e-06, -3.96540299899099e-06, -7.689652585264858e-06,
                         7.794140641466314e-06, 3.776281122124685e-06, -3.828737642475307e-06};
constexpr double E[6] = {2.44402781742033e-09, 1.22201390871017e-08, 2.44402781742033e-08,
                         2.44402781742033e-08, 1.22201390871017e-08, 2.44402781742033e-09};
// Q_j = ((F_j beta + G_j) rho + H_j beta + I_j) rho R + J_j beta + K_j.
constexpr double F[6] = {7.487049654421276e-15,  -1.1694114803485515e-14, -6.5599690107140644e-15,
                         1.4974099308842536e-14, -9.270806437071966e-16,  -3.2799845053570437e-15};
constexpr double G[6] = {-7.487049654421276e-15,  1.1694114803485515e-14, 6.5599690107140644e-15,
                         -1.4974099308842536e-14, 9.270806437071966e-16,  3.2799845053570437e-15};
constexpr double H[6] = {4.982431811236389e-13, -4.940361159745746e-13, -1.0049004925454043e-12,
                         9.964863622472758e-13, 5.066573114217674e-13,  -5.024502462727031e-13};
constexpr double I[6] = {-4.982431811236389e-13, 4.940361159745746e-13,  1.0049004925454043e-12,
                         -9.964863622472758e-13, -5.066573114217674e-13, 5.024502462727031e-13};
constexpr double J[6] = {-2.2303869580222512e-08, 2.2301546335914067e-08,  4.460773916044485e-08,
                         -4.460309267182796e-08,  -2.2303869580222512e-08, 2.2301546335914067e-08};
constexpr double K[6] = {2.2303869580222512e-08, -2.2301546335914067e-08, -4.460773916044485e-08,
                         4.460309267182796e-08,  2.2303869580222512e-08,  -2.2301546335914067e-08};

constexpr double kGlide = 0.007000000000000006; // 1 - 0.993: the step of the potentiometer glides
constexpr double kFirstStageGain = 1809227167.3649201;
constexpr double kLaterStageGain = 0.9302847925323914;
constexpr double kBias = 3.571981;
constexpr double kQuiescentPlate = 117.70440740740739;

} // namespace

void Fuzz::init() {
   sampleRate = 44100;
   rate = 44100.0;
   rho = beta = 0.0;
   x1 = x2 = x3 = x4 = x5 = 0.0;
   sp = 0.0;
   for (auto& st : stages)
      st = TriodeStage{};
}

double Fuzz::processStage(TriodeStage& st, double in, double inPrev, double inputGain) const {
   const double kn = (inPrev + in) * inputGain - 0.8605695850647829 * st.k;
   const double a = kn - (1.8405051250752198 * st.o1 + 0.8612942439318627 * st.o2);
   const double cn = (st.z1p + st.z1) * 0.0001644092801061577 + st.c * 0.9878215348069512;
   const double g = ((st.o1 + st.o1 + a + st.o2) * 0.9254498422517706 + cn) - kBias;
   const double z = tranytab[2]->lookup(g) - kQuiescentPlate;
   const double e = (452.8207471230518 * z + (-452.8207471230518) * st.z1) * 5.5087829629836966e-05 +
                    0.9955929736296131 * st.ep;
   st.o2 = st.o1;
   st.o1 = a;
   st.k = kn;
   st.c = cn;
   st.z1p = st.z1;
   st.z1 = z;
   return e;
}

void Fuzz::process(float* buf, int n) {
   const double dA = (1.0 - drive.load(std::memory_order_relaxed)) * kGlide;
   const double dB = (1.0 - tone.load(std::memory_order_relaxed)) * kGlide;
   const double R = rate;
   for (int i = 0; i < n; ++i) {
      const double x = buf[i];
      rho = 0.993 * rho + dA;
      beta = 0.993 * beta + dB;

      double P[6];
      double Q[6];
      for (int j = 0; j < 6; ++j) {
         P[j] = ((A[j] * rho + B[j]) * rho + C[j]) * R + E[j];
         Q[j] = ((F[j] * beta + G[j]) * rho + H[j] * beta + I[j]) * rho * R + J[j] * beta + K[j];
      }
      const double q0 = x - ((((P[2] * x2 + P[1] * x1) + P[3] * x3) + P[4] * x4) + P[5] * x5) / P[0];
      const double y = Q[5] * x5 + (Q[4] * x4 + (Q[3] * x3 + ((Q[0] * q0 + Q[1] * x1) + Q[2] * x2)));
      const double s = y / P[0];

      const double e1 = processStage(stages[0], s, sp, kFirstStageGain);
      const double e2 = processStage(stages[1], e1, stages[0].ep, kLaterStageGain);
      const double e3 = processStage(stages[2], e2, stages[1].ep, kLaterStageGain);
      buf[i] = static_cast<float>(e3);

      x5 = x4;
      x4 = x3;
      x3 = x2;
      x2 = x1;
      x1 = q0;
      sp = s;
      stages[0].ep = e1;
      stages[1].ep = e2;
      stages[2].ep = e3;
   }
}
