#include "AllocationWatch.h"
#include "MessagingFixture.h"
#include "PluginLibrary.h"

#include <cmath>
#include <limits>

using namespace messagingtest;

namespace {

constexpr const char* kPluginId = "com.tonequarry.scorchwire";

// Takes every event and keeps none, so the host side of a watched block allocates nothing.
const clap_output_events_t kDiscardingOutput{
    nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};

// One block on the calling thread, watched from the plug-in's entry to its return.
void watchedProcess(const clap_plugin_t* plugin, StereoBlock& block, const host::InputEvents& events) {
   float* in[2] = {block.inL.data(), block.inR.data()};
   clap_audio_buffer_t input{in, nullptr, 2, 0, 0};
   clap_audio_buffer_t output{block.out, nullptr, 2, 0, 0};
   clap_process_t p{};
   p.frames_count = block.frames;
   p.audio_inputs = &input;
   p.audio_outputs = &output;
   p.audio_inputs_count = 1;
   p.audio_outputs_count = 1;
   p.in_events = events.list();
   p.out_events = &kDiscardingOutput;
   const allocationwatch::Scope watch;
   EXPECT_EQ(plugin->process(plugin, &p), CLAP_PROCESS_CONTINUE);
}

void watchedFlush(const clap_plugin_t* plugin, const host::InputEvents& events) {
   const auto* params =
       static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
   const allocationwatch::Scope watch;
   params->flush(plugin, events.list(), &kDiscardingOutput);
}

host::PluginLibrary& library() {
   static std::unique_ptr<host::PluginLibrary> lib = [] {
      std::string error;
      auto loaded = host::PluginLibrary::load(SCORCHWIRE_CLAP_PATH, error);
      if (!loaded)
         ADD_FAILURE() << error;
      return loaded;
   }();
   return *lib;
}

} // namespace

// The watch sees what it must: a heap call under a scope, and the plug-in's own allocations when it is
// created on a watched thread (so the bundle's allocator calls do reach the replaced one).
TEST(AudioThreadAllocation, TheWatchSeesHeapCallsOfThisProcessAndOfTheBundle) {
   static void* volatile sink;
   size_t before = allocationwatch::calls();
   {
      const allocationwatch::Scope watch;
      sink = std::malloc(16);
      std::free(sink);
   }
   EXPECT_EQ(allocationwatch::calls() - before, 2u);

   host::Host host;
   before = allocationwatch::calls();
   {
      const allocationwatch::Scope watch;
      host::PluginInstance plugin(library(), host, kPluginId);
      ASSERT_TRUE(plugin.ok());
   }
   EXPECT_GT(allocationwatch::calls(), before);
}

// The bundle as a host loads it: every distortion and filter type, switches between them on every
// block, PUNCH on and off, parameter events inside blocks, odd block sizes, NaN input and flushes.
TEST(AudioThreadAllocation, ProcessAndFlushAllocateNothingAcrossAllTypes) {
   host::Host host;
   host::AudioThread audio;
   host::PluginInstance plugin(library(), host, kPluginId);
   ASSERT_TRUE(plugin.ok());
   ASSERT_TRUE(plugin.activate(48000.0, 1, 512));
   audio.run([&] { ASSERT_TRUE(plugin.startProcessing()); });

   const uint32_t sizes[] = {1, 64, 100, 512};
   const size_t before = allocationwatch::calls();
   uint32_t seed = 1;
   for (double punch : {0.0, 0.7})
      for (int filter = 0; filter <= 4; ++filter)
         for (int disto = 0; disto <= 8; ++disto) {
            host::InputEvents events;
            events.push(host::InputEvents::paramValue(3, filter / 4.0));
            events.push(host::InputEvents::paramValue(4, disto / 8.0));
            events.push(host::InputEvents::paramValue(8, punch));
            events.push(host::InputEvents::paramValue(5, (disto % 3) / 2.0, 0));
            events.push(host::InputEvents::paramValue(7, 0.4, 0));
            for (uint32_t frames : sizes) {
               StereoBlock block(frames, seed++);
               if (frames == 100)
                  block.inL[50] = std::numeric_limits<float>::quiet_NaN();
               audio.run([&] { watchedProcess(plugin.plugin(), block, events); });
               events.clear();
               events.push(host::InputEvents::paramValue(0, (seed % 10) / 10.0, frames - 1));
            }
            events.clear();
            events.push(host::InputEvents::paramValue(6, (disto % 4) / 3.0));
            audio.run([&] { watchedFlush(plugin.plugin(), events); });
         }
   EXPECT_EQ(allocationwatch::calls(), before) << "heap calls on the audio thread";

   audio.run([&] { plugin.stopProcessing(); });
   plugin.deactivate();
}

// An editor attached and busy: gestures and values posted from the editor's side, settings-page
// changes and the editor's idle tick on the main thread, all drained by the watched audio thread.
TEST(AudioThreadAllocation, DrainingEditorTrafficAllocatesNothing) {
   Rig rig;
   FakeEditor& editor = rig.openEditor();
   rig.startProcessing(48000.0, 256);
   const clap_plugin_t* plugin = rig.plugin->plugin();

   const size_t before = allocationwatch::calls();
   for (int round = 0; round < 300; ++round) {
      const int32_t knob = 3 + round % 6; // filter type, distortion type, DRIVE, DistPrm2, post-filter, PUNCH
      editor.link.post(FromUI::GestureBegin, knob, 0.0);
      editor.link.post(FromUI::ValueChange, knob, (round % 9) / 8.0);
      editor.link.post(FromUI::GestureEnd, knob, 0.0);
      editor.wrapper.setParameterAutomated(9 + round % 4, (round % 10) / 10.0);

      host::InputEvents events;
      events.push(host::InputEvents::paramValue(round % 3, (round % 7) / 7.0));
      StereoBlock block(round % 2 ? 256 : 77, static_cast<uint32_t>(round));
      rig.audio.run([&] { watchedProcess(plugin, block, events); });
      if (round % 5 == 0)
         rig.audio.run([&] { watchedFlush(plugin, events); });
      if (round % 3 == 0)
         editor.idle();
   }
   EXPECT_EQ(allocationwatch::calls(), before) << "heap calls on the audio thread";
}
