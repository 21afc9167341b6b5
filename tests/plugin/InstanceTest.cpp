#include "PluginFixture.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace plugintest;

namespace {

bool nameIs(const char (&field)[CLAP_NAME_SIZE], const char* expected) {
   const size_t n = std::strlen(expected);
   if (std::memcmp(field, expected, n) != 0)
      return false;
   for (size_t i = n; i < CLAP_NAME_SIZE; ++i)
      if (field[i] != 0)
         return false;
   return true;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

class Ports : public PluginTest {};

TEST_F(Ports, OneStereoMainPortEachWayWithoutInPlacePair) {
   const auto* ports = plugin->extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
   ASSERT_NE(ports, nullptr);
   for (bool isInput : {true, false}) {
      SCOPED_TRACE(isInput ? "input" : "output");
      EXPECT_EQ(ports->count(plugin->plugin(), isInput), 1u);
      clap_audio_port_info_t info;
      std::memset(&info, 0xAB, sizeof(info));
      ASSERT_TRUE(ports->get(plugin->plugin(), 0, isInput, &info));
      EXPECT_EQ(info.id, 0u);
      EXPECT_TRUE(nameIs(info.name, "main"));
      EXPECT_EQ(info.flags, static_cast<uint32_t>(CLAP_AUDIO_PORT_IS_MAIN));
      EXPECT_EQ(info.channel_count, 2u);
      EXPECT_STREQ(info.port_type, "stereo");
      EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);
      EXPECT_FALSE(ports->get(plugin->plugin(), 1, isInput, &info));
   }
}

TEST_F(Ports, OneNoteInputSpeakingClapAndMidiNoNoteOutput) {
   const auto* notes = plugin->extension<clap_plugin_note_ports_t>(CLAP_EXT_NOTE_PORTS);
   ASSERT_NE(notes, nullptr);
   EXPECT_EQ(notes->count(plugin->plugin(), true), 1u);
   EXPECT_EQ(notes->count(plugin->plugin(), false), 0u);
   clap_note_port_info_t info;
   std::memset(&info, 0xAB, sizeof(info));
   ASSERT_TRUE(notes->get(plugin->plugin(), 0, true, &info));
   EXPECT_EQ(info.id, 1u);
   EXPECT_EQ(info.supported_dialects, 3u);
   EXPECT_EQ(info.preferred_dialect, static_cast<uint32_t>(CLAP_NOTE_DIALECT_CLAP));
   EXPECT_TRUE(nameIs(info.name, "NoteInput"));
   EXPECT_FALSE(notes->get(plugin->plugin(), 0, false, &info));
   EXPECT_FALSE(notes->get(plugin->plugin(), 1, true, &info));
}

TEST_F(Ports, VoiceInfoAnnouncesSixtyFourOverlappingVoices) {
   const auto* voices = plugin->extension<clap_plugin_voice_info_t>(CLAP_EXT_VOICE_INFO);
   ASSERT_NE(voices, nullptr);
   clap_voice_info_t info{};
   ASSERT_TRUE(voices->get(plugin->plugin(), &info));
   EXPECT_EQ(info.voice_count, 64u);
   EXPECT_EQ(info.voice_capacity, 64u);
   EXPECT_EQ(info.flags, static_cast<uint64_t>(CLAP_VOICE_INFO_SUPPORTS_OVERLAPPING_NOTES));
}

// Every processing test runs a second instance beside the first, started the same way and fed the same
// audio: whatever should not change the sound must leave the two outputs bit-identical.
class Processing : public PluginTest {
protected:
   void SetUp() override {
      PluginTest::SetUp();
      reference = std::make_unique<host::PluginInstance>(library(), referenceHost, kPluginId);
      ASSERT_TRUE(reference->ok());
      startProcessing();
      ASSERT_TRUE(reference->activate(48000.0, 1, 4096));
      bool started = false;
      audio.run([&] { started = reference->startProcessing(); });
      ASSERT_TRUE(started);
   }
   void TearDown() override {
      audio.run([&] { reference->stopProcessing(); });
      reference->deactivate();
      stopProcessing();
   }

   // One block through the reference instance, from the same input.
   clap_process_status processReference(StereoBlock& block, const host::InputEvents& events = {}) {
      clap_process_status status = CLAP_PROCESS_ERROR;
      host::OutputEvents out;
      audio.run([&] { status = reference->process(block.in, block.out, block.frames, events, out); });
      return status;
   }

   static void expectSameOutput(const StereoBlock& a, const StereoBlock& b) {
      ASSERT_EQ(a.frames, b.frames);
      EXPECT_EQ(0, std::memcmp(a.out[0], b.out[0], a.frames * sizeof(float)));
      EXPECT_EQ(0, std::memcmp(a.out[1], b.out[1], a.frames * sizeof(float)));
   }
   static bool finite(const StereoBlock& b) {
      for (uint32_t i = 0; i < b.frames; ++i)
         if (!std::isfinite(b.out[0][i]) || !std::isfinite(b.out[1][i]))
            return false;
      return true;
   }

