// Every distortion type rendered through claphost as a user would: a full-scale sine sweep,
// square wave and noise, silence, and a burst followed by silence.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

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

   void writeInput(const std::vector<float>& mono) const {
      SF_INFO info{};
      info.samplerate = kRate;
      info.channels = 2;
      info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
      SNDFILE* f = sf_open(path("in.wav").c_str(), SFM_WRITE, &info);
      ASSERT_NE(f, nullptr);
      std::vector<float> frames;
      for (float v : mono) {
         frames.push_back(v);
         frames.push_back(-v);
      }
      sf_writef_float(f, frames.data(), static_cast<sf_count_t>(mono.size()));
      sf_close(f);
   }

   // Renders the input with the given settings; returns the interleaved output.
   std::vector<float> render(const std::string& settings) const {
      const std::string cmd = std::string(CLAPHOST_PATH) + " render " + SCORCHWIRE_BUNDLE + " " +
                              path("in.wav") + " " + path("out.wav") + " --block 256 " + settings +
                              " >/dev/null 2>" + path("err.txt");
      const int raw = std::system(cmd.c_str());
      EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << cmd;
      SF_INFO info{};
      SNDFILE* f = sf_open(path("out.wav").c_str(), SFM_READ, &info);
      if (f == nullptr)
         return {};
      std::vector<float> out(static_cast<size_t>(info.frames * info.channels));
      sf_readf_float(f, out.data(), info.frames);
      sf_close(f);
      return out;
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
