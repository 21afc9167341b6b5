#pragma once

namespace hiir {

// Designs the all-pass coefficients of a polyphase IIR half-band filter (elliptic prototype) from
// the stop-band attenuation in dB and the transition width as a fraction of the sampling rate
// (0 < transition < 0.5). Everything is computed in double precision.
class PolyphaseIir2Designer {
public:
   // How many coefficients the design needs.
   static int compute_nbr_coefs_from_proto(double attenuation, double transition);

   // Fills coef_arr with the design's coefficients and returns how many there are.
   static int compute_coefs(double coef_arr[], double attenuation, double transition);

private:
   static void compute_transition_param(double& k, double& q, double transition);
   static int compute_order(double attenuation, double q);
   static double compute_coef(int index, double k, double q, int order);
   static double compute_acc_num(double q, int order, int c);
   static double compute_acc_den(double q, int order, int c);
};

} // namespace hiir
