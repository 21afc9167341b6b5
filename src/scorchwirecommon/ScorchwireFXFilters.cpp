#include "ScorchwireFX.h"

#include <cstring>

// Placeholder until the filter stages exist: the pre-filter slot copies input to output.
void ScorchwireFX::processPreFilter(float** in, float** out, int n) {
   for (int c = 0; c < 2; ++c)
      if (out[c] != in[c])
         std::memmove(out[c], in[c], sizeof(float) * static_cast<size_t>(n));
}
void ScorchwireFX::processPostFilter(float** buffers, int n) {
   if (n > 0) {
      lastPostFilterLeft = buffers[0][n - 1];
      lastPostFilterRight = buffers[1][n - 1];
   }
}
void ScorchwireFX::resumeFilters() {}
