// The settings file as a user meets it: claphost gui playing a file through the built bundle with a home
// folder of its own. The colour the file holds is the colour the window shows; closing the window
// stores the colour and keeps everything else the file holds.
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

using namespace editortest;
using namespace settingstest;

namespace {

// claphost unloads the plug-in before it exits, so fontconfig's once-per-process allocations made
// through the plug-in's font look-up lie in an unloaded module, where the sanitizer's suppression cannot
// name them. The in-process tests keep the plug-in loaded and check its memory.
const std::string kNoLeakCheckForUnloadedFonts = "LSAN_OPTIONS=\"$LSAN_OPTIONS:detect_leaks=0\" ";

class SettingsFile : public ::testing::Test {
protected:
   void SetUp() override { writeSine(dir.path() / "sine.wav", 0.9, 2); }

   // Opens the window with the file playing and the drive knob at 0.75, takes its picture, closes it.
   Image runWithHome(const fs::path& home, const std::string& name) {
      return run("HOME='" + home.string() + "' ", name);
   }
   // The same with a command prefix that sets up the environment.
   Image run(const std::string& prefix, const std::string& name) {
      const fs::path png = dir.path() / (name + ".png");
      const std::string command = kNoLeakCheckForUnloadedFonts + prefix + CLAPHOST_PATH + " gui " +
                                  SCORCHWIRE_BUNDLE_DIR + " --set 5=0.75 --in " +
                                  (dir.path() / "sine.wav").string() + " --screenshot " + png.string() +
                                  " --after 800 >" + (dir.path() / "out.txt").string() + " 2>&1";
      const int status = std::system(command.c_str());
      out = readText(dir.path() / "out.txt");
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return readPng(png.string());
   }

