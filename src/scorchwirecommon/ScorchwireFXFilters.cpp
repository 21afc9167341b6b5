#include "ScorchwireFX.h"

#include <cmath>

namespace {
float clampUnit(float v, float low) {
   return v < low ? low : (v > 1.0f ? 1.0f : v);
}
} // namespace

// Pre-filter: cutoff from the square of parameter 0 plus the left input's envelope scaled by
// parameter 2, smoothed over 60 ms; resonance from parameter 1 smoothed over 20 ms. Type
// (parameter 3, fixed for the block): 0 none, 1 ladder low-pass, 2 four-pole high-pass,
// 3 ladder band-pass, 4 four-pole low-pass into the ladder low-pass; anything else none.
void ScorchwireFX::processPreFilter(float** in, float** out, int n) {
   const int type = static_cast<int>(roundf(4.0f * params[3].load(std::memory_order_relaxed)));
   for (int i = 0; i < n; ++i) {
      envelopeFollower.process(in[0][i]);
      const float c = static_cast<float>(params[0].load(std::memory_order_relaxed) * 0.99);
      float q = resonanceSmoother.process(params[1].load(std::memory_order_relaxed));
      const float w = clampUnit(
          static_cast<float>(
              0.2 * envelopeFollower.envelope * params[2].load(std::memory_order_relaxed) * 6.0 + c * c),
          0.1f);
      const float fc = cutoffSmoother.process(w);
      q = clampUnit(q, 0.1f);

      float left = in[0][i];
      float right = in[1][i];
      switch (type) {
      case 1: {
         const float hz = static_cast<float>(fc * sampleRate * 0.5 + 5.0);
         const float res = static_cast<float>(q * 0.9);
         for (auto* ladder : {&ladderLeft, &ladderRight}) {
            ladder->mode = 0;
            ladder->SetFreq(hz);
            ladder->SetRes(res);
         }
         daisysp::LadderFilter::ProcessPair(ladderLeft, ladderRight, left, right);
         break;
      }
      case 2: {
         const float cutoff = static_cast<float>(fc * 0.8);
         const float res = static_cast<float>(q * 0.9);
         left = preFilterLeft.work(left, cutoff, res, 2);
         right = preFilterRight.work(right, cutoff, res, 2);
         break;
      }
      case 3: {
         const float f4 = static_cast<float>(fc * 0.4);
         const float hz = static_cast<float>(f4 * sampleRate * 0.5 + 5.0);
         const float res = static_cast<float>(q * 0.9);
         for (auto* ladder : {&ladderLeft, &ladderRight}) {
            ladder->mode = 2;
            ladder->SetFreq(hz);
            ladder->SetRes(res);
         }
         daisysp::LadderFilter::ProcessPair(ladderLeft, ladderRight, left, right);
         break;
      }
      case 4: {
         const float res = static_cast<float>(0.1 * q);
         left = preFilterLeft.work(left, fc, res, 1);
         right = preFilterRight.work(right, fc, res, 1);
         const float hz = static_cast<float>(fc * sampleRate * 0.5 + 5.0);
         const float ladderRes = static_cast<float>(q * 0.8);
         for (auto* ladder : {&ladderLeft, &ladderRight}) {
            ladder->mode = 0;
            ladder->SetFreq(hz);
            ladder->SetRes(ladderRes);
         }
         daisysp::LadderFilter::ProcessPair(ladderLeft, ladderRight, left, right);
         break;
      }
      default:
         break;
      }
      out[0][i] = left;
      out[1][i] = right;
   }
}

// Post-filter: a four-pole low-pass whose cutoff is the square of (1 - parameter 7), smoothed
// over 100 ms and kept within 0.1 to 1.0; 0.0 leaves it open.
void ScorchwireFX::processPostFilter(float** buffers, int n) {
   float* left = buffers[0];
   float* right = buffers[1];
   for (int i = 0; i < n; ++i) {
      const float a = postFilterSmoother.process(1.0f - params[7].load(std::memory_order_relaxed));
      const float c = clampUnit(a * a, 0.1f);
      left[i] = postFilterLeft.work(left[i], c, 0.0f, 1);
      right[i] = postFilterRight.work(right[i], c, 0.0f, 1);
   }
   if (n > 0) {
      lastPostFilterLeft = left[n - 1];
      lastPostFilterRight = right[n - 1];
   }
}

// Smoothers restart from 0, so after activation the cutoffs open from their lowest setting.
void ScorchwireFX::resumeFilters() {
   const float rate = static_cast<float>(sampleRate);
   resonanceSmoother.init(20.0f, rate);
   postFilterSmoother.init(100.0f, rate);
   cutoffSmoother.init(60.0f, rate);
   for (auto* ladder : {&ladderLeft, &ladderRight}) {
      ladder->Init(rate);
      ladder->SetInputDrive(2.0f);
   }
   postFilterLeft.clear_filter();
   postFilterRight.clear_filter();
   envelopeFollower.setup(10.0, 250.0, static_cast<int>(sampleRate));
}
