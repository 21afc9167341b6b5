#include "EngineHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

using namespace engine_harness;

namespace {
constexpr int kCapacity = ScorchwireFX::kScopeRingSize - 1;

void feed(ScorchwireFX& fx, Stereo& s) {
   runInBlocks(s, 256, [&fx](float** b, int n) {
      fx.feedScope(b, n);
      fx.feedMeter(b, n);
   });
}

std::vector<char> readAll(ScorchwireFX& fx) {
   std::vector<char> out(kCapacity);
   out.resize(static_cast<size_t>(fx.readScope(out.data())));
   return out;
}

// A frame whose scope sample is v (within ±127): (v + 0.5) / 127 on both channels truncates to v.
float levelFor(int v) {
   return (static_cast<float>(v) + (v < 0 ? -0.5f : 0.5f)) / 127.0f;
}
} // namespace

TEST(ScorchwireFXFeeds, MeterHoldsThePeaksOfTheLastBlock) {
   ScorchwireFX fx;
   Stereo s(std::vector{-0.8f, 0.5f}, std::vector{0.25f, -0.3f});
   feed(fx, s);
   float peaks[2];
   fx.readPeaks(peaks);
   EXPECT_EQ(peaks[0], 0.8f);
   EXPECT_EQ(peaks[1], 0.3f);

   Stereo quieter(std::vector{0.1f}, std::vector{0.0f});
   feed(fx, quieter);
   fx.readPeaks(peaks);
   EXPECT_EQ(peaks[0], 0.1f) << "each block overwrites the previous peaks";
   EXPECT_EQ(peaks[1], 0.0f);
}

// An empty block through the whole chain: the peaks drop to 0.0, nothing else moves.
TEST(ScorchwireFXFeeds, EmptyBlockZeroesThePeaksOnly) {
   ScorchwireFX fx;
   fx.resume(44100.0, 256);
   Stereo s(300, 0.5f);
   processInBlocks(fx, s);
   const double lastLeft = fx.lastPostFilterLeft;
   const int written = fx.scopeWrite.load();
   float* b[2] = {s.left.data(), s.right.data()};
   fx.process(b, b, 0);
   float peaks[2];
   fx.readPeaks(peaks);
   EXPECT_EQ(peaks[0], 0.0f);
   EXPECT_EQ(peaks[1], 0.0f);
   EXPECT_EQ(fx.lastPostFilterLeft, lastLeft);
   EXPECT_EQ(fx.scopeWrite.load(), written);
}

TEST(ScorchwireFXFeeds, ScopeSampleIsTheScaledMonoMeanSaturatedAtFullScale) {
   const float nan = std::numeric_limits<float>::quiet_NaN();
   const float inf = std::numeric_limits<float>::infinity();
   struct Case {
      float left, right;
      int expected;
   };
   const Case cases[] = {
       {1.0f, 1.0f, 127},    {1.0f, -1.0f, 0},  {-0.5f, -0.5f, -63},  {-1.0f, -1.0f, -127}, {0.004f, 0.0f, 0},
       {-0.01f, -0.01f, -1}, {1.5f, 1.5f, 127}, {-3.0f, -2.0f, -127}, {inf, 0.0f, 127},     {nan, 0.5f, 0},
   };
   ScorchwireFX fx;
   for (const auto& c : cases) {
      Stereo s(std::vector{c.left}, std::vector{c.right});
      feed(fx, s);
      const auto got = readAll(fx);
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(static_cast<int>(got[0]), c.expected) << "left " << c.left << ", right " << c.right;
   }
}

// Nobody reads while the editor is closed: the ring keeps the first 16383 frames and drops the
// rest; the next read hands over all of them, the one after that nothing.
TEST(ScorchwireFXFeeds, FullRingKeepsTheOldestFramesUntilRead) {
   ScorchwireFX fx;
   Stereo s(20000);
   for (size_t i = 0; i < s.size(); ++i)
      s.left[i] = s.right[i] = levelFor(static_cast<int>(i % 255) - 127);
   feed(fx, s);
   EXPECT_EQ(fx.scopeWrite.load(), 16383);
   EXPECT_EQ(fx.scopeRead.load(), 0);

   fx.resume(48000.0, 512);
   const auto got = readAll(fx);
   ASSERT_EQ(got.size(), static_cast<size_t>(kCapacity)) << "activation does not clear the ring";
   for (int i = 0; i < kCapacity; ++i)
      ASSERT_EQ(static_cast<int>(got[i]), i % 255 - 127) << "frame " << i;
   EXPECT_EQ(fx.scopeRead.load(), 16383);
   EXPECT_TRUE(readAll(fx).empty());

   Stereo more(10, levelFor(42));
   feed(fx, more);
   const auto wrapped = readAll(fx);
   ASSERT_EQ(wrapped.size(), 10u) << "writing carries on across the end of the ring";
   EXPECT_EQ(static_cast<int>(wrapped[9]), 42);
   EXPECT_EQ(fx.scopeWrite.load(), 9);
}

// The audio thread writes blocks of frames numbered through the scope samples while the main
// thread reads at random moments. The writer here waits for room (the engine itself never
// waits) so that no frame is dropped and the reader must see every frame exactly once, in order.
TEST(ConcurrencyScopeAndMeter, ReaderSeesEveryFrameInOrderWhileTheAudioThreadWrites) {
   ScorchwireFX fx;
   constexpr int kBlocks = 20000;
   constexpr int kBlock = 64;
   std::atomic<bool> done{false};

   std::thread audio([&] {
      Stereo block(kBlock);
      int frame = 0;
      for (int b = 0; b < kBlocks; ++b) {
         while ((fx.scopeWrite.load(std::memory_order_acquire) -
                 fx.scopeRead.load(std::memory_order_acquire) + ScorchwireFX::kScopeRingSize) %
                    ScorchwireFX::kScopeRingSize >
                kCapacity - kBlock)
            std::this_thread::yield();
         for (int i = 0; i < kBlock; ++i, ++frame)
            block.left[i] = block.right[i] = levelFor(frame % 255 - 127);
         block.left[0] = -(2.0f + static_cast<float>(b % 100) / 100.0f); // the block's left peak
         float* buffers[2] = {block.left.data(), block.right.data()};
         fx.feedScope(buffers, kBlock);
         fx.feedMeter(buffers, kBlock);
      }
      done.store(true, std::memory_order_release);
   });

   std::vector<char> chunk(kCapacity);
   long received = 0;
   bool ordered = true;
   bool peaksValid = true;
   for (;;) {
      const bool finished = done.load(std::memory_order_acquire);
      const int count = fx.readScope(chunk.data());
      for (int i = 0; i < count; ++i, ++received) {
         // the first frame of each block carries the peak marker instead of its number
         if (received % kBlock != 0 && chunk[i] != static_cast<char>(received % 255 - 127))
            ordered = false;
      }
      float peaks[2];
      fx.readPeaks(peaks);
      const bool leftIsAMarker = peaks[0] == 0.0f || (peaks[0] >= 2.0f && peaks[0] < 3.0f);
      const bool rightIsANumber = peaks[1] >= 0.0f && peaks[1] <= levelFor(127);
      peaksValid = peaksValid && leftIsAMarker && rightIsANumber;
      if (finished && count == 0)
         break;
      std::this_thread::yield();
   }
   audio.join();
   EXPECT_TRUE(ordered);
   EXPECT_TRUE(peaksValid);
   EXPECT_EQ(received, static_cast<long>(kBlocks) * kBlock);
}