   host::Host referenceHost;
   std::unique_ptr<host::PluginInstance> reference;
};

TEST_F(Processing, BlocksOfAnyLengthGiveTheSameFiniteOutputInEveryInstance) {
   for (uint32_t frames : {0u, 1u, 63u, 64u, 65u, 256u, 4096u}) {
      SCOPED_TRACE(frames);
      StereoBlock block(frames), expected(frames);
      fillTestSignal(block, frames);
      fillTestSignal(expected, frames);
      EXPECT_EQ(process(block), CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(processReference(expected), CLAP_PROCESS_CONTINUE);
      expectSameOutput(block, expected);
      EXPECT_TRUE(finite(block));
   }
}

TEST_F(Processing, InPlaceBuffersGiveTheSameOutputAsSeparateOnes) {
   for (int i = 0; i < 4; ++i) {
      StereoBlock inPlace(512), expected(512);
      fillTestSignal(inPlace, static_cast<uint32_t>(i));
      fillTestSignal(expected, static_cast<uint32_t>(i));
      inPlace.out[0] = inPlace.inL.data();
      inPlace.out[1] = inPlace.inR.data();
      EXPECT_EQ(process(inPlace), CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(processReference(expected), CLAP_PROCESS_CONTINUE);
      expectSameOutput(inPlace, expected);
   }
}

// Notes, MIDI and every other event kind reach only the note recorder or nothing: the sound stays the
// same, malformed events included, while parameter values in the same list still apply.
TEST_F(Processing, NoteAndMidiEventsLeaveTheSoundUntouchedAndParamsStillApply) {
   host::InputEvents params;
   params.push(host::InputEvents::paramValue(7, 0.25, 9));
   params.push(host::InputEvents::paramValue(99, 0.75, 9));

   host::InputEvents events;
   for (double velocity : {1.0, 0.5, 0.0, kNaN, kInf, -1e300, 1e300})
      events.push(host::InputEvents::note(CLAP_EVENT_NOTE_ON, 60, velocity, 3));
   events.push(host::InputEvents::note(CLAP_EVENT_NOTE_OFF, 60, 0.5, 10));
   events.push(host::InputEvents::note(CLAP_EVENT_NOTE_CHOKE, 60, 0.5, 10));
   events.push(host::InputEvents::note(CLAP_EVENT_NOTE_END, 60, 0.5, 10));
   events.push(host::InputEvents::midi(0x93, 0x3C, 0x00, 5)); // note-on, velocity 0
   events.push(host::InputEvents::midi(0x83, 0x3C, 0x40, 6)); // note-off
   events.push(host::InputEvents::midi(0xB0, 0x07, 0x7F, 7)); // controller
   events.push(host::InputEvents::midi(0x9F, 0xFF, 0xFF, 8)); // bytes out of MIDI range
   events.pushNull();
   events.push(host::makeTransport(CLAP_TRANSPORT_IS_PLAYING));
   clap_event_param_gesture_t gesture{{sizeof(gesture), 0, 0, CLAP_EVENT_PARAM_GESTURE_BEGIN, 0}, 2};
   events.push(gesture);
   // A note-on whose size field claims less than a note event: skipped, not read past its end.
   clap_event_header_t truncated{sizeof(clap_event_header_t), 0, 0, CLAP_EVENT_NOTE_ON, 0};
   events.pushRaw(&truncated);
   events.push(host::InputEvents::paramValue(7, 0.25, 9));
   events.push(host::InputEvents::paramValue(99, 0.75, 9));

   for (int i = 0; i < 3; ++i) {
      StereoBlock block(300), expected(300);
      fillTestSignal(block, static_cast<uint32_t>(i));
      fillTestSignal(expected, static_cast<uint32_t>(i));
      EXPECT_EQ(process(block, events), CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(processReference(expected, params), CLAP_PROCESS_CONTINUE);
      expectSameOutput(block, expected);
   }
   EXPECT_EQ(plugin->paramValue(7), 0.25);
}

TEST_F(Processing, AnyTransportOrNoneProcessesTheSame) {
   clap_event_transport_t playing =
       host::makeTransport(CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_HAS_TEMPO |
                           CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_IS_LOOP_ACTIVE);
   playing.tempo = 173.0;
   playing.song_pos_seconds = 5LL << 31;
   playing.song_pos_beats = 9LL << 31;
   clap_event_transport_t hostile = host::makeTransport(0xFFFFFFFF);
   hostile.tempo = kNaN;
   hostile.song_pos_seconds = INT64_MAX;
   hostile.song_pos_beats = INT64_MIN;
   for (const clap_event_transport_t* transport : {&playing, &hostile, &playing}) {
      StereoBlock block(128), expected(128);
      fillTestSignal(block);
      fillTestSignal(expected);
      EXPECT_EQ(process(block, {}, transport), CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(processReference(expected), CLAP_PROCESS_CONTINUE);
      expectSameOutput(block, expected);
   }
}

// A block without an output port sleeps and touches nothing, not even the engine's parameters.
TEST_F(Processing, NoOutputPortSleepsWithoutTouchingTheEngine) {
   host::InputEvents events;
   events.push(host::InputEvents::paramValue(1, 0.75));
   host::OutputEvents out;
   StereoBlock block(64);
   float* in[2] = {block.inL.data(), block.inR.data()};
   clap_audio_buffer_t input{in, nullptr, 2, 0, 0};
   clap_process_t p{};
   p.frames_count = block.frames;
   p.audio_inputs = &input;
   p.audio_inputs_count = 1;
   p.audio_outputs_count = 0;
   p.in_events = events.list();
   p.out_events = out.list();
   EXPECT_EQ(processRaw(p), CLAP_PROCESS_SLEEP);

   // An output port whose channel pointers are missing cannot be written either.
   float* broken[2] = {block.outL.data(), nullptr};
   clap_audio_buffer_t output{broken, nullptr, 2, 0, 0};
   p.audio_outputs = &output;
   p.audio_outputs_count = 1;
   EXPECT_EQ(processRaw(p), CLAP_PROCESS_SLEEP);
   EXPECT_EQ(out.size(), 0u);

   EXPECT_EQ(plugin->paramValue(1), 0.0);
}

// An output port without a usable input port is processed from silence, never from the missing input.
TEST_F(Processing, MissingInputIsProcessedAsSilence) {
   StereoBlock block(256);
   fillTestSignal(block);
   float* in[2] = {block.inL.data(), block.inR.data()};
   float* nullLeft[2] = {nullptr, block.inR.data()};
   clap_audio_buffer_t stereoIn{in, nullptr, 2, 0, 0};
   clap_audio_buffer_t monoIn{in, nullptr, 1, 0, 0};
   clap_audio_buffer_t noChannels{nullptr, nullptr, 2, 0, 0};
   clap_audio_buffer_t nullChannel{nullLeft, nullptr, 2, 0, 0};
   const struct {
      const char* name;
      const clap_audio_buffer_t* inputs;
      uint32_t count;
   } cases[] = {
       {"no input port", nullptr, 0},          {"count 1 but null pointer", nullptr, 1},
       {"pointer but count 0", &stereoIn, 0},  {"mono input", &monoIn, 1},
       {"null channel array", &noChannels, 1}, {"null left channel", &nullChannel, 1},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      std::fill(block.outL.begin(), block.outL.end(), 7.0f);
      std::fill(block.outR.begin(), block.outR.end(), 7.0f);
      clap_audio_buffer_t output{block.out, nullptr, 2, 0, 0};
      host::InputEvents events;
      host::OutputEvents outEvents;
      clap_process_t p{};
      p.frames_count = block.frames;
      p.audio_inputs = c.inputs;
      p.audio_inputs_count = c.count;
      p.audio_outputs = &output;
      p.audio_outputs_count = 1;
      p.in_events = events.list();
      p.out_events = outEvents.list();
      EXPECT_EQ(processRaw(p), CLAP_PROCESS_CONTINUE);

      StereoBlock silence(block.frames);
      EXPECT_EQ(processReference(silence), CLAP_PROCESS_CONTINUE);
      expectSameOutput(block, silence);
   }
}

// Corrupt values (NaN, infinities, out of range) never reach the engine as they are: non-finite ones
// are ignored, finite ones clamped, and the output stays finite.
TEST_F(Processing, CorruptParameterValuesAreClampedOrIgnoredAndOutputStaysFinite) {
   const struct {
      double sent;
      double expected;
   } cases[] = {{kNaN, 0.25}, {kInf, 0.25}, {-kInf, 0.25}, {5.0, 1.0}, {-3.0, 0.0}, {0.5, 0.5}};
   for (clap_id id = 0; id < static_cast<clap_id>(kParamCount); ++id) {
      for (const auto& c : cases) {
         host::InputEvents events;
         events.push(host::InputEvents::paramValue(id, 0.25));
         events.push(host::InputEvents::paramValue(id, c.sent));
         StereoBlock block(128);
         fillTestSignal(block);
         EXPECT_EQ(process(block, events), CLAP_PROCESS_CONTINUE);
         for (uint32_t i = 0; i < block.frames; ++i)
            ASSERT_TRUE(std::isfinite(block.outL[i]) && std::isfinite(block.outR[i]))
                << "param " << id << " sent " << c.sent;
         EXPECT_EQ(plugin->paramValue(id), c.expected) << "param " << id << " sent " << c.sent;
      }
   }
}
