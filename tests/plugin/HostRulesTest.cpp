#include "PluginFixture.h"

#include <cmath>
#include <thread>

using namespace plugintest;

namespace {

// One host and one instance, driven from whichever thread a case needs.
struct Session {
   explicit Session(host::HostOptions options = {}, bool init = true)
       : host(options), plugin(library(), host, kPluginId, init) {}

   void onAudioThread(const std::function<void()>& fn) { audio.run(fn); }
   // A thread that takes the audio role only for this call (hosts may move the role between threads).
   static void onNewAudioThread(const std::function<void()>& fn) {
      std::thread t([&] {
         host::AudioThread::Scope audioRole;
         fn();
      });
      t.join();
   }
   // A thread that is neither the main thread nor an audio thread.
   static void onOtherThread(const std::function<void()>& fn) {
      std::thread t(fn);
      t.join();
   }

   void activateAndStart() {
      ASSERT_TRUE(plugin.activate(48000.0, 32, 4096));
      bool started = false;
      onAudioThread([&] { started = plugin.startProcessing(); });
      ASSERT_TRUE(started);
   }
   clap_process_status processBlock() {
      StereoBlock block(64);
      fillTestSignal(block);
      host::InputEvents in;
      host::OutputEvents out;
      return plugin.process(block.in, block.out, block.frames, in, out);
   }
   void flush() {
      host::InputEvents in;
      in.push(host::InputEvents::paramValue(1, 0.5));
      host::OutputEvents out;
      plugin.flush(in, out);
   }
   const void* anExtension() const {
      return plugin.plugin()->get_extension(plugin.plugin(), CLAP_EXT_PARAMS);
   }

   host::Host host;
   host::AudioThread audio;
   host::PluginInstance plugin;
};

host::HostOptions noExtensions() {
   host::HostOptions o;
   o.params = o.state = o.log = o.threadCheck = o.timerSupport = o.posixFdSupport = o.gui = false;
   return o;
}

host::HostOptions printingLog() {
   host::HostOptions o;
   o.printLog = true;
   return o;
}

// A call that breaks a rule, and the report that must precede the end of the process.
struct BrokenRule {
   const char* name;
   std::function<void(Session&)> run;
   const char* message;
};

template <size_t N> void expectEachEndsTheProcess(const BrokenRule (&cases)[N]) {
   for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      EXPECT_DEATH(
          {
             Session s(printingLog());
             c.run(s);
          },
          std::string(R"(\[plug-in log 5\] Host called )") + c.message);
   }
}

} // namespace

