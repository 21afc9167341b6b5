#include "WavFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace claphosttest;

struct Result {
   int status;
   std::string out;
   std::string err;
};

class ClaphostTest : public ::testing::Test {
protected:
   void SetUp() override {
      dir_ = fs::temp_directory_path() / ("claphost-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
      fs::create_directories(dir_);
   }
   void TearDown() override { fs::remove_all(dir_); }

   std::string path(const std::string& name) const { return (dir_ / name).string(); }

   Result run(const std::string& args) const {
      const std::string out = path("stdout.txt"), err = path("stderr.txt");
      const std::string cmd = std::string(CLAPHOST_PATH) + " " + args + " >" + out + " 2>" + err;
      const int raw = std::system(cmd.c_str());
      return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
   }

   static std::string slurp(const std::string& p) {
      std::ifstream in(p, std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      return s.str();
   }

   std::string bundle() const { return SCORCHWIRE_BUNDLE; }

   fs::path dir_;
};

std::vector<float> sine(size_t n, double freq, double amp, int rate) {
   std::vector<float> v(n);
   for (size_t i = 0; i < n; ++i)
      v[i] = static_cast<float>(amp * std::sin(2.0 * M_PI * freq * static_cast<double>(i) / rate));
   return v;
}
} // namespace

TEST_F(ClaphostTest, InfoDescribesThePluginAsJson) {
   const Result r = run("info " + bundle());
   ASSERT_EQ(r.status, 0) << r.err;
   for (const char* expected : {"\"id\":\"com.tonequarry.scorchwire\"", "\"name\":\"Scorchwire\"",
                                "\"features\":[\"audio-effect\",\"glitch\"]", "\"clap.params\"",
                                "\"name\":\"PreFltCut\"", "\"text\":\"No Filter\"", "\"name\":\"DRIVE\""})
      EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
   EXPECT_EQ(r.out.find("Constructing Scorchwire"), std::string::npos)
       << "diagnostics must not mix into JSON";
   EXPECT_NE(r.err.find("Constructing Scorchwire"), std::string::npos);
}

TEST_F(ClaphostTest, RenderKeepsLengthRateAndAppliesSettings) {
   const int rate = 44100;
   const size_t frames = 10000; // not a multiple of the block: the last block is shorter
   ASSERT_TRUE(
       writeStereoWav(path("in.wav"), sine(frames, 440, 0.5, rate), sine(frames, 660, 0.5, rate), rate));
   const Result r =
       run("render " + bundle() + " " + path("in.wav") + " " + path("out.wav") +
           " --block 128 --set 5=0.75 --set 7=nan --set 8=5.0 --save-state " + path("state.bin"));
   ASSERT_EQ(r.status, 0) << r.err;

   std::vector<float> out;
   SF_INFO info;
   ASSERT_TRUE(readWav(path("out.wav"), out, info));
   EXPECT_EQ(info.frames, static_cast<sf_count_t>(frames));
   EXPECT_EQ(info.samplerate, rate);
   EXPECT_EQ(info.channels, 2);
   EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
   for (float s : out)
      ASSERT_TRUE(std::isfinite(s));
   // A PEAK chunk carries a time stamp: the same render would give a different file each second.
   EXPECT_EQ(slurp(path("out.wav")).find("PEAK"), std::string::npos);

   // The saved state carries the values as the plug-in took them: 0.75, NaN ignored, 5.0 clamped.
   const std::string state = slurp(path("state.bin"));
   ASSERT_GE(state.size(), 8u + 17u * 8u);
   auto value = [&](int id) {
      double v;
      std::memcpy(&v, state.data() + 8 + 8 * id, sizeof v);
      return v;
   };
   EXPECT_EQ(value(5), 0.75);
   EXPECT_EQ(value(7), 0.0);
   EXPECT_EQ(value(8), 1.0);
}

TEST_F(ClaphostTest, LoadStateRestoresWhatSaveStateWrote) {
   ASSERT_TRUE(
       writeStereoWav(path("in.wav"), sine(4096, 100, 0.9, 48000), sine(4096, 100, 0.9, 48000), 48000));
   ASSERT_EQ(run("render " + bundle() + " " + path("in.wav") + " " + path("a.wav") +
                 " --set 4=0.25 --set 6=0.3 --save-state " + path("a.state"))
                 .status,
             0);
   ASSERT_EQ(run("render " + bundle() + " " + path("in.wav") + " " + path("b.wav") + " --load-state " +
                 path("a.state") + " --save-state " + path("b.state"))
                 .status,
             0);
   EXPECT_EQ(slurp(path("a.state")), slurp(path("b.state")));
   // The samples, not the files: the writer stamps the time of writing into its peak chunk.
   std::vector<float> a, b;
   SF_INFO aInfo, bInfo;
   ASSERT_TRUE(readWav(path("a.wav"), a, aInfo));
   ASSERT_TRUE(readWav(path("b.wav"), b, bInfo));
   EXPECT_EQ(a, b);
}

TEST_F(ClaphostTest, BenchEndsWithTheRealtimeFigure) {
   const Result r = run("bench " + bundle() + " --seconds 0.5 --block 256");
   ASSERT_EQ(r.status, 0) << r.err;
   const std::string last = r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1);
   double factor = 0, ns = 0;
   ASSERT_EQ(std::sscanf(last.c_str(), "%lf x realtime, %lf ns/frame", &factor, &ns), 2) << last;
   EXPECT_GT(factor, 0.0);
   EXPECT_GT(ns, 0.0);
}

TEST_F(ClaphostTest, FailuresExitNonZeroWithOneLine) {
   const struct {
      std::string args;
      std::string message;
   } cases[] = {
       {"info /no/such/plugin.clap", "cannot open"},
       {"render " + std::string(SCORCHWIRE_BUNDLE) + " /no/such.wav " + "/tmp/x.wav", "cannot read"},
       {"bench " + std::string(SCORCHWIRE_BUNDLE) + " --block 0", "--block"},
       {"render " + std::string(SCORCHWIRE_BUNDLE) + " --set 5", "--set"},
       {"frobnicate " + std::string(SCORCHWIRE_BUNDLE), "unknown command"},
   };
   for (const auto& c : cases) {
      const Result r = run(c.args);
      EXPECT_NE(r.status, 0) << c.args;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
   }
}
