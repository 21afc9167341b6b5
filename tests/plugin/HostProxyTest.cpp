#include "Host.h"

#include <clap/helpers/host-proxy.hh>

#include <gtest/gtest.h>

#include <unistd.h>

// The plug-in's view of its host, driven against our host library with and without each extension.
namespace {
using Proxy = clap::helpers::HostProxy<clap::helpers::MisbehaviourHandler::Terminate,
                                       clap::helpers::CheckingLevel::Maximal>;
}

TEST(HostProxy, UsesNoExtensionBeforeInit) {
   host::Host host;
   Proxy proxy(host.clapHost());
   clap_id id = 0;
   EXPECT_FALSE(proxy.canUseParams());
   EXPECT_FALSE(proxy.paramsRescan(CLAP_PARAM_RESCAN_VALUES));
   EXPECT_FALSE(proxy.timerSupportRegister(33, &id));
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 0);
   EXPECT_TRUE(host.timers().empty());
}

TEST(HostProxy, ReachesEveryExtensionTheHostOffers) {
   host::Host host;
   Proxy proxy(host.clapHost());
   proxy.init();
   EXPECT_TRUE(proxy.canUseHostLog());
   EXPECT_TRUE(proxy.canUseThreadCheck());
   EXPECT_TRUE(proxy.isMainThread());
   EXPECT_FALSE(proxy.isAudioThread());

   EXPECT_TRUE(proxy.paramsRescan(CLAP_PARAM_RESCAN_VALUES));
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 1);
   EXPECT_TRUE(proxy.paramsRequestFlush());
   EXPECT_EQ(host.flushRequests(), 1);
   EXPECT_TRUE(proxy.stateMarkDirty());
   EXPECT_EQ(host.markDirtyCount(), 1);

   clap_id timer = CLAP_INVALID_ID;
   ASSERT_TRUE(proxy.timerSupportRegister(33, &timer));
   EXPECT_EQ(host.timers().count(timer), 1u);
   EXPECT_TRUE(proxy.timerSupportUnregister(timer));
   EXPECT_TRUE(host.timers().empty());

   int fds[2];
   ASSERT_EQ(::pipe(fds), 0);
   EXPECT_TRUE(
       proxy.posixFdSupportRegister(fds[0], CLAP_POSIX_FD_READ | CLAP_POSIX_FD_WRITE | CLAP_POSIX_FD_ERROR));
   EXPECT_EQ(host.fds().at(fds[0]), 7u);
   EXPECT_TRUE(proxy.posixFdSupportModify(fds[0], CLAP_POSIX_FD_READ));
   EXPECT_TRUE(proxy.posixFdSupportUnregister(fds[0]));
   EXPECT_TRUE(host.fds().empty());
   ::close(fds[0]);
   ::close(fds[1]);

   proxy.log(CLAP_LOG_INFO, "hello");
   ASSERT_EQ(host.logLines().size(), 1u);
   EXPECT_EQ(host.logLines()[0].message, "hello");
}

// A host lacking an extension (a scanner lacks them all) gets false answers, never a crash or an end.
TEST(HostProxy, AnswersFalseForEveryMissingExtension) {
   host::HostOptions none;
   none.params = none.state = none.log = none.threadCheck = none.timerSupport = none.posixFdSupport =
       none.gui = false;
   host::Host host(none);
   Proxy proxy(host.clapHost());
   proxy.init();
   clap_id timer = CLAP_INVALID_ID;
   EXPECT_FALSE(proxy.canUseHostLog());
   EXPECT_FALSE(proxy.canUseThreadCheck());
   EXPECT_TRUE(proxy.isMainThread());
   EXPECT_TRUE(proxy.isAudioThread());
   EXPECT_FALSE(proxy.canUseParams());
   EXPECT_FALSE(proxy.paramsRescan(CLAP_PARAM_RESCAN_VALUES));
   EXPECT_FALSE(proxy.paramsRequestFlush());
   EXPECT_FALSE(proxy.stateMarkDirty());
   EXPECT_FALSE(proxy.canUseTimerSupport());
   EXPECT_EQ(proxy.hostTimerSupport(), nullptr);
   EXPECT_FALSE(proxy.timerSupportRegister(33, &timer));
   EXPECT_FALSE(proxy.timerSupportUnregister(1));
   EXPECT_FALSE(proxy.canUsePosixFdSupport());
   EXPECT_EQ(proxy.hostPosixFdSupport(), nullptr);
   EXPECT_FALSE(proxy.posixFdSupportRegister(0, CLAP_POSIX_FD_READ));
   EXPECT_FALSE(proxy.posixFdSupportUnregister(0));
   EXPECT_EQ(timer, CLAP_INVALID_ID);
}

// Asking the host for a flush from the audio thread is the plug-in's own fault.
TEST(HostProxyDeathTest, FlushRequestFromTheAudioThreadIsPluginMisbehaviour) {
   GTEST_FLAG_SET(death_test_style, "threadsafe");
   EXPECT_DEATH(
       {
          host::HostOptions o;
          o.printLog = true;
          host::Host host(o);
          Proxy proxy(host.clapHost());
          proxy.init();
          host::AudioThread audio;
          audio.run([&] { proxy.paramsRequestFlush(); });
       },
       R"(\[plug-in log 6\] clap_host_params\.request_flush\(\) must not be called from the audio thread)");
}
