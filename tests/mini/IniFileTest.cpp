#include <mini/ini.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
class IniFileTest : public ::testing::Test {
protected:
   void SetUp() override {
      dir_ = std::filesystem::temp_directory_path() /
             ("mini-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
      std::filesystem::create_directories(dir_);
      path_ = (dir_ / "settings.conf").string();
   }
   void TearDown() override { std::filesystem::remove_all(dir_); }

   void writeFile(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
   std::string readFile() {
      std::ifstream in(path_, std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      return s.str();
   }

   std::filesystem::path dir_;
   std::string path_;
};
} // namespace

TEST_F(IniFileTest, MissingFileReadsNothingAndWriteCreatesIt) {
   mINI::INIFile file(path_);
   mINI::INIStructure ini;
   EXPECT_FALSE(file.read(ini));
   EXPECT_EQ(ini.size(), 0u);
   ini["PluginUI"]["CurrentColor"] = "#be961eff";
   ASSERT_TRUE(file.write(ini));
   EXPECT_EQ(readFile(), "[PluginUI]\nCurrentColor=#be961eff\n");
}

TEST_F(IniFileTest, NamesAreCaseSensitive) {
   writeFile("[pluginui]\ncurrentcolor=#ff0000ff\n[PluginUI]\ncurrentColor = #00ff00ff\n");
   mINI::INIStructure ini;
   ASSERT_TRUE(mINI::INIFile(path_).read(ini));
   EXPECT_FALSE(ini.get("PluginUI").has("CurrentColor"));
   EXPECT_EQ(ini.get("PluginUI").get("currentColor"), "#00ff00ff");
   EXPECT_EQ(ini.get("pluginui").get("currentcolor"), "#ff0000ff");
}

TEST_F(IniFileTest, WriteUpdatesInPlaceAndKeepsEverythingElse) {
   writeFile("; user notes\n"
             "[Other]\n"
             "  spaced key = kept as typed  \n"
             "\n"
             "# a comment inside\n"
             "[PluginUI]\n"
             "CurrentColor=#ff0000ff\n"
             "Zoom = 2\n"
             "\n"
             "[Tail]\n"
             "x=1\n");
   mINI::INIFile file(path_);
   mINI::INIStructure ini;
   ASSERT_TRUE(file.read(ini));
   ini["PluginUI"]["CurrentColor"] = "#be961eff";
   ini["PluginUI"]["NewKey"] = "v";
   ini["Fresh"]["a"] = "b";
   ASSERT_TRUE(file.write(ini));
   EXPECT_EQ(readFile(), "; user notes\n"
                         "[Other]\n"
                         "  spaced key = kept as typed  \n"
                         "\n"
                         "# a comment inside\n"
                         "[PluginUI]\n"
                         "CurrentColor=#be961eff\n"
                         "Zoom = 2\n"
                         "NewKey=v\n"
                         "\n"
                         "[Tail]\n"
                         "x=1\n"
                         "\n"
                         "[Fresh]\n"
                         "a=b\n");
}

TEST_F(IniFileTest, RemovedEntriesLeaveTheFile) {
   writeFile("[A]\nx=1\ny=2\n[B]\nz=3\n");
   mINI::INIFile file(path_);
   mINI::INIStructure ini;
   ASSERT_TRUE(file.read(ini));
   ini["A"].remove("x");
   ini.remove("B");
   ASSERT_TRUE(file.write(ini));
   EXPECT_EQ(readFile(), "[A]\ny=2\n");
}

TEST_F(IniFileTest, WriteToAnUnwritablePlaceFails) {
   mINI::INIStructure ini;
   ini["PluginUI"]["CurrentColor"] = "#be961eff";
   EXPECT_FALSE(mINI::INIFile((dir_ / "missing" / "x.conf").string()).write(ini));
}