// Patterns a host following CLAP 1.2 may use: none of them may end the process or be reported.
TEST(HostRules, LegitimateCallingPatternsAreAccepted) {
   const struct {
      const char* name;
      host::HostOptions options;
      std::function<void(Session&)> run;
   } cases[] = {
       {"the audio role moves between OS threads",
        {},
        [](Session& s) {
           ASSERT_TRUE(s.plugin.activate(44100.0, 1, 1024));
           bool started = false;
           Session::onNewAudioThread([&] { started = s.plugin.startProcessing(); });
           ASSERT_TRUE(started);
           for (int i = 0; i < 3; ++i)
              Session::onNewAudioThread([&] { EXPECT_EQ(s.processBlock(), CLAP_PROCESS_CONTINUE); });
           s.onAudioThread([&] { EXPECT_EQ(s.processBlock(), CLAP_PROCESS_CONTINUE); });
           Session::onNewAudioThread([&] { s.plugin.stopProcessing(); });
           s.plugin.deactivate();
        }},
       {"get_extension from any thread",
        {},
        [](Session& s) {
           s.activateAndStart();
           s.onAudioThread([&] { EXPECT_NE(s.anExtension(), nullptr); });
           Session::onOtherThread([&] { EXPECT_NE(s.anExtension(), nullptr); });
           s.onAudioThread([&] { s.plugin.stopProcessing(); });
           s.plugin.deactivate();
        }},
       {"flush on the main thread while inactive, the audio thread while processing",
        {},
        [](Session& s) {
           s.flush();
           s.activateAndStart();
           s.onAudioThread([&] { s.flush(); });
           s.onAudioThread([&] { s.plugin.stopProcessing(); });
           s.flush();
           s.onAudioThread([&] { s.flush(); });
           s.plugin.deactivate();
        }},
       {"deactivate without stop_processing, then run again",
        {},
        [](Session& s) {
           s.activateAndStart();
           s.onAudioThread([&] { s.processBlock(); });
           s.plugin.deactivate();
           s.activateAndStart();
           s.onAudioThread([&] { EXPECT_EQ(s.processBlock(), CLAP_PROCESS_CONTINUE); });
           s.onAudioThread([&] { s.plugin.stopProcessing(); });
           s.plugin.deactivate();
        }},
       {"reset on the audio thread while active",
        {},
        [](Session& s) {
           ASSERT_TRUE(s.plugin.activate(96000.0, 1, 64));
           s.onAudioThread([&] { s.plugin.reset(); });
           bool started = false;
           s.onAudioThread([&] { started = s.plugin.startProcessing(); });
           ASSERT_TRUE(started);
           s.onAudioThread([&] {
              s.plugin.reset();
              s.plugin.stopProcessing();
           });
           s.plugin.deactivate();
        }},
       {"unknown parameter ids are answered, not fatal",
        {},
        [](Session& s) {
           double v = 0;
           char text[16];
           EXPECT_FALSE(s.plugin.params()->get_value(s.plugin.plugin(), 99, &v));
           EXPECT_FALSE(s.plugin.params()->value_to_text(s.plugin.plugin(), 99, 0.5, text, sizeof(text)));
           clap_param_info_t info;
           EXPECT_FALSE(s.plugin.params()->get_info(s.plugin.plugin(), 99, &info));
        }},
       {"activation after activation after deactivation",
        {},
        [](Session& s) {
           for (double rate : {22050.0, 192000.0, 44100.0}) {
              ASSERT_TRUE(s.plugin.activate(rate, 1, 8192));
              s.plugin.deactivate();
           }
        }},
       // A plug-in scanner offers no host extension at all: nothing can be checked, nothing may fail.
       {"a host without any extension, from arbitrary threads", noExtensions(),
        [](Session& s) {
           EXPECT_EQ(s.plugin.params()->count(s.plugin.plugin()), 17u);
           std::vector<uint8_t> state;
           EXPECT_TRUE(s.plugin.saveState(state));
           EXPECT_TRUE(s.plugin.loadState(state));
           ASSERT_TRUE(s.plugin.activate(48000.0, 1, 512));
           Session::onOtherThread([&] {
              EXPECT_TRUE(s.plugin.startProcessing());
              EXPECT_EQ(s.processBlock(), CLAP_PROCESS_CONTINUE);
              s.flush();
              s.plugin.stopProcessing();
           });
           s.plugin.deactivate();
        }},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      Session session(c.options);
      ASSERT_TRUE(session.plugin.ok());
      c.run(session);
      EXPECT_TRUE(session.host.logLines().empty()) << session.host.logLines().front().message;
   }
}

TEST(HostRules, UninitialisedInstanceMayBeDestroyed) {
   Session s({}, false);
   ASSERT_TRUE(s.plugin.ok());
   s.plugin.destroy();
   EXPECT_TRUE(s.host.logLines().empty());
}

