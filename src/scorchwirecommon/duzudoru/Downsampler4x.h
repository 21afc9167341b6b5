#pragma once
#include "duzudoru/HalfBandDesign.h"
#include "duzudoru/hiir/Downsampler2xSse.h"
#include "duzudoru/mem/DynArray.h"

namespace ohm::studio::genlib {

// Brings mono blocks at four times the host rate back down through two 2x half-band stages
// (4x to 2x with 3 coefficients, 2x to host rate with 8), one independent state per channel.
class Downsampler4x {
public:
   Downsampler4x() = default;
   virtual ~Downsampler4x() = default;
   Downsampler4x(const Downsampler4x&) = delete;
   Downsampler4x& operator=(const Downsampler4x&) = delete;

   // Allocates and designs the channels; not for the audio thread.
   void set_nbr_chn(int nbr_chn);
   void clear_buffers();
   // Reads 4 * nbr_spl samples from in_ptr and writes nbr_spl samples to out_ptr.
   void process_block_1ch(int chn_index, float* out_ptr, const float* in_ptr, long nbr_spl);

private:
   class ChnProc {
   public:
      void config();
      hiir::Downsampler2xSse<NBR_COEF_12> _ds_12;
      hiir::Downsampler2xSse<NBR_COEF_24> _ds_24;
   };

   ohm::mem::DynArray<ChnProc, 16> _chn_arr;
   int _nbr_chn = 0;
};

} // namespace ohm::studio::genlib
