#include "MessagingFixture.h"

#include <regex>

using namespace messagingtest;

namespace {

struct HostEvent {
   uint16_t type;
   clap_id id;
   double value; // 0 for gestures
   bool operator==(const HostEvent&) const = default;
};
void PrintTo(const HostEvent& e, std::ostream* os) {
   *os << "{type " << e.type << ", id " << e.id << ", value " << e.value << "}";
}

std::vector<HostEvent> eventsOf(const host::OutputEvents& out) {
   std::vector<HostEvent> events;
   for (size_t i = 0; i < out.size(); ++i) {
      const clap_event_header_t& h = out.at(i);
      if (h.type == CLAP_EVENT_PARAM_VALUE)
         events.push_back({h.type, out.as<clap_event_param_value_t>(i).param_id,
                           out.as<clap_event_param_value_t>(i).value});
      else
         events.push_back({h.type, out.as<clap_event_param_gesture_t>(i).param_id, 0.0});
   }
   return events;
}

HostEvent begin(clap_id id) {
   return {CLAP_EVENT_PARAM_GESTURE_BEGIN, id, 0.0};
}
HostEvent end(clap_id id) {
   return {CLAP_EVENT_PARAM_GESTURE_END, id, 0.0};
}
HostEvent value(clap_id id, double v) {
   return {CLAP_EVENT_PARAM_VALUE, id, v};
}

double asFloat(double v) {
   return static_cast<double>(static_cast<float>(v));
}

const std::regex
    kRefreshLine(R"(\[dudo-rez-evir\] src/scorchwire-messaging\.cpp:[0-9]+ \(handleEventsFromUIQueue\))"
                 R"( : Pushing a refresh of UI values to the editor\n)");

} // namespace

class EditorQueues : public MessagingTest {};

TEST_F(EditorQueues, AFullQueueKeepsTheFirst127ValueChangesAndTheDrainEmitsThemInOrder) {
   FakeEditor& editor = rig.openEditor();
   std::vector<HostEvent> expected;
   for (int i = 0; i < 128; ++i) {
      const bool queued = editor.link.post(FromUI::ValueChange, 5, i / 1000.0);
      EXPECT_EQ(queued, i < 127) << "post " << i;
      if (queued)
         expected.push_back(value(5, i / 1000.0));
   }
   // The host is asked to flush after every post, also after the dropped one.
   EXPECT_EQ(rig.host.flushRequests(), 128);

   rig.startProcessing();
   EXPECT_EQ(eventsOf(rig.process()), expected);
   EXPECT_EQ(rig.plugin->paramValue(5), asFloat(0.126));
   EXPECT_TRUE(eventsOf(rig.process()).empty()) << "the queue was drained to its end";
}

TEST_F(EditorQueues, AGestureBecomesExactlyBeginValuesAndEndAtTimeZero) {
   FakeEditor& editor = rig.openEditor();
   editor.link.post(FromUI::GestureBegin, 7, 0.0);
   for (double v : {0.1, 0.2, 0.3})
      editor.link.post(FromUI::ValueChange, 7, v);
   editor.link.post(FromUI::GestureEnd, 7, 0.0);

   rig.startProcessing();
   const host::OutputEvents out = rig.process();
   ASSERT_EQ(eventsOf(out),
             (std::vector<HostEvent>{begin(7), value(7, 0.1), value(7, 0.2), value(7, 0.3), end(7)}));
   for (size_t i = 0; i < out.size(); ++i) {
      const clap_event_header_t& h = out.at(i);
      EXPECT_EQ(h.time, 0u);
      EXPECT_EQ(h.space_id, CLAP_CORE_EVENT_SPACE_ID);
      EXPECT_EQ(h.flags, 0u);
      if (h.type == CLAP_EVENT_PARAM_VALUE) {
         EXPECT_EQ(h.size, 56u);
         const auto& e = out.as<clap_event_param_value_t>(i);
         EXPECT_EQ(e.cookie, nullptr);
         EXPECT_EQ(e.note_id, 0);
         EXPECT_EQ(e.port_index, 0);
         EXPECT_EQ(e.channel, 0);
         EXPECT_EQ(e.key, 0);
      } else {
         EXPECT_EQ(h.size, 20u);
      }
   }
   EXPECT_EQ(rig.plugin->paramValue(7), asFloat(0.3));
   EXPECT_TRUE(rig.takeEchoes().empty()) << "only the distortion type is echoed";
}

// The editor re-reads the distortion type after the engine took it, with or without an open editor.
TEST_F(EditorQueues, OnlyADistortionTypeChangeIsEchoedWithTheEngineValue) {
   EditorLink link = rig.instance->editorLink();
   link.post(FromUI::ValueChange, 4, 0.3);
   link.post(FromUI::ValueChange, 5, 0.4);
   EXPECT_EQ(eventsOf(rig.flush()), (std::vector<HostEvent>{value(4, 0.3), value(5, 0.4)}));
   EXPECT_EQ(rig.takeEchoes(), (std::vector<Echo>{{4, asFloat(0.3)}}));

   rig.openEditor();
   link.post(FromUI::ValueChange, 4, 0.7);
   rig.flush();
   EXPECT_EQ(rig.takeEchoes(), (std::vector<Echo>{{4, asFloat(0.7)}}));
}

