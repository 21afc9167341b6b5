#include "PluginFixture.h"
#include "scorchwire-log.h"

#include <regex>

// The diagnostic line format every part of the plug-in writes with.
TEST(LogLine, FollowsThePrefixPositionFunctionMessageValuesLayout) {
   const void* pointer = reinterpret_cast<const void*>(0x1234abcd);
   const int fd = 7;
   const double scale = 1.5;
   const std::string text = plugintest::captureStdout([&] {
      SCORCHWIRE_LOG("Setting new primary plugin ", SCORCHWIRE_VALUE(pointer));
      SCORCHWIRE_LOG(SCORCHWIRE_VALUE(fd), SCORCHWIRE_VALUE(scale), " as ", SCORCHWIRE_VALUE(fd));
      SCORCHWIRE_LOG_AS("initializationOver");
   });
   const std::string position = R"(\[dudo-rez-evir\] [^ ]*LogTest\.cpp:[0-9]+ )";
   const std::regex expected(position +
                             R"(\(operator\(\)\) : Setting new primary plugin  \[pointer=0x1234abcd\] \n)" +
                             position + R"(\(operator\(\)\) :  \[fd=7\]  \[scale=1\.5\]  as  \[fd=7\] \n)" +
                             position + R"(\(initializationOver\)\n)");
   EXPECT_TRUE(std::regex_match(text, expected)) << text;
}