   TempFolder dir{"settings-file"};
   TempFolder home{"settings-file-home"};
   std::string out;
   int exitCode = -1;
};

void expectThemeEverywhere(const Image& image, uint32_t rgb) {
   ASSERT_EQ(image.width, 800u);
   const ThemeShown shown = themeShown(image, rgb);
   EXPECT_EQ(shown.arcPoints, 3);
   EXPECT_EQ(shown.meterPoints, 2);
   EXPECT_GT(shown.scopePixels, 300u);
}

// What the window shows for what the file holds, and what the file holds after the window has closed.
TEST_F(SettingsFile, ColourReadAtOpenAndStoredAtClose) {
   const struct {
      const char* name;
      const char* before; // nullptr: no file
      uint32_t shown;
      const char* after;
   } cases[] = {
       {"absent", nullptr, kDefaultTheme, "[PluginUI]\nCurrentColor=#be961eff\n"},
       {"red", "[PluginUI]\nCurrentColor=#ff0000ff\n", 0xff0000, "[PluginUI]\nCurrentColor=#ff0000ff\n"},
       // Names are case-sensitive: the lower-case key is someone else's and stays.
       {"lower-case key", "[PluginUI]\ncurrentcolor=#ff0000ff\n", kDefaultTheme,
        "[PluginUI]\ncurrentcolor=#ff0000ff\nCurrentColor=#be961eff\n"},
       {"lower-case section", "[pluginui]\nCurrentColor=#ff0000ff\n", kDefaultTheme,
        "[pluginui]\nCurrentColor=#ff0000ff\n\n[PluginUI]\nCurrentColor=#be961eff\n"},
       {"empty value", "[PluginUI]\nCurrentColor=\n", kDefaultTheme, "[PluginUI]\nCurrentColor=#be961eff\n"},
       // A text the toolkit cannot read keeps the default; its line is rewritten where it stands, and
       // comments, other sections and their spacing survive.
       {"unreadable colour and neighbours",
        "; written by hand\n[Other]\nkey = value\n\n[PluginUI]\n# the theme\nCurrentColor = red\nSize=2\n",
        kDefaultTheme,
        "; written by hand\n[Other]\nkey = value\n\n[PluginUI]\n# the "
        "theme\nCurrentColor=#be961eff\nSize=2\n"},
       {"short form", "[PluginUI]\nCurrentColor=#00FF00\n", 0x00ff00, "[PluginUI]\nCurrentColor=#00ff00ff\n"},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      fs::remove_all(home.path() / ".tonequarry");
      if (c.before)
         writeText(settingsFile(home.path()), c.before);
      const Image image = runWithHome(home.path(), "window");
      ASSERT_EQ(exitCode, 0) << out;
      expectThemeEverywhere(image, c.shown);
      EXPECT_EQ(readText(settingsFile(home.path())), c.after);
   }
}

// A home where nothing can be created: both folder errors are reported, the window opens all the same
// with the default colour, and nothing is written.
TEST_F(SettingsFile, UnwritableHomeReportsBothFoldersAndStillOpens) {
   // A plain file as home: no folder can be made below it, not even by root.
   const fs::path fileHome = dir.path() / "home-is-a-file";
   writeText(fileHome, "");
   std::vector<fs::path> homes{fileHome};
   // A read-only folder only stops an ordinary user.
   if (::geteuid() != 0) {
      fs::create_directories(dir.path() / "read-only");
      fs::permissions(dir.path() / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
      homes.push_back(dir.path() / "read-only");
   }
   for (const fs::path& h : homes) {
      SCOPED_TRACE(h);
      const Image image = runWithHome(h, "unwritable");
      ASSERT_EQ(exitCode, 0) << out;
      EXPECT_NE(out.find("Scorchwire > Error Can't Create Tonequarry settings configuration folder \n"),
                std::string::npos)
          << out;
      EXPECT_NE(out.find("Scorchwire > Error Can't Create Gatewheel settings configuration file \n"),
                std::string::npos)
          << out;
      expectThemeEverywhere(image, kDefaultTheme);
      EXPECT_FALSE(fs::exists(settingsFile(h)));
   }
}

// Neither HOME nor the user database knows a home (a user the database does not list, given a copy of
// the X server's key it may read): the window opens with the default colour, without settings file or
// presets, and says so once.
TEST_F(SettingsFile, WithoutAnyHomeTheEditorWorksAndSaysSoOnce) {
   const char* key = std::getenv("XAUTHORITY");
   if (::geteuid() != 0 || !key)
      GTEST_SKIP() << "running as a user without a home needs root and the X server's key file";
   const fs::path keyCopy = dir.path() / "xauthority";
   fs::copy_file(key, keyCopy);
   fs::permissions(keyCopy, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
   fs::permissions(dir.path(), fs::perms::all);
   const Image image = run("env -u HOME XAUTHORITY='" + keyCopy.string() +
                               "' setpriv --reuid=54321 --regid=54321 --clear-groups ",
                           "no-home");
   ASSERT_EQ(exitCode, 0) << out;
   const std::string line =
       "Scorchwire > No home folder: the editor runs without its settings file and presets\n";
   const size_t first = out.find(line);
   EXPECT_NE(first, std::string::npos) << out;
   EXPECT_EQ(out.find(line, first + 1), std::string::npos) << out;
   expectThemeEverywhere(image, kDefaultTheme);
}

// A host that creates the editor and destroys it without ever giving it a window (to probe it, say):
// that editor never read the file, and the colour the user chose stays.
TEST(SettingsFileInTheBundle, EditorNeverShownLeavesTheFileAlone) {
   TempFolder home("settings-unshown-home");
   ScopedHome scopedHome(home.path());
   const std::string red = "[PluginUI]\nCurrentColor=#ff0000ff\n";
   writeText(settingsFile(home.path()), red);
   EditorHost daw;
   ASSERT_TRUE(daw.create());
   daw.close();
   EXPECT_EQ(readText(settingsFile(home.path())), red);
}

} // namespace
