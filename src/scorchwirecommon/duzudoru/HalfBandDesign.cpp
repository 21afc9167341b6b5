#include "duzudoru/HalfBandDesign.h"

#include "duzudoru/hiir/PolyphaseIir2Designer.h"

#include <cassert>

namespace ohm::studio::genlib {

void design_half_band(double coef_arr[], [[maybe_unused]] int nbr_coefs, double transition) {
   using hiir::PolyphaseIir2Designer;
   assert(PolyphaseIir2Designer::compute_nbr_coefs_from_proto(HALF_BAND_ATTENUATION, transition) ==
          nbr_coefs);
   PolyphaseIir2Designer::compute_coefs(coef_arr, HALF_BAND_ATTENUATION, transition);
}

} // namespace ohm::studio::genlib
