#include "duzudoru/Downsampler4x.h"

#include <cassert>

namespace ohm::studio::genlib {

void Downsampler4x::ChnProc::config() {
   double coef_12[NBR_COEF_12];
   double coef_24[NBR_COEF_24];
   design_half_band(coef_12, NBR_COEF_12, TRANSITION_12);
   design_half_band(coef_24, NBR_COEF_24, TRANSITION_24);
   _ds_12.set_coefs(coef_12);
   _ds_24.set_coefs(coef_24);
}

void Downsampler4x::set_nbr_chn(int nbr_chn) {
   assert(nbr_chn > 0);
   if (_chn_arr.size() != nbr_chn)
      _chn_arr.resize(nbr_chn);
   for (int chn = _nbr_chn; chn < nbr_chn; ++chn)
      _chn_arr[chn].config();
   _nbr_chn = nbr_chn;
   clear_buffers();
}

void Downsampler4x::clear_buffers() {
   for (int chn = 0; chn < _nbr_chn; ++chn) {
      _chn_arr[chn]._ds_12.clear_buffers();
      _chn_arr[chn]._ds_24.clear_buffers();
   }
}

void Downsampler4x::process_block_1ch(int chn_index, float* out_ptr, const float* in_ptr, long nbr_spl) {
   assert(_nbr_chn > 0);
   assert(chn_index >= 0 && chn_index < _nbr_chn);
   assert(out_ptr != nullptr && in_ptr != nullptr && out_ptr != in_ptr);
   assert(nbr_spl > 0);
   ChnProc& chn = _chn_arr[chn_index];
   for (long pos = 0; pos < nbr_spl; ++pos) {
      const float* in = in_ptr + pos * 4;
      const float pair[2] = {chn._ds_24.process_sample(&in[0]), chn._ds_24.process_sample(&in[2])};
      out_ptr[pos] = chn._ds_12.process_sample(pair);
   }
}

} // namespace ohm::studio::genlib
