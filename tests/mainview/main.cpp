// The main view tests run as one DAW process with a home folder of their own: nothing the plug-in writes
// for the user lands in the real home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
   testing::InitGoogleTest(&argc, argv);
   namespace fs = std::filesystem;
   const fs::path home =
       fs::temp_directory_path() / ("scorchwire-mainview-home-" + std::to_string(::getpid()));
   fs::create_directories(home);
   ::setenv("HOME", home.c_str(), 1);
   const int result = RUN_ALL_TESTS();
   fs::remove_all(home);
   return result;
}
