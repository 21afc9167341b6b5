// The settings tests run as one DAW process; each test gives the plug-in a home folder of its own, and
// this one catches whatever a test leaves to the process's default.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
   testing::InitGoogleTest(&argc, argv);
   namespace fs = std::filesystem;
   const fs::path home =
       fs::temp_directory_path() / ("scorchwire-settings-home-" + std::to_string(::getpid()));
   fs::create_directories(home);
   ::setenv("HOME", home.c_str(), 1);
   const int result = RUN_ALL_TESTS();
   fs::remove_all(home);
   return result;
}
