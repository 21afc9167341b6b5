#pragma once
#include "duzudoru/hiir/Array.h"
#include "duzudoru/hiir/StageDataSse.h"

#include <xmmintrin.h>

namespace hiir {

// 2x downsampler: the same polyphase half-band low-pass as the upsampler. Of each input pair, the
// first sample goes through the odd branch and the second through the even one; the output is half
// their sum, one pair late.
template <int NBR_COEFS> class Downsampler2xSse {
public:
   static constexpr int NBR_STAGES = (NBR_COEFS + 3) / 4;

   Downsampler2xSse() { init_stage_sse<NBR_COEFS, NBR_STAGES + 1>(&_filter[0]); }

   void set_coefs(const double coef_arr[]) { set_coefs_sse<NBR_COEFS>(&_filter[0], coef_arr); }

   void clear_buffers() { clear_stage_memories_sse<NBR_STAGES + 1>(&_filter[0]); }

   // in_ptr[0] is the earlier sample of the pair.
   float process_sample(const float in_ptr[2]) {
      // V = [xa, xb, L0, L1], L being the last entry's output for the previous pair.
      const __m128 last = _mm_load_ps(_filter[NBR_STAGES]._mem);
      const __m128 pair = _mm_unpacklo_ps(_mm_set_ss(in_ptr[0]), _mm_set_ss(in_ptr[1]));
      const __m128 x = _mm_movelh_ps(pair, last);
      const __m128 y = process_stages_sse<NBR_STAGES>(&_filter[0], x);
      const __m128 sum = _mm_add_ss(_mm_shuffle_ps(y, y, _MM_SHUFFLE(2, 2, 2, 2)),
                                    _mm_shuffle_ps(y, y, _MM_SHUFFLE(3, 3, 3, 3)));
      return _mm_cvtss_f32(_mm_mul_ss(sum, _mm_set_ss(0.5f)));
   }

   // Reads 2 * nbr_spl samples, writes nbr_spl.
   void process_block(float out_ptr[], const float in_ptr[], long nbr_spl) {
      for (long pos = 0; pos < nbr_spl; ++pos)
         out_ptr[pos] = process_sample(&in_ptr[2 * pos]);
   }

private:
   Array<StageDataSse, NBR_STAGES + 1> _filter;
};

} // namespace hiir
