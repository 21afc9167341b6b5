// claphost gui on the built bundle, as a user runs it: the editor window and its screenshot.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace editortest;

namespace {
namespace fs = std::filesystem;

// claphost unloads the plug-in before it exits, so fontconfig's once-per-process allocations made
// through the plug-in's font look-up lie in an unloaded module, where the sanitizer's suppression cannot
// name them. The in-process tests keep the plug-in loaded and check its memory.
const std::string kNoLeakCheckForUnloadedFonts = "LSAN_OPTIONS=\"$LSAN_OPTIONS:detect_leaks=0\" ";

class ClaphostGui : public ::testing::Test {
protected:
   void SetUp() override {
      dir = fs::temp_directory_path() / ("claphost-gui-" + std::to_string(::getpid()));
      fs::create_directories(dir);
   }
   void TearDown() override { fs::remove_all(dir); }

   // Runs claphost gui with the arguments; its standard output is kept in out.
   int run(const std::string& arguments) {
      const fs::path log = dir / "out.txt";
      const std::string command = kNoLeakCheckForUnloadedFonts + std::string(CLAPHOST_PATH) + " gui " +
                                  SCORCHWIRE_BUNDLE_DIR + " " + arguments + " >" + log.string() + " 2>&1";
      const int status = std::system(command.c_str());
      std::ifstream in(log);
      std::stringstream text;
      text << in.rdbuf();
      out = text.str();
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
   }
   std::string screenshot(const std::string& name) const { return (dir / name).string(); }

   fs::path dir;
   std::string out;
};

// The editor fills the window the host grants with its background, at every size: the base size, a
// scale of 2, and a user's resize (1000 x 618 adjusted to the largest height, 972 x 600).
TEST_F(ClaphostGui, ScreenshotShowsTheEditorAtTheGrantedSize) {
   const struct {
      const char* arguments;
      uint32_t width, height;
   } cases[] = {
       {"", 800, 494},
       {"--scale 2", 1600, 988},
       {"--size 1000x618", 972, 600},
   };
   for (const auto& c : cases) {
      const std::string png = screenshot("editor.png");
      ASSERT_EQ(run(std::string(c.arguments) + " --screenshot " + png + " --after 300"), 0) << out;
      const Image image = readPng(png);
      EXPECT_EQ(image.width, c.width) << c.arguments;
      EXPECT_EQ(image.height, c.height) << c.arguments;
      // The main view's background picture covers the whole window.
      EXPECT_EQ(image.count(kBackground), 0u) << c.arguments;
      // The editor was torn down cleanly before the instance.
      EXPECT_NE(out.find("(~ScorchwireEditor)"), std::string::npos) << c.arguments;
   }
}

// Two instances in one claphost: the first editor's instance carries the toolkit until its editor
// closes, then hands over to the second.
TEST_F(ClaphostGui, TwoInstancesShareTheToolkit) {
   const std::string png = screenshot("first.png");
   ASSERT_EQ(run("--instances 2 --screenshot " + png + " --after 300"), 0) << out;
   EXPECT_EQ(logMessages(out, "addLinuxVSTGUIPlugin"), std::vector<std::string>{"Creating VSTGUI RunLoop"});
   EXPECT_EQ(logMessages(out, "ClapRunLoop"), std::vector<std::string>{"Creating ClapRunLoop"});
   EXPECT_EQ(logMessages(out, "addPlugin").size(), 2u);
   EXPECT_EQ(logMessages(out, "setAsPrimaryPlugin").front().rfind("Setting new primary plugin ", 0), 0u);
   const auto removals = logMessages(out, "removePlugin");
   EXPECT_NE(std::find(removals.begin(), removals.end(), "    Moving handlers to new plugin"),
             removals.end());
   const Image image = readPng(png);
   EXPECT_EQ(image.width, 800u);
   EXPECT_EQ(image.count(kBackground), 0u);
}

} // namespace
