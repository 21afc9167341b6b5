// The run-loop adapter on its own: instances linked into this process, each in a host of its own, and
// handlers standing in for the toolkit's X connection and timers. What each host was asked is read from
// its registration log.
#include "EditorTestSupport.h"

#include "linux-vstgui-adapter.h"
#include "scorchwire.h"

#include <gtest/gtest.h>

using namespace editortest;

namespace {

using Log = std::vector<std::string>;

struct Descriptor : VSTGUI::X11::IEventHandler {
   void onEvent() override { ++events; }
   int events = 0;
};

struct Timer : VSTGUI::X11::ITimerHandler {
   void onTimer() override { ++ticks; }
   int ticks = 0;
};

// An instance linked into this process, initialised by its host.
struct Instance {
   explicit Instance(host::HostOptions options = {}) : host(options) {
      instance = new Scorchwire(host.clapHost());
      plugin = std::make_unique<host::PluginInstance>(host, instance->clapPlugin());
   }
   host::Host host;
   Scorchwire* instance;
   std::unique_ptr<host::PluginInstance> plugin;
};

TEST(ClapRunLoop, CarriesDescriptorsAndTimersThroughThePrimaryHost) {
   Instance first, withoutTimers({.timerSupport = false}), third;
   std::string out;
   Descriptor connection, pipe;
   Timer idle, blink, stranger;
   VSTGUI::SharedPointer<ClapRunLoop> loop;
   out = captureStdout([&] { loop = VSTGUI::owned(new ClapRunLoop(first.instance)); });
   EXPECT_EQ(logMessages(out, "ClapRunLoop"), Log{"Creating ClapRunLoop"});
   EXPECT_EQ(logMessages(out, "setAsPrimaryPlugin").size(), 1u);

   // Two descriptors; unregistering the first handler drops exactly the first descriptor.
   EXPECT_TRUE(loop->registerEventHandler(40, &connection));
   EXPECT_TRUE(loop->registerEventHandler(41, &pipe));
   out = captureStdout([&] { EXPECT_TRUE(loop->unregisterEventHandler(&connection)); });
   EXPECT_EQ(logMessages(out, "unregisterEventHandler")[1], "Found an event handler to erase  [fd=40] ");
   EXPECT_FALSE(loop->unregisterEventHandler(&connection));
   EXPECT_EQ(first.host.registrationLog(), (Log{"fd+ 40", "fd+ 41", "fd- 40"}));

   // Host callbacks reach the handlers registered for them, and nothing else.
   EXPECT_TRUE(loop->registerTimer(50, &idle));
   loop->onPosixFd(41);
   loop->onPosixFd(40);
   loop->onTimer(1);
   loop->onTimer(7);
   EXPECT_EQ(pipe.events, 1);
   EXPECT_EQ(connection.events, 0);
   EXPECT_EQ(idle.ticks, 1);

   // The last editor closes: its host loses everything; a timer started now waits for a primary.
   loop->removePlugin(first.instance);
   EXPECT_EQ(first.host.registrationLog(),
             (Log{"fd+ 40", "fd+ 41", "fd- 40", "timer+ 1 50", "fd- 41", "timer- 1"}));
   out = captureStdout([&] { EXPECT_TRUE(loop->registerTimer(20, &blink)); });
   const Log registration = logMessages(out, "registerTimer");
   ASSERT_EQ(registration.size(), 2u);
   EXPECT_EQ(registration[0].rfind("registerTimer [handler=0x", 0), 0u);
   EXPECT_EQ(registration[1], "Timer registered without primary plugin");

   // A host that refuses timers becomes primary: the descriptor moves, the timers stay pending...
   loop->addPlugin(withoutTimers.instance);
   loop->addPlugin(third.instance);
   EXPECT_EQ(withoutTimers.host.registrationLog(), Log{"fd+ 41"});
   EXPECT_TRUE(third.host.registrationLog().empty());
   loop->onTimer(1);
   EXPECT_EQ(idle.ticks, 1);

   // ...and the next primary registers all of them.
   loop->removePlugin(withoutTimers.instance);
   EXPECT_EQ(withoutTimers.host.registrationLog(), (Log{"fd+ 41", "fd- 41"}));
   EXPECT_EQ(third.host.registrationLog(), (Log{"fd+ 41", "timer+ 1 50", "timer+ 2 20"}));
   loop->onTimer(2);
   EXPECT_EQ(blink.ticks, 1);

   // A handler that was never registered.
   out = captureStdout([&] { EXPECT_TRUE(loop->unregisterTimer(&stranger)); });
   ASSERT_EQ(logMessages(out, "unregisterTimer").size(), 2u);
   EXPECT_EQ(logMessages(out, "unregisterTimer")[1].rfind("Found no timer for  [handler=", 0), 0u);
   EXPECT_NE(logMessages(out, "unregisterTimer")[1].find(
                 ".  [clapTimerIdToHandlerMap.size()=2]  [registeredTimers.size()=2] "),
             std::string::npos);

   EXPECT_TRUE(loop->unregisterTimer(&idle));
   EXPECT_EQ(third.host.registrationLog().back(), "timer- 1");
   loop->removePlugin(third.instance);
   out = captureStdout([&] { loop = nullptr; });
   EXPECT_EQ(logMessages(out, "~ClapRunLoop"),
             Log{" [registeredTimers.size()=1]  [registeredEventHandlers.size()=1] "});
}

} // namespace