// Out-of-range ids reach the editor too; its setParameter ignores them.
TEST_F(EditorQueues, HostValuesAreEchoedOnlyWhileAnEditorIsOpen) {
   rig.startProcessing();
   host::InputEvents events;
   events.push(host::InputEvents::paramValue(3, 0.25));
   rig.process(64, events);
   EXPECT_TRUE(rig.takeEchoes().empty());

   rig.openEditor();
   events.clear();
   events.push(host::InputEvents::paramValue(3, 0.75));
   events.push(host::InputEvents::paramValue(20, 0.5));
   rig.process(64, events);
   EXPECT_EQ(rig.takeEchoes(), (std::vector<Echo>{{3, 0.75}, {20, 0.5}}));
   EXPECT_EQ(rig.plugin->paramValue(3), 0.75);

   events.clear();
   events.push(host::InputEvents::paramValue(1, 0.5));
   rig.flush(events);
   EXPECT_EQ(rig.takeEchoes(), (std::vector<Echo>{{1, 0.5}}));

   rig.closeEditor();
   rig.process(64, events);
   EXPECT_TRUE(rig.takeEchoes().empty());
}

TEST_F(EditorQueues, AStateLoadRefreshesTheNextOpenEditorOnceWithOneLogLine) {
   rig.startProcessing();
   const std::vector<double> loaded = distinctValues();
   std::vector<uint8_t> chunk;
   {
      Rig source;
      source.setValues(loaded);
      chunk = source.state();
   }
   const std::string withoutEditor = captureStdout([&] {
      ASSERT_TRUE(rig.plugin->loadState(chunk));
      rig.process();
      rig.flush();
   });
   EXPECT_TRUE(rig.takeEchoes().empty()) << "no editor, nothing posted";
   EXPECT_EQ(withoutEditor, "");

   FakeEditor& editor = rig.openEditor();
   std::string opened = captureStdout([&] { rig.process(); });
   EXPECT_EQ(opened, "") << "the audio thread writes no log line";
   std::vector<Echo> expected;
   for (int id = 0; id < kParamCount; ++id)
      expected.push_back({id, loaded[id]});
   const std::string firstTick = captureStdout([&] { editor.idle(); });
   EXPECT_EQ(rig.record.parameters, expected);
   EXPECT_TRUE(std::regex_match(firstTick, kRefreshLine)) << firstTick;

   rig.record.parameters.clear();
   const std::string later = captureStdout([&] {
      rig.process();
      editor.idle();
   });
   EXPECT_TRUE(rig.record.parameters.empty()) << "the refresh happens once";
   EXPECT_EQ(later, "");
}

TEST_F(EditorQueues, AStateLoadWhileTheEditorIsOpenRefreshesItAtTheNextFlush) {
   rig.openEditor();
   Rig source;
   source.setValues(distinctValues(0.25));
   ASSERT_TRUE(rig.plugin->loadState(source.state()));
   rig.flush();
   // An editor closed before its next tick still gets the line written.
   const std::string closing = captureStdout([&] { rig.closeEditor(); });
   EXPECT_TRUE(std::regex_match(closing, kRefreshLine)) << closing;
   EXPECT_EQ(rig.takeEchoes().size(), 17u);
}

TEST_F(EditorQueues, ParamsFlushAndProcessBothDrainTheEditorQueue) {
   FakeEditor& editor = rig.openEditor();
   editor.link.post(FromUI::ValueChange, 1, 0.5);
   EXPECT_EQ(eventsOf(rig.flush()), std::vector<HostEvent>{value(1, 0.5)})
       << "flush on the main thread, inactive";

   rig.startProcessing();
   editor.link.post(FromUI::ValueChange, 2, 0.25);
   EXPECT_EQ(eventsOf(rig.flush()), std::vector<HostEvent>{value(2, 0.25)}) << "flush on the audio thread";
   editor.link.post(FromUI::ValueChange, 2, 0.5);
   EXPECT_EQ(eventsOf(rig.process()), std::vector<HostEvent>{value(2, 0.5)}) << "processing block";
}

// A host event for the same parameter in the same block overrides the editor's change.
TEST_F(EditorQueues, HostEventsOfTheSameBlockWinOverEditorChanges) {
   FakeEditor& editor = rig.openEditor();
   rig.startProcessing();
   editor.link.post(FromUI::ValueChange, 6, 0.25);
   host::InputEvents events;
   events.push(host::InputEvents::paramValue(6, 0.75));
   EXPECT_EQ(eventsOf(rig.process(64, events)), std::vector<HostEvent>{value(6, 0.25)});
   EXPECT_EQ(rig.plugin->paramValue(6), 0.75);
}

