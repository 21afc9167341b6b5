#include "PluginFixture.h"

#include <cmath>
#include <limits>
#include <string>

using namespace plugintest;

namespace {

constexpr double kRate = 48000.0;
constexpr uint32_t kBlock = 256;
constexpr uint32_t kRecoveryFrames = 2400; // 50 ms at 48 kHz

struct Settings {
   const char* name;
   std::vector<std::pair<clap_id, double>> values;
};

// Quiet and gentle, everything at its loudest, and PUNCH with the post-filter half closed.
const Settings kSettings[] = {
    {"gentle", {{0, 0.5}, {1, 0.0}, {2, 0.0}, {5, 0.0}, {6, 0.0}, {7, 0.0}, {8, 0.0}}},
    {"extreme",
     {{0, 1.0},
      {1, 1.0},
      {2, 1.0},
      {5, 1.0},
      {6, 1.0},
      {7, 0.0},
      {8, 1.0},
      {9, 1.0},
      {10, 1.0},
      {11, 1.0},
      {12, 1.0}}},
    {"punch", {{0, 0.2}, {1, 0.7}, {2, 0.5}, {5, 0.6}, {6, 0.3}, {7, 0.6}, {8, 0.5}}},
};

int firstNonFinite(const StereoBlock& b, uint32_t from = 0) {
   for (uint32_t i = from; i < b.frames; ++i)
      if (!std::isfinite(b.outL[i]) || !std::isfinite(b.outR[i]))
         return static_cast<int>(i);
   return -1;
}

} // namespace

// A block of NaN or infinity poisons every stage it reaches; 50 ms of clean input later the output
// is finite again, whichever filter, distortion type or PUNCH setting is used, also after switching
// to stages that were idle or bypassed while the poison passed.
class NonFiniteInput : public PluginTest {
protected:
   void apply(const std::vector<std::pair<clap_id, double>>& values, StereoBlock& block) {
      host::InputEvents events;
      for (auto [id, v] : values)
         events.push(host::InputEvents::paramValue(id, v));
      fillTestSignal(block, seed++);
      ASSERT_EQ(process(block, events), CLAP_PROCESS_CONTINUE);
   }
   // Clean blocks for 50 ms are allowed to carry the poison out; the 50 ms after that must not.
   void expectRecovered(const std::string& what) {
      StereoBlock block(kBlock);
      for (uint32_t done = 0; done < 2 * kRecoveryFrames; done += kBlock) {
         fillTestSignal(block, seed++);
         ASSERT_EQ(process(block), CLAP_PROCESS_CONTINUE);
         const uint32_t from = done >= kRecoveryFrames ? 0 : std::min(kBlock, kRecoveryFrames - done);
         ASSERT_EQ(firstNonFinite(block, from), -1) << what << " after " << done << " clean frames";
      }
   }
   void poison(float value) {
      StereoBlock block(kBlock);
      fillTestSignal(block, seed++);
      for (uint32_t i = 0; i < kBlock; i += 3) {
         block.inL[i] = value;
         block.inR[(i + 1) % kBlock] = -value;
      }
      ASSERT_EQ(process(block), CLAP_PROCESS_CONTINUE);
   }
   uint32_t seed = 1;
};

TEST_F(NonFiniteInput, OutputIsFiniteAgainWithin50MillisecondsForEveryStage) {
   startProcessing(kRate, kBlock);
   const float poisons[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
   for (const auto& settings : kSettings)
      for (int disto = 0; disto <= 8; ++disto)
         for (int filter = 0; filter <= 4; ++filter)
            for (float p : poisons) {
               const std::string what = std::string(settings.name) + " type " + std::to_string(disto) +
                                        " filter " + std::to_string(filter) +
                                        (std::isnan(p) ? " NaN" : " inf");
               StereoBlock block(kBlock);
               auto values = settings.values;
               values.emplace_back(3, filter / 4.0);
               values.emplace_back(4, disto / 8.0);
               apply(values, block);
               ASSERT_EQ(firstNonFinite(block), -1) << what << " before the poison";
               poison(p);
               expectRecovered(what);
               // Stages idle while the poison passed (other filter and type, PUNCH off) come back clean.
               apply({{3, ((filter + 2) % 5) / 4.0}, {4, ((disto + 4) % 9) / 8.0}, {8, 0.75}}, block);
               expectRecovered(what + " then switched");
            }
   stopProcessing();
}

// Finite input at full scale and beyond, with every setting at its extremes, stays finite.
TEST_F(NonFiniteInput, FiniteInputNeverGivesNonFiniteOutput) {
   startProcessing(kRate, kBlock);
   const float levels[] = {1.0f, 1000.0f, 1e30f, 1e-40f};
   for (const auto& settings : kSettings)
      for (int disto = 0; disto <= 8; ++disto)
         for (int filter = 0; filter <= 4; ++filter) {
            StereoBlock block(kBlock);
            auto values = settings.values;
            values.emplace_back(3, filter / 4.0);
            values.emplace_back(4, disto / 8.0);
            apply(values, block);
            for (float level : levels)
               for (int n = 0; n < 4; ++n) {
                  // A full-scale square wave scaled to the level.
                  for (uint32_t i = 0; i < kBlock; ++i) {
                     block.inL[i] = (i / 16) % 2 ? level : -level;
                     block.inR[i] = (i / 7) % 2 ? -level : level;
                  }
                  ASSERT_EQ(process(block), CLAP_PROCESS_CONTINUE);
                  ASSERT_EQ(firstNonFinite(block), -1)
                      << settings.name << " type " << disto << " filter " << filter << " level " << level;
               }
         }
   stopProcessing();
}
