// The factory presets as the build writes them: each one loads, sounds unlike the defaults and stays
// finite and bounded on a plucked chord; the install script puts them into a new preset folder only.
#include "WavFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace claphosttest;

constexpr int kRate = 48000;

std::vector<uint8_t> readFile(const fs::path& path) {
   std::ifstream in(path, std::ios::binary);
   return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename T> T at(const std::vector<uint8_t>& bytes, size_t offset) {
   T value{};
   if (offset + sizeof(T) <= bytes.size())
      std::memcpy(&value, bytes.data() + offset, sizeof(T));
   return value;
}

// The "Comp" entry of a VST3 preset's chunk list: the state chunk the instance applies.
std::vector<uint8_t> componentChunk(const std::vector<uint8_t>& file) {
   const auto list = static_cast<size_t>(at<int64_t>(file, 40));
   const auto count = at<int32_t>(file, list + 4);
   for (int32_t i = 0; i < count; ++i) {
      const size_t entry = list + 8 + 20 * static_cast<size_t>(i);
      if (entry + 20 <= file.size() && std::memcmp(file.data() + entry, "Comp", 4) == 0) {
         const auto offset = static_cast<size_t>(at<int64_t>(file, entry + 4));
         const auto size = static_cast<size_t>(at<int64_t>(file, entry + 12));
         if (offset + size <= file.size())
            return {file.begin() + static_cast<long>(offset),
                    file.begin() + static_cast<long>(offset + size)};
      }
   }
   return {};
}

std::vector<fs::path> factoryPresets() {
   std::vector<fs::path> presets;
   for (const auto& entry : fs::recursive_directory_iterator(FACTORY_PRESETS))
      if (entry.is_regular_file() && entry.path().extension() == ".vstpreset")
         presets.push_back(entry.path());
   std::sort(presets.begin(), presets.end());
   return presets;
}

// A plucked A-minor chord: three decaying tones with their harmonics at about -6 dBFS, a quieter
// repeat, then silence.
std::vector<float> pluckedChord() {
   std::vector<float> s;
   const double notes[] = {110.0, 130.81, 164.81};
   for (double level : {0.5, 0.1})
      for (int i = 0; i < kRate; ++i) {
         const double t = static_cast<double>(i) / kRate;
         double v = 0;
         for (double f : notes)
            for (int h = 1; h <= 4; ++h)
               v += std::sin(2 * M_PI * f * h * t) / (h * h);
         s.push_back(static_cast<float>(level / 2.2 * v * std::exp(-3.0 * t)));
      }
   s.insert(s.end(), kRate / 2, 0.0f);
   return s;
}

double rms(const std::vector<float>& v) {
   double sum = 0;
   for (float x : v)
      sum += static_cast<double>(x) * x;
   return v.empty() ? 0 : std::sqrt(sum / static_cast<double>(v.size()));
}

class FactoryPresets : public ::testing::Test {
protected:
   void SetUp() override {
      dir = fs::temp_directory_path() / ("factory-presets-" + std::to_string(::getpid()));
      fs::create_directories(dir);
   }
   void TearDown() override { fs::remove_all(dir); }

   std::string path(const std::string& name) const { return (dir / name).string(); }

   void writeInput(const std::vector<float>& mono) const {
      ASSERT_TRUE(writeStereoWav(path("in.wav"), mono, mono, kRate));
   }

   // Renders in.wav with the arguments; the interleaved output.
   std::vector<float> render(const std::string& arguments) const {
      return renderWithClaphost(path("in.wav"), path("out.wav"), arguments);
   }

   // Runs the install script with HOME in the test folder; its exit status.
   int installPresets(const fs::path& source) const {
      const std::string cmd = "HOME='" + path("home") + "' '" + INSTALL_PRESETS_SCRIPT + "' '" +
                              source.string() + "' >/dev/null 2>&1";
      const int raw = std::system(cmd.c_str());
      return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
   }
   fs::path userPresets() const { return dir / "home/.tonequarry/Scorchwire/Presets"; }

   fs::path dir;
};

// Ten or more presets, in folders by character, covering all nine distortion types.
TEST_F(FactoryPresets, CoverEveryDistortionTypeInFoldersByCharacter) {
   const auto presets = factoryPresets();
   ASSERT_GE(presets.size(), 10u);
   std::map<long, int> types;
   std::map<std::string, int> folders;
   for (const fs::path& preset : presets) {
      const auto chunk = componentChunk(readFile(preset));
      ASSERT_GE(chunk.size(), 8u + 17u * 8u) << preset;
      ASSERT_EQ(at<int32_t>(chunk, 4), 17) << preset;
      ++types[std::lround(at<double>(chunk, 8 + 4 * 8) * 8)];
      ++folders[preset.parent_path().filename().string()];
      const std::string name(chunk.begin() + 8 + 17 * 8 + 1, chunk.end());
      EXPECT_EQ(name, preset.stem().string()) << "the chunk carries the preset's own name";
   }
   EXPECT_EQ(types.size(), 9u);
   EXPECT_GE(folders.size(), 3u);
}

// Every preset, loaded as the instance loads it, sounds unlike the defaults and stays finite and
// within the bound every type keeps at full drive.
TEST_F(FactoryPresets, EachSoundsUnlikeTheDefaultsAndStaysBounded) {
   const auto in = pluckedChord();
   writeInput(in);
   const auto plain = render("");
   ASSERT_FALSE(plain.empty());
   ASSERT_EQ(plain.size(), 2 * in.size());
   for (const fs::path& preset : factoryPresets()) {
      const auto chunk = componentChunk(readFile(preset));
      {
         std::ofstream state(path("state.bin"), std::ios::binary);
         state.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
      }
      const auto out = render("--load-state " + path("state.bin"));
      ASSERT_EQ(out.size(), plain.size()) << preset;
      float peak = 0;
      std::vector<float> difference(out.size());
      for (size_t i = 0; i < out.size(); ++i) {
         ASSERT_TRUE(std::isfinite(out[i])) << preset << ", value " << i;
         peak = std::max(peak, std::fabs(out[i]));
         difference[i] = out[i] - plain[i];
      }
      const double change = 20 * std::log10(rms(difference) / rms(plain));
      std::printf("%-40s peak %.3f, level %+.1f dB, difference from the defaults %+.1f dB\n",
                  preset.stem().c_str(), static_cast<double>(peak), 20 * std::log10(rms(out) / rms(plain)),
                  change);
      EXPECT_GT(change, -10.0) << preset << ": hardly differs from the defaults";
      EXPECT_LT(peak, 4.0f) << preset;
      EXPECT_GT(rms(out), 0.1 * rms(plain)) << preset << ": almost silent";
   }
}

// A new user gets the factory presets; a user who already has a preset folder keeps it exactly as it
// is, even an empty one.
TEST_F(FactoryPresets, InstallFillsOnlyANewPresetFolder) {
   ASSERT_EQ(installPresets(FACTORY_PRESETS), 0);
   size_t installed = 0;
   for (const auto& entry : fs::recursive_directory_iterator(userPresets()))
      installed += entry.is_regular_file();
   EXPECT_EQ(installed, factoryPresets().size());
   EXPECT_EQ(readFile(userPresets() / "Drive/Warm Overdrive.vstpreset"),
             readFile(fs::path(FACTORY_PRESETS) / "Drive/Warm Overdrive.vstpreset"));
   size_t leftovers = 0;
   for (const auto& entry : fs::directory_iterator(userPresets().parent_path()))
      leftovers += entry.path().filename() != "Presets";
   EXPECT_EQ(leftovers, 0u) << "no staging folder stays behind";

   // The user's own edit of a factory preset, and a folder of their own.
   { std::ofstream(userPresets() / "Drive/Warm Overdrive.vstpreset") << "mine"; }
   fs::create_directories(userPresets() / "Mine");
   ASSERT_EQ(installPresets(FACTORY_PRESETS), 0);
   EXPECT_EQ(readFile(userPresets() / "Drive/Warm Overdrive.vstpreset"),
             (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
   EXPECT_TRUE(fs::is_directory(userPresets() / "Mine"));

   fs::remove_all(userPresets());
   fs::create_directories(userPresets());
   ASSERT_EQ(installPresets(FACTORY_PRESETS), 0);
   EXPECT_TRUE(fs::is_empty(userPresets()));
}

// Without presets to copy the script fails and creates nothing.
TEST_F(FactoryPresets, InstallWithoutPresetsFailsAndCreatesNothing) {
   EXPECT_NE(installPresets(dir / "missing"), 0);
   EXPECT_FALSE(fs::exists(userPresets()));
}

} // namespace
