// Every distortion type rendered through claphost as a user would: a full-scale sine sweep,
// square wave and noise, silence, and a burst followed by silence.
#include "WavFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace claphosttest;

constexpr int kRate = 48000;
constexpr const char* kTypeNames[9] = {"Overdrive",   "Clip Inferno", "Hot Valve",
                                       "Ultracrunch", "Bit Reducer",  "TurboFuzz",
                                       "RageClip",    "Brutal Bill",  "Quadrafuzz"};

// Two seconds of a logarithmic sweep from 20 Hz to 20 kHz, half a second each of a 100 Hz square
// wave, noise and silence, a quarter-second noise burst and 1.25 s of silence, all at full scale.
std::vector<float> testSignal() {
   std::vector<float> s;
   const double seconds = 2.0, f0 = 20.0, f1 = 20000.0;
   const double k = std::log(f1 / f0);
   for (int i = 0; i < 2 * kRate; ++i) {
      const double t = static_cast<double>(i) / kRate;
      s.push_back(
          static_cast<float>(std::sin(2 * M_PI * f0 * seconds / k * (std::exp(t / seconds * k) - 1))));
   }
   for (int i = 0; i < kRate / 2; ++i)
      s.push_back((i / (kRate / 200)) % 2 == 0 ? 1.0f : -1.0f);
   std::mt19937 rng(1);
   std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
   for (int i = 0; i < kRate / 2; ++i)
      s.push_back(noise(rng));
   s.insert(s.end(), kRate / 2, 0.0f);
   for (int i = 0; i < kRate / 4; ++i)
      s.push_back(noise(rng));
   s.insert(s.end(), kRate * 5 / 4, 0.0f);
   return s;
}

class DistortionRenderTest : public ::testing::Test {
protected:
   void SetUp() override {
      dir = fs::temp_directory_path() / ("disto-render-" + std::to_string(::getpid()));
      fs::create_directories(dir);
   }
   void TearDown() override { fs::remove_all(dir); }

   std::string path(const std::string& name) const { return (dir / name).string(); }

   // The mono signal on the left and inverted on the right.
   void writeInput(const std::vector<float>& mono) const {
      std::vector<float> inverted(mono.size());
      std::transform(mono.begin(), mono.end(), inverted.begin(), [](float v) { return -v; });
      ASSERT_TRUE(writeStereoWav(path("in.wav"), mono, inverted, kRate));
   }

   // Renders the input with the given settings; returns the interleaved output.
   std::vector<float> render(const std::string& settings) const {
      return renderWithClaphost(path("in.wav"), path("out.wav"), "--block 256 " + settings, path("err.txt"));
   }

   fs::path dir;
};

TEST_F(DistortionRenderTest, EveryTypeStaysFiniteBoundedAndSettlesAfterABurst) {
   const auto in = testSignal();
   writeInput(in);
   for (int type = 0; type < 9; ++type)
      for (const char* controls : {"--set 5=0 --set 6=0", "--set 5=1 --set 6=1"}) {
         const std::string settings = "--set 4=" + std::to_string(type / 8.0) + " " + controls;
         const auto out = render(settings);
         ASSERT_EQ(out.size(), 2 * in.size()) << kTypeNames[type] << " " << controls;
         float peak = 0, tail = 0;
         for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_TRUE(std::isfinite(out[i])) << kTypeNames[type] << " " << controls << ", value " << i;
            peak = std::max(peak, std::fabs(out[i]));
            // The last half second, both channels: the filters' own noise floor lies far below.
            if (i >= out.size() - kRate)
               tail = std::max(tail, std::fabs(out[i]));
         }
         EXPECT_LT(peak, 4.0f) << kTypeNames[type] << " " << controls;
         EXPECT_LT(tail, 0.01f) << kTypeNames[type] << " " << controls
                                << ": still sounding a second after the burst";
      }
}

} // namespace
