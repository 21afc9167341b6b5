// The help buttons' way to the browser: the program runs with the address, the caller does not wait
// for it, and it is not left as a child of the caller.
#include "SettingsTestSupport.h"

#include "scorchwire-launch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

using namespace settingstest;

namespace {

struct ProcessInfo {
   char state = 0; // 0 when the process is gone
   pid_t parent = 0;
};

// A process's state and parent, from /proc.
ProcessInfo processInfo(pid_t pid) {
   std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
   std::string text;
   std::getline(stat, text);
   const size_t close = text.rfind(')');
   ProcessInfo info;
   if (close != std::string::npos)
      std::istringstream(text.substr(close + 1)) >> info.state >> info.parent;
   return info;
}

bool waitFor(const std::function<bool()>& condition) {
   for (int i = 0; i < 200 && !condition(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
   return condition();
}

// A stand-in browser that writes its pid and its argument, then stays until told to go.
TEST(LaunchDetached, ProgramRunsWithTheAddressAndIsNotTheCallersChild) {
   TempFolder dir("launch");
   const fs::path program = dir.path() / "browser", seen = dir.path() / "seen", go = dir.path() / "go";
   writeText(program, "#!/bin/sh\necho $$ \"$1\" > '" + seen.string() + ".tmp'\nmv '" + seen.string() +
                          ".tmp' '" + seen.string() + "'\nwhile [ ! -e '" + go.string() +
                          "' ]; do sleep 0.05; done\n");
   fs::permissions(program, fs::perms::owner_all);

   ASSERT_TRUE(launchDetached(program.string(), "https://example.invalid/a b?c=d"));
   ASSERT_TRUE(waitFor([&] { return fs::exists(seen); }));
   std::istringstream line(readText(seen));
   pid_t browser = 0;
   std::string argument;
   line >> browser;
   std::getline(line >> std::ws, argument);
   EXPECT_EQ(argument, "https://example.invalid/a b?c=d");
   // Still running after the call returned: the caller did not wait for it, and it is not our child
   // (so it can never become our zombie).
   ASSERT_GT(browser, 0);
   const ProcessInfo running = processInfo(browser);
   EXPECT_NE(running.state, 0);
   EXPECT_NE(running.state, 'Z');
   EXPECT_NE(running.parent, ::getpid());
   writeText(go, "");
   EXPECT_TRUE(waitFor([&] {
      const char state = processInfo(browser).state;
      return state == 0 || state == 'Z';
   }));
}

} // namespace
