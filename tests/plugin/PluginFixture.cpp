#include "PluginFixture.h"


#include <cmath>

namespace plugintest {

// Channels are never empty, so that a block of 0 frames still has real buffers.
StereoBlock::StereoBlock(uint32_t n) : frames(n), inL(n), inR(n), outL(n), outR(n) {
   for (auto* channel : {&inL, &inR, &outL, &outR})
      channel->reserve(1);
   in[0] = inL.data();
   in[1] = inR.data();
   out[0] = outL.data();
   out[1] = outR.data();
}

void fillTestSignal(StereoBlock& block, uint32_t seed) {
   uint32_t state = seed * 2654435761u + 1;
   const auto noise = [&state] {
      state = state * 1664525u + 1013904223u;
      return static_cast<float>(state >> 8) / static_cast<float>(1u << 24) * 2.0f - 1.0f;
   };
   for (uint32_t i = 0; i < block.frames; ++i) {
      const float sine = 0.5f * std::sin(0.05f * static_cast<float>(i));
      block.inL[i] = sine + 0.25f * noise();
      block.inR[i] = -sine + 0.25f * noise();
   }
}

} // namespace plugintest