// Real violations of the calling rules: reported to the host's log as host misbehaviour, then the
// process ends.
TEST(HostRulesDeathTest, BrokenRulesEndTheProcess) {
   GTEST_FLAG_SET(death_test_style, "threadsafe");
   const BrokenRule cases[] = {
       {"process before activation", [](Session& s) { s.onAudioThread([&] { s.processBlock(); }); },
        R"(clap_plugin\.process\(\) while the plug-in is not active)"},
       {"process without start_processing",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           s.onAudioThread([&] { s.processBlock(); });
        },
        R"(clap_plugin\.process\(\) while the plug-in is not processing)"},
       {"process on the main thread",
        [](Session& s) {
           s.activateAndStart();
           s.processBlock();
        },
        R"(clap_plugin\.process\(\) from a thread other than the audio thread)"},
       {"activation twice",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           s.plugin.activate(48000.0, 1, 64);
        },
        R"(clap_plugin\.activate\(\) while the plug-in is already active)"},
       {"activation at sample rate 0", [](Session& s) { s.plugin.activate(0.0, 1, 64); },
        R"(clap_plugin\.activate\(\) with a sample rate that is not positive)"},
       {"activation at a NaN sample rate", [](Session& s) { s.plugin.activate(std::nan(""), 1, 64); },
        R"(clap_plugin\.activate\(\) with a sample rate that is not positive)"},
       {"activation with minimum 0", [](Session& s) { s.plugin.activate(48000.0, 0, 64); },
        R"(clap_plugin\.activate\(\) with a minimum frame count of 0)"},
       {"activation with maximum below minimum", [](Session& s) { s.plugin.activate(48000.0, 64, 32); },
        R"(clap_plugin\.activate\(\) with a maximum frame count below the minimum)"},
       {"activation on the audio thread",
        [](Session& s) { s.onAudioThread([&] { s.plugin.activate(48000.0, 1, 64); }); },
        R"(clap_plugin\.activate\(\) from a thread other than the main thread)"},
       {"init twice", [](Session& s) { s.plugin.init(); }, R"(clap_plugin\.init\(\) twice)"},
       {"deactivation while inactive", [](Session& s) { s.plugin.deactivate(); },
        R"(clap_plugin\.deactivate\(\) while the plug-in is not active)"},
       {"start_processing while inactive",
        [](Session& s) { s.onAudioThread([&] { s.plugin.startProcessing(); }); },
        R"(clap_plugin\.start_processing\(\) while the plug-in is not active)"},
       {"start_processing twice",
        [](Session& s) {
           s.activateAndStart();
           s.onAudioThread([&] { s.plugin.startProcessing(); });
        },
        R"(clap_plugin\.start_processing\(\) while the plug-in is already processing)"},
       {"start_processing on the main thread",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           s.plugin.startProcessing();
        },
        R"(clap_plugin\.start_processing\(\) from a thread other than the audio thread)"},
       {"stop_processing while not processing",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           s.onAudioThread([&] { s.plugin.stopProcessing(); });
        },
        R"(clap_plugin\.stop_processing\(\) while the plug-in is not processing)"},
       {"reset while inactive", [](Session& s) { s.onAudioThread([&] { s.plugin.reset(); }); },
        R"(clap_plugin\.reset\(\) while the plug-in is not active)"},
       {"destroy while active",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           s.plugin.destroy();
        },
        R"(clap_plugin\.destroy\(\) while the plug-in is active)"},
       {"state save on the audio thread",
        [](Session& s) {
           std::vector<uint8_t> state;
           s.onAudioThread([&] { s.plugin.saveState(state); });
        },
        R"(clap_plugin_state\.save\(\) from a thread other than the main thread)"},
       {"parameter info on an unrelated thread",
        [](Session& s) { Session::onOtherThread([&] { s.plugin.params()->count(s.plugin.plugin()); }); },
        R"(clap_plugin_params\.count\(\) from a thread other than the main thread)"},
       {"flush on the main thread while processing",
        [](Session& s) {
           s.activateAndStart();
           s.flush();
        },
        R"(clap_plugin_params\.flush\(\) from a thread other than the audio thread while processing)"},
       {"flush on the audio thread while inactive", [](Session& s) { s.onAudioThread([&] { s.flush(); }); },
        R"(clap_plugin_params\.flush\(\) from a thread other than the main thread while inactive)"},
       {"flush on an unrelated thread while active",
        [](Session& s) {
           s.plugin.activate(48000.0, 1, 64);
           Session::onOtherThread([&] { s.flush(); });
        },
        R"(clap_plugin_params\.flush\(\) from neither the main thread nor the audio thread)"},
   };
   expectEachEndsTheProcess(cases);
}

