#include "MessagingFixture.h"

#include <atomic>
#include <map>
#include <thread>

using namespace messagingtest;

namespace {

struct Record {
   uint32_t type;
   uint32_t id;
   double value;
   bool operator==(const Record&) const = default;
};

// Ids by who changes them: the host automates 0..2, the editor's knobs 5..8, the settings page 9..12.
constexpr uint32_t kHostIds[] = {0, 1, 2};
constexpr int32_t kKnobIds[] = {5, 6, 7, 8};
constexpr int32_t kSettingsIds[] = {9, 10, 11, 12};

} // namespace

// The audio thread processes and drains while the main thread posts gestures and values, changes
// values through the settings page and takes the echoes as the editor's idle tick does. Every record
// that fitted in its queue arrives, in order; ThreadSanitizer (the TSan build) reports nothing.
TEST(ConcurrencyEditorQueues, AudioThreadDrainsWhileTheMainThreadPostsAndTakesEchoes) {
   Rig rig;
   FakeEditor& editor = rig.openEditor();
   rig.startProcessing(48000.0, 64);

   std::atomic<bool> mainDone{false};
   std::atomic<int> blocksDone{0};
   std::vector<Record> hostSaw;  // gestures and values the host received, in order
   std::vector<Echo> hostEchoes; // host automation the editor must see echoed, in order
   std::thread audio([&] {
      host::AudioThread::Scope audioRole;
      StereoBlock block(64);
      host::InputEvents events;
      uint32_t step = 0;
      for (bool last = false; !last;) {
         last = mainDone.load(std::memory_order_acquire);
         events.clear();
         // Automation only when its echoes surely fit: the producer's size estimate never undercounts.
         if (editor.link.toUIQueue.size_approx() + std::size(kHostIds) <= kQueueCapacity) {
            for (uint32_t id : kHostIds) {
               const double v = (++step % 1000) / 1000.0;
               events.push(host::InputEvents::paramValue(id, v));
               hostEchoes.push_back({static_cast<int32_t>(id), v});
            }
         }
         host::OutputEvents out;
         rig.plugin->process(block.in, block.out, block.frames, events, out);
         for (size_t i = 0; i < out.size(); ++i) {
            const clap_event_header_t& h = out.at(i);
            if (h.type == CLAP_EVENT_PARAM_VALUE) {
               const auto& e = out.as<clap_event_param_value_t>(i);
               hostSaw.push_back({h.type, e.param_id, e.value});
            } else {
               hostSaw.push_back({h.type, out.as<clap_event_param_gesture_t>(i).param_id, 0.0});
            }
         }
         blocksDone.fetch_add(1, std::memory_order_relaxed);
      }
   });

   std::vector<Record> posted;
   std::vector<Echo> settingsChanges;
   std::vector<Echo> echoed;
   const auto tick = [&] {
      rig.record.parameters.clear();
      editor.link.drainToUI(editor);
      echoed.insert(echoed.end(), rig.record.parameters.begin(), rig.record.parameters.end());
   };
   const auto post = [&](FromUI::Type type, int32_t id, double value) {
      if (editor.link.post(type, id, value))
         posted.push_back({type == FromUI::GestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                           : type == FromUI::GestureEnd ? CLAP_EVENT_PARAM_GESTURE_END
                                                        : CLAP_EVENT_PARAM_VALUE,
                           static_cast<uint32_t>(id), type == FromUI::ValueChange ? value : 0.0});
   };
   for (int round = 0; round < 2000; ++round) {
      const int32_t knob = kKnobIds[round % 4];
      post(FromUI::GestureBegin, knob, 0.0);
      for (int i = 0; i < 8; ++i)
         post(FromUI::ValueChange, knob, (round * 8 + i) % 1024 / 1024.0);
      post(FromUI::GestureEnd, knob, 0.0);

      const int32_t setting = kSettingsIds[round % 4];
      const double v = static_cast<float>((round % 100) / 100.0);
      editor.wrapper.setParameterAutomated(setting, v);
      settingsChanges.push_back({setting, v});
      if (round % 8 == 0)
         tick();
      // At least one block drains during every round, so the two threads interleave throughout. Relaxed:
      // the count must not order anything for ThreadSanitizer, only the queues may.
      const int blocks = blocksDone.load(std::memory_order_relaxed);
      while (blocksDone.load(std::memory_order_relaxed) == blocks)
         std::this_thread::yield();
   }
   mainDone.store(true, std::memory_order_release);
   audio.join();
   tick();

   EXPECT_EQ(posted.size(), 2000u * 10) << "a block per round keeps the queue from filling";
   EXPECT_EQ(hostSaw, posted) << "every queued gesture and value reached the host, in order";

   std::vector<Echo> hostEchoesSeen, settingsEchoesSeen;
   for (const Echo& e : echoed)
      (e.id <= 2 ? hostEchoesSeen : settingsEchoesSeen).push_back(e);
   EXPECT_EQ(hostEchoesSeen, hostEchoes) << "every host value echoed, in order";
   EXPECT_EQ(settingsEchoesSeen, settingsChanges) << "every settings-page value echoed, in order";

   for (int32_t knob : kKnobIds) {
      for (auto it = posted.rbegin(); it != posted.rend(); ++it) {
         if (it->id == static_cast<uint32_t>(knob) && it->type == CLAP_EVENT_PARAM_VALUE) {
            EXPECT_EQ(rig.plugin->paramValue(knob), static_cast<float>(it->value)) << "knob " << knob;
            break;
         }
      }
   }
}
