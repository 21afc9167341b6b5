#pragma once
#include "CaptureOutput.h"
#include "EventLists.h"
#include "Host.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plugintest {

inline const char* const kPluginId = "com.tonequarry.scorchwire";
inline const int kParamCount = 17;

// The bundle's shared object, opened once per test process as a host opens it.
inline host::PluginLibrary& library() {
   static std::unique_ptr<host::PluginLibrary> lib = [] {
      std::string error;
      auto loaded = host::PluginLibrary::load(SCORCHWIRE_CLAP_PATH, error);
      if (!loaded) {
         std::fprintf(stderr, "%s\n", error.c_str());
         std::abort();
      }
      return loaded;
   }();
   return *lib;
}

// What a function printed on standard output (file descriptor 1, so C and C++ streams alike).
inline std::string captureStdout(const std::function<void()>& fn) {
   return testcommon::captureOutput(1, fn);
}

// A stereo block: input channels filled by a generator, output channels separate.
struct StereoBlock {
   explicit StereoBlock(uint32_t frames);
   uint32_t frames;
   std::vector<float> inL, inR, outL, outR;
   const float* in[2];
   float* out[2];
};

// Noise plus a sine, different on each channel, deterministic.
void fillTestSignal(StereoBlock& block, uint32_t seed = 1);

// A host with all its extensions (or the ones chosen), one initialised instance and an audio thread.
class PluginTest : public ::testing::Test {
protected:
   explicit PluginTest(host::HostOptions options = {}) : host(options) {}

   void SetUp() override {
      plugin = std::make_unique<host::PluginInstance>(library(), host, kPluginId);
      ASSERT_TRUE(plugin->ok()) << plugin->error();
   }

   // Activates and starts processing (on the audio thread).
   void startProcessing(double rate = 48000.0, uint32_t maxFrames = 4096) {
      ASSERT_TRUE(plugin->activate(rate, 1, maxFrames));
      bool started = false;
      audio.run([&] { started = plugin->startProcessing(); });
      ASSERT_TRUE(started);
   }
   void stopProcessing() {
      audio.run([&] { plugin->stopProcessing(); });
      plugin->deactivate();
   }
   // One block on the audio thread.
   clap_process_status process(StereoBlock& block, const host::InputEvents& events = {},
                               const clap_event_transport_t* transport = nullptr) {
      clap_process_status status = CLAP_PROCESS_ERROR;
      host::OutputEvents out;
      audio.run([&] { status = plugin->process(block.in, block.out, block.frames, events, out, transport); });
      return status;
   }
   // A hand-made process record on the audio thread (for port layouts PluginInstance does not make).
   clap_process_status processRaw(clap_process_t& p) {
      clap_process_status status = CLAP_PROCESS_ERROR;
      audio.run([&] { status = plugin->plugin()->process(plugin->plugin(), &p); });
      return status;
   }

   std::vector<double> allValues() const {
      std::vector<double> values;
      for (int i = 0; i < kParamCount; ++i)
         values.push_back(plugin->paramValue(static_cast<clap_id>(i)));
      return values;
   }

   host::Host host;
   host::AudioThread audio;
   std::unique_ptr<host::PluginInstance> plugin;
};

} // namespace plugintest
