// Several instances of the built plug-in in one process, each in a host of its own: the toolkit's one X
// connection and its timers are carried by the host of one instance with an open editor at a time.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>

using namespace editortest;

namespace {

using Log = std::vector<std::string>;

// The descriptor of the toolkit's X connection, from a host's first registration.
std::string xDescriptor(const host::Host& host) {
   for (const auto& entry : host.registrationLog())
      if (entry.rfind("fd+ ", 0) == 0)
         return entry.substr(4);
   return "";
}

// The main view's picture covers the whole window: no pixel of the frame's plain background is left.
bool painted(const EditorHost& daw) {
   const Image image = daw.capture();
   return image.width > 0 && image.count(kBackground) == 0;
}

TEST(RunLoop, RegistrationsFollowTheEditorsFromHostToHost) {
   EditorHost first, second, third;
   ASSERT_TRUE(first.open());
   ASSERT_TRUE(second.open(1.0, 900));
   pump({&first, &second}, 150);

   // Everything of the toolkit lives on the first instance's host, the second editor's timers too. Each
   // editor has its idle timer (33 ms) and its two meters' timers (30 ms).
   const std::string fd = xDescriptor(first.host);
   ASSERT_FALSE(fd.empty());
   const Log both{"fd+ " + fd,   "timer+ 1 30", "timer+ 2 30", "timer+ 3 33",
                  "timer+ 4 30", "timer+ 5 30", "timer+ 6 33"};
   EXPECT_EQ(first.host.registrationLog(), both);
   EXPECT_TRUE(second.host.registrationLog().empty());
   // Read and error readiness only: a writable X socket would wake the host all the time.
   EXPECT_EQ(first.host.fds().begin()->second, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR);
   EXPECT_TRUE(painted(first));
   EXPECT_TRUE(painted(second));

   const std::string out = captureStdout([&] { first.close(); });
   EXPECT_EQ(logMessages(out, "removePlugin")[1], "Primary Plugin being removed. Switching.");
   EXPECT_EQ(logMessages(out, "removePlugin").back(), "    Moving handlers to new plugin");
   Log handedOver = both;
   for (const char* entry : {"timer- 3", "fd- ", "timer- 1", "timer- 2", "timer- 4", "timer- 5", "timer- 6"})
      handedOver.push_back(std::string(entry) == "fd- " ? "fd- " + fd : entry);
   EXPECT_EQ(first.host.registrationLog(), handedOver);
   // The first editor's meters stop their timers as its frame closes, after the hand-over.
   Log secondLog{"fd+ " + fd,   "timer+ 1 30", "timer+ 2 30", "timer+ 3 30",
                 "timer+ 4 30", "timer+ 5 33", "timer- 2",    "timer- 1"};
   EXPECT_EQ(second.host.registrationLog(), secondLog);
   EXPECT_TRUE(first.host.timers().empty() && first.host.fds().empty());

   // The second editor keeps drawing, now driven by its own host: a larger window gets painted.
   EXPECT_EQ(second.resize(972, 600), std::make_pair(972u, 600u));
   pump({&second}, 150);
   EXPECT_EQ(second.capture().width, 972u);
   EXPECT_TRUE(painted(second));

   // The last editor takes everything with it; the next one, in a third instance, gets it all again.
   second.close();
   for (const char* entry : {"timer- 5", "fd- ", "timer- 3", "timer- 4"})
      secondLog.push_back(std::string(entry) == "fd- " ? "fd- " + fd : entry);
   EXPECT_EQ(second.host.registrationLog(), secondLog);
   ASSERT_TRUE(third.open());
   pump({&third}, 150);
   EXPECT_EQ(third.host.registrationLog(), (Log{"fd+ " + fd, "timer+ 1 30", "timer+ 2 30", "timer+ 3 33"}));
   EXPECT_TRUE(painted(third));

   // Host callbacks for timers and descriptors nobody registered change nothing.
   const auto* timers = static_cast<const clap_plugin_timer_support_t*>(
       third.plugin()->get_extension(third.plugin(), CLAP_EXT_TIMER_SUPPORT));
   const auto* fds = static_cast<const clap_plugin_posix_fd_support_t*>(
       third.plugin()->get_extension(third.plugin(), CLAP_EXT_POSIX_FD_SUPPORT));
   const std::string unknown = captureStdout([&] {
      timers->on_timer(third.plugin(), 999);
      fds->on_fd(third.plugin(), 9999, CLAP_POSIX_FD_READ);
      first.host.runLoopOnce(0);
   });
   EXPECT_EQ(unknown, "");
   third.close();
}

// A second create without a destroy replaces the editor; the instance is enrolled once, so one close
// leaves no registration behind.
TEST(RunLoop, CreatingTwiceEnrolsTheInstanceOnce) {
   EditorHost daw, next;
   ASSERT_TRUE(daw.create());
   ASSERT_TRUE(daw.open());
   pump({&daw}, 80);
   daw.close();
   EXPECT_TRUE(daw.host.timers().empty());
   EXPECT_TRUE(daw.host.fds().empty());

   ASSERT_TRUE(next.open());
   pump({&next}, 80);
   EXPECT_EQ(next.host.fds().size(), 1u);
   EXPECT_EQ(next.host.timers().size(), 3u); // the idle tick and the two meters
   EXPECT_TRUE(painted(next));
}

// Opening and closing the editor again and again leaves no descriptor, window or memory behind (the
// sanitizer build checks the memory at exit).
TEST(RunLoop, TwentyOpenCloseCyclesLeaveNothingBehind) {
   {
      // The toolkit and its X connection are set up once per process, by the first editor.
      EditorHost warmUp;
      ASSERT_TRUE(warmUp.open());
      pump({&warmUp}, 50);
   }
   const size_t descriptors = openDescriptorCount();
   for (int cycle = 0; cycle < 20; ++cycle) {
      EditorHost daw;
      ASSERT_TRUE(daw.open()) << cycle;
      pump({&daw}, 50);
      ASSERT_TRUE(painted(daw)) << cycle;
      daw.close();
      EXPECT_TRUE(daw.host.timers().empty() && daw.host.fds().empty()) << cycle;
   }
   EXPECT_EQ(openDescriptorCount(), descriptors);
}

} // namespace
