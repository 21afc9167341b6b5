#pragma once

namespace ohm::studio::genlib {

// The two half-band designs of the 4x oversampler: 69 dB of stop-band attenuation each, a
// transition of 0.01 for the stage at the host rate and 0.2 for the stage between 2x and 4x.
constexpr double HALF_BAND_ATTENUATION = 69.0;
constexpr double TRANSITION_12 = 0.01;
constexpr double TRANSITION_24 = 0.2;
constexpr int NBR_COEF_12 = 8;
constexpr int NBR_COEF_24 = 3;

// Designs a stage's coefficients into coef_arr and checks that the design has nbr_coefs of them.
void design_half_band(double coef_arr[], int nbr_coefs, double transition);

} // namespace ohm::studio::genlib
