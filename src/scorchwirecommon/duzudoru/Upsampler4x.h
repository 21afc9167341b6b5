#pragma once
#include "duzudoru/HalfBandDesign.h"
#include "duzudoru/hiir/Upsampler2xSse.h"
#include "duzudoru/mem/DynArray.h"

namespace ohm::studio::genlib {

// Raises mono blocks to four times their rate through two 2x half-band stages (host rate to 2x
// with 8 coefficients, 2x to 4x with 3), one independent filter state per channel.
class Upsampler4x {
public:
   Upsampler4x() = default;
   virtual ~Upsampler4x() = default;
   Upsampler4x(const Upsampler4x&) = delete;
   Upsampler4x& operator=(const Upsampler4x&) = delete;

   // Allocates and designs the channels; not for the audio thread.
   void set_nbr_chn(int nbr_chn);
   void clear_buffers();
   // Reads nbr_spl samples from in_ptr and writes 4 * nbr_spl samples to out_ptr.
   void process_block_1ch(int chn_index, float* out_ptr, const float* in_ptr, long nbr_spl);

private:
   class ChnProc {
   public:
      void config();
      hiir::Upsampler2xSse<NBR_COEF_12> _us_12;
      hiir::Upsampler2xSse<NBR_COEF_24> _us_24;
   };

   ohm::mem::DynArray<ChnProc, 16> _chn_arr;
   int _nbr_chn = 0;
};

} // namespace ohm::studio::genlib