TEST_F(EditorQueues, TagsOutsideTheParametersPostNothingAndRequestNoFlush) {
   FakeEditor& editor = rig.openEditor();
   for (int tag : {-1, 17, 16384})
      EXPECT_FALSE(editor.link.post(FromUI::GestureBegin, tag, 0.0));
   EXPECT_EQ(rig.host.flushRequests(), 0);
   EXPECT_TRUE(eventsOf(rig.flush()).empty());
}

TEST_F(EditorQueues, FlushRequestsReachOnlyAHostWithTheParamsExtension) {
   rig.instance->editorParamsFlush();
   EXPECT_EQ(rig.host.flushRequests(), 1);

   host::HostOptions withoutParams;
   withoutParams.params = false;
   Rig bare(withoutParams);
   bare.instance->editorParamsFlush();
   EXPECT_EQ(bare.host.flushRequests(), 0);
}

TEST_F(EditorQueues, SettingsPageValuesGoToTheEngineAndBackToTheEditorNotToTheHostsEvents) {
   FakeEditor& editor = rig.openEditor();
   EXPECT_TRUE(editor.wrapper.setParameterAutomated(16, 1.0));
   EXPECT_TRUE(editor.wrapper.setParameterAutomated(9, 0.1));
   EXPECT_EQ(rig.plugin->paramValue(16), 1.0);
   EXPECT_EQ(editor.wrapper.getParameter(9), asFloat(0.1));
   EXPECT_EQ(rig.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 2) << "the host is asked to re-read values";
   EXPECT_TRUE(eventsOf(rig.flush()).empty());
   editor.idle();
   EXPECT_EQ(rig.record.parameters, (std::vector<Echo>{{16, 1.0}, {9, asFloat(0.1)}}));

   rig.record.parameters.clear();
   const std::vector<double> before = rig.values();
   for (int index : {17, -1, 20}) {
      editor.wrapper.setParameterAutomated(index, 0.5);
      EXPECT_EQ(editor.wrapper.getParameter(index), 0.0);
   }
   editor.idle();
   EXPECT_TRUE(rig.record.parameters.empty());
   EXPECT_EQ(rig.values(), before);
   EXPECT_EQ(rig.host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 2);

   PluginWrapper detached(nullptr);
   EXPECT_FALSE(detached.setParameterAutomated(1, 0.5));
   EXPECT_EQ(detached.getParameter(0), 0.0);
   EXPECT_EQ(detached.getHostName(), "");
}

// Main-thread echoes come after the processing thread's, each queue in its own order.
TEST_F(EditorQueues, TheIdleTickAppliesTheProcessingEchoesThenTheMainThreadEchoes) {
   FakeEditor& editor = rig.openEditor();
   editor.wrapper.setParameterAutomated(16, 1.0);
   host::InputEvents events;
   events.push(host::InputEvents::paramValue(0, 0.25));
   events.push(host::InputEvents::paramValue(2, 0.5));
   rig.flush(events);
   editor.wrapper.setParameterAutomated(16, 0.0);
   editor.idle();
   EXPECT_EQ(rig.record.parameters, (std::vector<Echo>{{0, 0.25}, {2, 0.5}, {16, 1.0}, {16, 0.0}}));
}

TEST_F(EditorQueues, ClosingTheEditorLetsItHandItsPresetIndexToTheInstanceBeforeItIsDeleted) {
   rig.openEditor();
   rig.record.currentPresetIndex = 5;
   rig.closeEditor();
   EXPECT_EQ(rig.record.lifecycle, (std::vector<std::string>{"close", "destroyed"}));

   rig.record = {};
   FakeEditor& second = rig.openEditor();
   second.wrapper.sendIntMessage("getcurrentpresetindex", 1);
   EXPECT_EQ(rig.record.currentPresetIndex, 5);

   // Attaching another editor closes the one still open.
   EditorRecord thirdRecord;
   rig.instance->attachEditor(
       std::make_unique<FakeEditor>(rig.instance->editorLink(), rig.instance, thirdRecord));
   EXPECT_EQ(rig.record.lifecycle, (std::vector<std::string>{"close", "destroyed"}));
   EXPECT_TRUE(thirdRecord.lifecycle.empty());
   rig.closeEditor();
   EXPECT_EQ(thirdRecord.lifecycle, (std::vector<std::string>{"close", "destroyed"}));
}

TEST_F(EditorQueues, DestroyingTheInstanceClosesItsOpenEditorFirst) {
   EditorRecord record;
   {
      Rig doomed;
      doomed.instance->attachEditor(
          std::make_unique<FakeEditor>(doomed.instance->editorLink(), doomed.instance, record));
      doomed.startProcessing();
      doomed.process();
   }
   EXPECT_EQ(record.lifecycle, (std::vector<std::string>{"close", "destroyed"}));
}