// Calls that leave out what the function must write to or read from, and editor calls from a
// thread other than the main thread: reported, then the process ends.
TEST(HostRulesDeathTest, MissingArgumentsAndEditorCallsOffTheMainThreadEndTheProcess) {
   GTEST_FLAG_SET(death_test_style, "threadsafe");
   const auto params = [](Session& s) { return s.plugin.params(); };
   const auto gui = [](Session& s) { return s.plugin.gui(); };
   const BrokenRule cases[] = {
       {"process without event lists",
        [](Session& s) {
           s.activateAndStart();
           s.onAudioThread([&] {
              clap_process_t process{};
              s.plugin.plugin()->process(s.plugin.plugin(), &process);
           });
        },
        R"(clap_plugin\.process\(\) without a process record or without its event lists)"},
       {"state save without a stream", [](Session& s) { s.plugin.state()->save(s.plugin.plugin(), nullptr); },
        R"(clap_plugin_state\.save\(\) without an output stream)"},
       {"state load without a stream", [](Session& s) { s.plugin.state()->load(s.plugin.plugin(), nullptr); },
        R"(clap_plugin_state\.load\(\) without an input stream)"},
       {"parameter info without a record",
        [&](Session& s) { params(s)->get_info(s.plugin.plugin(), 0, nullptr); },
        R"(clap_plugin_params\.get_info\(\) without an info record)"},
       {"parameter value without a pointer",
        [&](Session& s) { params(s)->get_value(s.plugin.plugin(), 0, nullptr); },
        R"(clap_plugin_params\.get_value\(\) without a value pointer)"},
       {"value text without a buffer",
        [&](Session& s) { params(s)->value_to_text(s.plugin.plugin(), 0, 0.5, nullptr, 16); },
        R"(clap_plugin_params\.value_to_text\(\) without a text buffer)"},
       {"text value without a pointer",
        [&](Session& s) { params(s)->text_to_value(s.plugin.plugin(), 0, "1", nullptr); },
        R"(clap_plugin_params\.text_to_value\(\) without a text or a value pointer)"},
       {"flush without event lists",
        [&](Session& s) { params(s)->flush(s.plugin.plugin(), nullptr, nullptr); },
        R"(clap_plugin_params\.flush\(\) without its input or output event list)"},
       {"editor size without pointers",
        [&](Session& s) { gui(s)->get_size(s.plugin.plugin(), nullptr, nullptr); },
        R"(clap_plugin_gui\.get_size\(\) without its size pointers)"},
       {"editor parent without a window", [&](Session& s) { gui(s)->set_parent(s.plugin.plugin(), nullptr); },
        R"(clap_plugin_gui\.set_parent\(\) without a window)"},
       {"editor created on the audio thread",
        [&](Session& s) {
           s.activateAndStart();
           s.onAudioThread([&] { gui(s)->create(s.plugin.plugin(), CLAP_WINDOW_API_X11, false); });
        },
        R"(clap_plugin_gui\.create\(\) from a thread other than the main thread)"},
       {"editor scale from an unrelated thread",
        [&](Session& s) { Session::onOtherThread([&] { gui(s)->set_scale(s.plugin.plugin(), 2.0); }); },
        R"(clap_plugin_gui\.set_scale\(\) from a thread other than the main thread)"},
   };
   expectEachEndsTheProcess(cases);
}

// Calls before init: the extension tables are shared by every instance, so a host may hold one
// from another instance; the lifecycle check still stops it.
TEST(HostRulesDeathTest, CallsBeforeInitEndTheProcess) {
   GTEST_FLAG_SET(death_test_style, "threadsafe");
   EXPECT_DEATH(
       {
          Session s(printingLog(), false);
          s.anExtension();
       },
       R"(Host called clap_plugin\.get_extension\(\) before clap_plugin\.init\(\))");
   EXPECT_DEATH(
       {
          Session initialised(printingLog());
          Session s(printingLog(), false);
          initialised.plugin.params()->count(s.plugin.plugin());
       },
       R"(Host called clap_plugin_params\.count\(\) before clap_plugin\.init\(\))");
}

// Without the host's log the report goes to standard error.
TEST(HostRulesDeathTest, WithoutHostLogTheReportGoesToStandardError) {
   GTEST_FLAG_SET(death_test_style, "threadsafe");
   host::HostOptions o;
   o.log = false;
   EXPECT_DEATH(
       {
          Session s(o);
          s.onAudioThread([&] { s.processBlock(); });
       },
       R"(Host called clap_plugin\.process\(\) while the plug-in is not active)");
}
