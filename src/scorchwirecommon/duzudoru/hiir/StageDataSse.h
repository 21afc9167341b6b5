#pragma once
#include <xmmintrin.h>

namespace hiir {

// One four-lane entry of a half-band stage: the all-pass coefficients of four sections and their
// last outputs (entry 0 keeps only the last input vector in its memory).
struct alignas(16) StageDataSse {
   float _coef[4];
   float _mem[4];
};

// Runs one input vector through entries 1..NBR_STAGES of a stage. Every section computes
// y[n] = a * (x[n] - y[n-1]) + x[n-1], four sections per entry side by side; all memories are read
// before they are overwritten, so each entry sees its predecessor's previous output as x[n-1].
template <int NBR_STAGES> inline __m128 process_stages_sse(StageDataSse* stage, __m128 x) {
   __m128 mem_prev = _mm_load_ps(stage[0]._mem);
   _mm_store_ps(stage[0]._mem, x);
   __m128 y = x;
   for (int s = 1; s <= NBR_STAGES; ++s) {
      const __m128 coef = _mm_load_ps(stage[s]._coef);
      const __m128 mem = _mm_load_ps(stage[s]._mem);
      y = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(y, mem), coef), mem_prev);
      _mm_store_ps(stage[s]._mem, y);
      mem_prev = mem;
   }
   return y;
}

// Coefficient i lives in entry 1 + i / 4, lane (i ^ 1) & 3.
template <int NBR_COEFS> inline void set_coefs_sse(StageDataSse* stage, const double coef_arr[]) {
   for (int i = 0; i < NBR_COEFS; ++i)
      stage[1 + i / 4]._coef[(i ^ 1) & 3] = static_cast<float>(coef_arr[i]);
}

// The state of a new stage: every coefficient and memory 0, except the lanes that hold no
// coefficient, which get 1.0 (a section that passes its input unchanged from a cleared state).
template <int NBR_COEFS, int NBR_ENTRIES> inline void init_stage_sse(StageDataSse* stage) {
   for (int s = 0; s < NBR_ENTRIES; ++s)
      for (int lane = 0; lane < 4; ++lane) {
         stage[s]._coef[lane] = 0.0f;
         stage[s]._mem[lane] = 0.0f;
      }
   for (int i = NBR_COEFS; i < (NBR_ENTRIES - 1) * 4; ++i)
      stage[1 + i / 4]._coef[(i ^ 1) & 3] = 1.0f;
}

template <int NBR_ENTRIES> inline void clear_stage_memories_sse(StageDataSse* stage) {
   for (int s = 0; s < NBR_ENTRIES; ++s)
      for (float& m : stage[s]._mem)
         m = 0.0f;
}

} // namespace hiir
