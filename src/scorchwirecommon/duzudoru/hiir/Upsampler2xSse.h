#pragma once
#include "duzudoru/hiir/Array.h"
#include "duzudoru/hiir/StageDataSse.h"

#include <xmmintrin.h>

namespace hiir {

// 2x upsampler: a polyphase half-band low-pass made of two all-pass branches (even coefficients
// a0, a2 ... and odd a1, a3 ...). Each input sample yields the even branch's output, then the odd
// one's. Four sections run side by side in one SSE vector, so the second half of each branch works
// on what the first half produced one input sample earlier.
template <int NBR_COEFS> class Upsampler2xSse {
public:
   static constexpr int NBR_STAGES = (NBR_COEFS + 3) / 4;

   Upsampler2xSse() { init_stage_sse<NBR_COEFS, NBR_STAGES + 1>(&_filter[0]); }

   void set_coefs(const double coef_arr[]) { set_coefs_sse<NBR_COEFS>(&_filter[0], coef_arr); }

   void clear_buffers() { clear_stage_memories_sse<NBR_STAGES + 1>(&_filter[0]); }

   void process_sample(float& out_0, float& out_1, float input) {
      // V = [x, x, L0, L1], L being the last entry's output for the previous sample.
      const __m128 last = _mm_load_ps(_filter[NBR_STAGES]._mem);
      const __m128 x = _mm_shuffle_ps(_mm_set1_ps(input), last, _MM_SHUFFLE(1, 0, 0, 0));
      const __m128 y = process_stages_sse<NBR_STAGES>(&_filter[0], x);
      out_0 = _mm_cvtss_f32(_mm_shuffle_ps(y, y, _MM_SHUFFLE(3, 3, 3, 3)));
      out_1 = _mm_cvtss_f32(_mm_shuffle_ps(y, y, _MM_SHUFFLE(2, 2, 2, 2)));
   }

   // Reads nbr_spl samples, writes 2 * nbr_spl.
   void process_block(float out_ptr[], const float in_ptr[], long nbr_spl) {
      for (long pos = 0; pos < nbr_spl; ++pos)
         process_sample(out_ptr[2 * pos], out_ptr[2 * pos + 1], in_ptr[pos]);
   }

private:
   Array<StageDataSse, NBR_STAGES + 1> _filter;
};

} // namespace hiir
