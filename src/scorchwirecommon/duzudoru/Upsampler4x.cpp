#include "duzudoru/Upsampler4x.h"

#include <cassert>

namespace ohm::studio::genlib {

void Upsampler4x::ChnProc::config() {
   double coef_12[NBR_COEF_12];
   double coef_24[NBR_COEF_24];
   design_half_band(coef_12, NBR_COEF_12, TRANSITION_12);
   design_half_band(coef_24, NBR_COEF_24, TRANSITION_24);
   _us_12.set_coefs(coef_12);
   _us_24.set_coefs(coef_24);
}

void Upsampler4x::set_nbr_chn(int nbr_chn) {
   assert(nbr_chn > 0);
   if (_chn_arr.size() != nbr_chn)
      _chn_arr.resize(nbr_chn);
   for (int chn = _nbr_chn; chn < nbr_chn; ++chn)
      _chn_arr[chn].config();
   _nbr_chn = nbr_chn;
   clear_buffers();
}

void Upsampler4x::clear_buffers() {
   for (int chn = 0; chn < _nbr_chn; ++chn) {
      _chn_arr[chn]._us_12.clear_buffers();
      _chn_arr[chn]._us_24.clear_buffers();
   }
}

void Upsampler4x::process_block_1ch(int chn_index, float* out_ptr, const float* in_ptr, long nbr_spl) {
   assert(_nbr_chn > 0);
   assert(chn_index >= 0 && chn_index < _nbr_chn);
   assert(out_ptr != nullptr && in_ptr != nullptr && out_ptr != in_ptr);
   assert(nbr_spl > 0);
   ChnProc& chn = _chn_arr[chn_index];
   for (long pos = 0; pos < nbr_spl; ++pos) {
      float u0;
      float u1;
      chn._us_12.process_sample(u0, u1, in_ptr[pos]);
      float* out = out_ptr + pos * 4;
      chn._us_24.process_sample(out[0], out[1], u0);
      chn._us_24.process_sample(out[2], out[3], u1);
   }
}

} // namespace ohm::studio::genlib
