#pragma once
// Drives single stages or the whole chain of a ScorchwireFX over stereo signals in blocks.
#include "ScorchwireFX.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace engine_harness {

struct Stereo {
   std::vector<float> left, right;
   explicit Stereo(size_t frames = 0, float value = 0.0f) : left(frames, value), right(frames, value) {}
   Stereo(std::vector<float> l, std::vector<float> r) : left(std::move(l)), right(std::move(r)) {}
   size_t size() const { return left.size(); }
};

// Calls stage(buffers, n) over the signal in place, in blocks of blockSize frames.
inline void runInBlocks(Stereo& s, int blockSize, const std::function<void(float**, int)>& stage) {
   for (size_t at = 0; at < s.size(); at += blockSize) {
      const int n = static_cast<int>(std::min<size_t>(blockSize, s.size() - at));
      float* buffers[2] = {s.left.data() + at, s.right.data() + at};
      stage(buffers, n);
   }
}

// The whole chain, in place, as the instance calls it.
inline void processInBlocks(ScorchwireFX& fx, Stereo& s, int blockSize = 256) {
   runInBlocks(s, blockSize, [&fx](float** b, int n) { fx.process(b, b, n); });
}

} // namespace engine_harness
