#include "scorchwire.h"

#include "scorchwire-log.h"
#include "scorchwire-transport.h"

#include <cstring>

namespace {

constexpr uint32_t kVoiceCount = 64;

// Note velocity 0..1 as the engine's 0..127, truncated toward zero. Values no int can hold (a
// hostile host's NaN or 1e300) give 0 instead of undefined behaviour.
int noteVelocity(double velocity) {
   const double scaled = 127.0 * velocity;
   if (!(scaled > -2147483648.0 && scaled < 2147483648.0))
      return 0;
   return static_cast<int>(scaled);
}

// The 32-bit channel pair of a stereo port, or false when the host did not provide one whole.
bool stereoChannels(const clap_audio_buffer_t* ports, uint32_t portCount, float* channels[2]) {
   if (portCount == 0 || !ports || !ports[0].data32 || ports[0].channel_count < 2)
      return false;
   channels[0] = ports[0].data32[0];
   channels[1] = ports[0].data32[1];
   return channels[0] && channels[1];
}

} // namespace

Scorchwire::Scorchwire(const clap_host_t* host) : ScorchwirePluginBase(&desc, host) {
   SCORCHWIRE_LOG("Constructing Scorchwire");
   paramList = std::make_unique<ParamList>();
   engine = std::make_unique<ScorchwireFX>();
}

// A still-open editor is closed first, as the GUI's destroy does; the queues go last.
Scorchwire::~Scorchwire() {
   if (editor.load(std::memory_order_relaxed))
      guiDestroy();
   engine.reset();
   paramList.reset();
}

// ---- core ----

bool Scorchwire::activate(double sampleRate, uint32_t, uint32_t maxFrameCount) noexcept {
   engine->resume(sampleRate, static_cast<int32_t>(maxFrameCount));
   return true;
}

bool Scorchwire::startProcessing() noexcept {
   dataCopyForUI.isProcessing.store(true);
   dataCopyForUI.updateCount.fetch_add(1);
   return true;
}

void Scorchwire::stopProcessing() noexcept {
   dataCopyForUI.isProcessing.store(false);
   dataCopyForUI.updateCount.fetch_add(1);
}

clap_process_status Scorchwire::process(const clap_process_t* process) noexcept {
   float* out[2];
   if (!stereoChannels(process->audio_outputs, process->audio_outputs_count, out))
      return CLAP_PROCESS_SLEEP;

   // Before the host's events, so that a host event for the same parameter overrides an editor
   // change of the same block.
   handleEventsFromUIQueue(process->out_events);

   // Without a whole input port the block is processed from silence, in place.
   float* in[2];
   if (!stereoChannels(process->audio_inputs, process->audio_inputs_count, in)) {
      std::memset(out[0], 0, sizeof(float) * process->frames_count);
      std::memset(out[1], 0, sizeof(float) * process->frames_count);
      in[0] = out[0];
      in[1] = out[1];
   }

   const clap_input_events_t* events = process->in_events;
   const uint32_t eventCount = events->size ? events->size(events) : 0;
   if (eventCount != 0) {
      engine->startProcessMIDI();
      dispatchInputEvents(events);
      engine->endProcessMIDI();
   }

   copyTransportToEngine(process->transport, sampleRate(), *engine);
   engine->process(in, out, static_cast<int>(process->frames_count));
   return CLAP_PROCESS_CONTINUE;
}

// Chosen by type alone; an event shorter than its type's record is skipped rather than read past
// its end.
void Scorchwire::dispatchInputEvents(const clap_input_events_t* in) noexcept {
   if (!in->size || !in->get)
      return;
   const uint32_t count = in->size(in);
   for (uint32_t i = 0; i < count; ++i) {
      const clap_event_header_t* event = in->get(in, i);
      if (!event)
         continue;
      const int time = static_cast<int>(event->time);
      switch (event->type) {
      case CLAP_EVENT_NOTE_ON:
      case CLAP_EVENT_NOTE_OFF: {
         if (event->size < sizeof(clap_event_note_t))
            break;
         const auto* note = reinterpret_cast<const clap_event_note_t*>(event);
         if (event->type == CLAP_EVENT_NOTE_ON)
            engine->noteOn(note->key, noteVelocity(note->velocity), time);
         else
            engine->noteOff(note->key, noteVelocity(note->velocity), time);
         break;
      }
      case CLAP_EVENT_PARAM_VALUE: {
         if (event->size < sizeof(clap_event_param_value_t))
            break;
         const auto* param = reinterpret_cast<const clap_event_param_value_t*>(event);
         // Ids beyond int wrap to negative numbers, which the engine ignores like those above 16.
         engine->setParameter(static_cast<int>(param->param_id), param->value);
         if (editor.load(std::memory_order_relaxed))
            toUIQueue.try_enqueue(ToUI{ToUI::ValueEcho, param->param_id, param->value});
         break;
      }
      case CLAP_EVENT_MIDI: {
         if (event->size < sizeof(clap_event_midi_t))
            break;
         const auto* midi = reinterpret_cast<const clap_event_midi_t*>(event);
         const int status = midi->data[0] & 0xF0;
         if (status == 0x80)
            engine->noteOff(midi->data[1], midi->data[2], time);
         else if (status == 0x90)
            engine->noteOn(midi->data[1], midi->data[2], time);
         break;
      }
      default:
         break;
      }
   }
}

// ---- audio ports ----

uint32_t Scorchwire::audioPortsCount(bool) const noexcept {
   return 1;
}

bool Scorchwire::audioPortsInfo(uint32_t index, bool, clap_audio_port_info_t* info) const noexcept {
   if (index != 0)
      return false;
   *info = {};
   info->id = 0;
   std::strcpy(info->name, "main");
   info->flags = CLAP_AUDIO_PORT_IS_MAIN;
   info->channel_count = 2;
   info->port_type = CLAP_PORT_STEREO;
   info->in_place_pair = CLAP_INVALID_ID;
   return true;
}

// ---- note ports ----

uint32_t Scorchwire::notePortsCount(bool isInput) const noexcept {
   return isInput ? 1 : 0;
}

bool Scorchwire::notePortsInfo(uint32_t, bool isInput, clap_note_port_info_t* info) const noexcept {
   if (!isInput)
      return false;
   *info = {};
   info->id = 1;
   info->supported_dialects = CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI;
   info->preferred_dialect = CLAP_NOTE_DIALECT_CLAP;
   std::strcpy(info->name, "NoteInput");
   return true;
}

// ---- voice info ----

bool Scorchwire::voiceInfoGet(clap_voice_info_t* info) noexcept {
   info->voice_count = kVoiceCount;
   info->voice_capacity = kVoiceCount;
   info->flags = CLAP_VOICE_INFO_SUPPORTS_OVERLAPPING_NOTES;
   return true;
}
