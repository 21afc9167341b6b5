// The GUI extension of the built plug-in, asked as a DAW asks it.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <filesystem>

using namespace editortest;

namespace {

// A host without the timer and descriptor extensions (a plug-in scanner) is told what the editor
// supports; only creating it needs them.
TEST(GuiApi, OnlyEmbeddedX11) {
   const struct {
      host::HostOptions options;
      const char* api;
      bool floating;
      bool supported;
   } cases[] = {
       {{}, CLAP_WINDOW_API_X11, false, true},
       {{}, CLAP_WINDOW_API_X11, true, false},
       {{}, CLAP_WINDOW_API_WAYLAND, false, false},
       {{}, "X11", false, false},
       {{.timerSupport = false}, CLAP_WINDOW_API_X11, false, true},
       {{.posixFdSupport = false}, CLAP_WINDOW_API_X11, false, true},
       {{.timerSupport = false, .posixFdSupport = false}, CLAP_WINDOW_API_X11, false, true},
       {{.timerSupport = false, .posixFdSupport = false}, CLAP_WINDOW_API_X11, true, false},
   };
   for (const auto& c : cases) {
      EditorHost daw(c.options);
      EXPECT_EQ(daw.isApiSupported(c.api, c.floating), c.supported)
          << c.api << (c.floating ? " floating" : " embedded") << ", timer support " << c.options.timerSupport
          << ", fd support " << c.options.posixFdSupport;
      EXPECT_TRUE(daw.host.logLines().empty());
   }
}

// A host whose extension lacks a function is told so and gets no editor, but keeps running.
TEST(GuiApi, IncompleteHostExtensionsAreReportedAsHostMisbehaviour) {
   const struct {
      host::HostOptions options;
      const char* message;
   } cases[] = {
       {{.timerSupportComplete = false}, "clap_timer_support is partially implemented"},
       {{.posixFdSupportComplete = false}, "clap_posix_fd_support is partially implemented"},
   };
   for (const auto& c : cases) {
      EditorHost daw(c.options);
      EXPECT_FALSE(daw.isApiSupported(CLAP_WINDOW_API_X11, false));
      const auto lines = daw.host.logLines();
      ASSERT_EQ(lines.size(), 1u) << c.message;
      EXPECT_EQ(lines[0].severity, CLAP_LOG_HOST_MISBEHAVING);
      EXPECT_EQ(lines[0].message, c.message);
   }
}

// A host that asks for the editor although it cannot carry the toolkit's timers and descriptors
// gets no editor, and nothing is registered anywhere.
TEST(GuiApi, WithoutHostTimersOrDescriptorsNoEditorIsCreated) {
   for (host::HostOptions options :
        {host::HostOptions{.timerSupport = false, .posixFdSupport = false},
         host::HostOptions{.timerSupport = false}, host::HostOptions{.posixFdSupport = false}}) {
      EditorHost daw(options);
      std::string out = captureStdout([&] { EXPECT_FALSE(daw.create()); });
      EXPECT_TRUE(daw.host.registrationLog().empty());
      EXPECT_EQ(logFunctions(out), std::vector<std::string>{"guiCreate"});
   }
}

TEST(GuiSize, AdjustmentKeepsTheAspectRatioUpToTheLargestHeight) {
   EditorHost daw;
   const struct {
      uint32_t width, height, adjustedWidth, adjustedHeight;
   } cases[] = {
       {800, 494, 800, 494},   {801, 494, 801, 494},  {2000, 500, 810, 500}, {100, 100, 100, 62},
       {1000, 600, 972, 600},  {1600, 988, 972, 600}, {500, 1000, 500, 309}, {972, 600, 972, 600},
       {1000, 618, 972, 600},  {0, 0, 800, 494},      {640, 0, 800, 494},    {1, 1, 1, 1},
       {4000000000u, 3, 5, 3},
   };
   for (const auto& c : cases) {
      const auto [w, h] = daw.adjust(c.width, c.height);
      EXPECT_EQ(w, c.adjustedWidth) << c.width << " x " << c.height;
      EXPECT_EQ(h, c.adjustedHeight) << c.width << " x " << c.height;
   }
   // Without an editor as well as with one.
   ASSERT_TRUE(daw.create());
   EXPECT_EQ(daw.adjust(2000, 500), std::make_pair(810u, 500u));
}

TEST(GuiSize, ScaleAboveZeroIsKeptAndSetsTheSize) {
   EditorHost daw;
   ASSERT_TRUE(daw.create());
   EXPECT_EQ(daw.size(), std::make_pair(800u, 494u));
   std::string out = captureStdout([&] { EXPECT_TRUE(daw.gui->set_scale(daw.plugin(), 2.0)); });
   EXPECT_EQ(logMessages(out, "guiSetScale"), std::vector<std::string>{" [scale=2] "});
   EXPECT_EQ(daw.size(), std::make_pair(1600u, 988u));
   for (double ignored : {0.0, -1.0}) {
      EXPECT_TRUE(daw.gui->set_scale(daw.plugin(), ignored));
      EXPECT_EQ(daw.size(), std::make_pair(1600u, 988u)) << ignored;
   }
   EXPECT_TRUE(daw.gui->set_scale(daw.plugin(), 1.25));
   EXPECT_EQ(daw.size(), std::make_pair(1000u, 617u));
   EXPECT_TRUE(daw.gui->can_resize(daw.plugin()));
}

TEST(GuiWindow, NoFloatingWindowNoShowNoHide) {
   EditorHost daw;
   ASSERT_TRUE(daw.create());
   clap_window_t window{};
   window.api = CLAP_WINDOW_API_X11;
   EXPECT_FALSE(daw.gui->set_transient(daw.plugin(), &window));
   EXPECT_FALSE(daw.gui->show(daw.plugin()));
   EXPECT_FALSE(daw.gui->hide(daw.plugin()));
   const char* api = nullptr;
   bool floating = true;
   EXPECT_FALSE(daw.gui->get_preferred_api(daw.plugin(), &api, &floating));
   clap_gui_resize_hints_t hints{};
   EXPECT_FALSE(daw.gui->get_resize_hints(daw.plugin(), &hints));
}

// Closed before it was attached to a window: the editor never had an idle timer.
TEST(GuiTeardown, DestroyBeforeSetParentStopsNoTimer) {
   EditorHost daw;
   ASSERT_TRUE(daw.create());
   const std::string out = captureStdout([&] { daw.close(); });
   EXPECT_EQ(logMessages(out, "haltIdleTimer"),
             std::vector<std::string>{"No Idle Timer present; haltIdleTimer doing nothing"});
   const auto functions = logFunctions(out);
   ASSERT_FALSE(functions.empty());
   EXPECT_EQ(functions.front(), "guiDestroy");
   EXPECT_EQ(functions.back(), "~ScorchwireEditor");
}

// The order of a close: timer stopped, host registrations removed, then the editor itself.
TEST(GuiTeardown, DestroyingTheInstanceClosesItsOpenEditorFirst) {
   EditorHost daw;
   ASSERT_TRUE(daw.open());
   pump({&daw}, 100);
   EXPECT_FALSE(daw.host.timers().empty());
   EXPECT_FALSE(daw.host.fds().empty());
   const std::string out = captureStdout([&] { daw.destroyInstance(); });

   std::vector<std::string> order;
   for (const auto& f : logFunctions(out))
      if (f == "guiDestroy" || f == "haltIdleTimer" || f == "removePlugin" || f == "~ScorchwireEditor")
         if (order.empty() || order.back() != f)
            order.push_back(f);
   EXPECT_EQ(order,
             (std::vector<std::string>{"guiDestroy", "haltIdleTimer", "removePlugin", "~ScorchwireEditor"}));
   EXPECT_EQ(logMessages(out, "haltIdleTimer"), std::vector<std::string>{"Stopping idle timer"});
   EXPECT_TRUE(daw.host.timers().empty());
   EXPECT_TRUE(daw.host.fds().empty());
}

// The shared object must lie three folders below its bundle; a copy loaded by a path with fewer
// separators has no bundle, and no editor.
TEST(GuiBundle, AnObjectOutsideABundleGetsNoEditor) {
   namespace fs = std::filesystem;
   const fs::path folder = fs::temp_directory_path() / ("scorchwire-nobundle-" + std::to_string(::getpid()));
   fs::create_directories(folder);
   fs::copy_file(SCORCHWIRE_CLAP_PATH, folder / "Scorchwire.clap", fs::copy_options::overwrite_existing);
   const fs::path previous = fs::current_path();
   fs::current_path(folder);
   {
      std::string error;
      auto library = host::PluginLibrary::load("./Scorchwire.clap", error);
      ASSERT_TRUE(library) << error;
      host::Host host;
      host::PluginInstance instance(*library, host, "com.tonequarry.scorchwire");
      ASSERT_TRUE(instance.ok());
      bool created = true;
      const std::string err = captureStderr(
          [&] { created = instance.gui()->create(instance.plugin(), CLAP_WINDOW_API_X11, false); });
      EXPECT_FALSE(created);
      EXPECT_EQ(err, "Could not determine bundle location.\n");
      // The instance does not stay enrolled for the toolkit's registrations.
      EXPECT_TRUE(host.fds().empty());
      EXPECT_TRUE(host.timers().empty());
      uint32_t width = 0, height = 0;
      EXPECT_FALSE(instance.gui()->get_size(instance.plugin(), &width, &height));
   }
   fs::current_path(previous);
   fs::remove_all(folder);
}

// A host that unloads the plug-in after closing its editors keeps no X connection of ours.
TEST(GuiBundle, UnloadingThePluginReleasesTheToolkit) {
   namespace fs = std::filesystem;
   const fs::path bundle =
       fs::temp_directory_path() / ("scorchwire-unload-" + std::to_string(::getpid())) / "Scorchwire";
   fs::create_directories(bundle / "Contents" / "x86_64-linux");
   const fs::path object = bundle / "Contents" / "x86_64-linux" / "Scorchwire.clap";
   fs::copy_file(SCORCHWIRE_CLAP_PATH, object, fs::copy_options::overwrite_existing);

   const size_t descriptors = openDescriptorCount();
   std::string out = captureStdout([&] {
      std::string error;
      auto library = host::PluginLibrary::load(object.string(), error);
      ASSERT_TRUE(library) << error;
      {
         EditorHost daw({}, *library);
         ASSERT_TRUE(daw.open());
         pump({&daw}, 50);
         EXPECT_GT(openDescriptorCount(), descriptors);
      }
      library.reset();
   });
   EXPECT_EQ(openDescriptorCount(), descriptors);
   EXPECT_EQ(logMessages(out, "~ClapRunLoop"),
             std::vector<std::string>{" [registeredTimers.size()=0]  [registeredEventHandlers.size()=0] "});
   fs::remove_all(bundle.parent_path());
}

} // namespace
