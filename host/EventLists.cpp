#include "EventLists.h"

namespace host {

InputEvents::InputEvents() {
   list_.ctx = this;
   list_.size = [](const clap_input_events_t* l) { return static_cast<const InputEvents*>(l->ctx)->size(); };
   list_.get = [](const clap_input_events_t* l, uint32_t index) -> const clap_event_header_t* {
      auto* self = static_cast<const InputEvents*>(l->ctx);
      if (index >= self->offsets_.size() || self->offsets_[index] == SIZE_MAX)
         return nullptr;
      return reinterpret_cast<const clap_event_header_t*>(self->storage_.data() + self->offsets_[index]);
   };
   storage_.reserve(1 << 16);
}

void InputEvents::pushRaw(const clap_event_header_t* h) {
   // Each event starts on an 8-byte boundary so its doubles are aligned.
   const size_t offset = (storage_.size() + 7) & ~size_t(7);
   storage_.resize(offset + ((h->size + 7) & ~uint32_t(7)));
   std::memcpy(storage_.data() + offset, h, h->size);
   offsets_.push_back(offset);
}

void InputEvents::clear() {
   storage_.clear();
   offsets_.clear();
}

clap_event_param_value_t InputEvents::paramValue(clap_id id, double value, uint32_t time) {
   clap_event_param_value_t e{};
   e.header = {sizeof(e), time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
   e.param_id = id;
   e.note_id = -1;
   e.port_index = -1;
   e.channel = -1;
   e.key = -1;
   e.value = value;
   return e;
}

clap_event_note_t InputEvents::note(uint16_t type, int16_t key, double velocity, uint32_t time) {
   clap_event_note_t e{};
   e.header = {sizeof(e), time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
   e.note_id = -1;
   e.port_index = 0;
   e.channel = 0;
   e.key = key;
   e.velocity = velocity;
   return e;
}

clap_event_midi_t InputEvents::midi(uint8_t b0, uint8_t b1, uint8_t b2, uint32_t time) {
   clap_event_midi_t e{};
   e.header = {sizeof(e), time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
   e.port_index = 0;
   e.data[0] = b0;
   e.data[1] = b1;
   e.data[2] = b2;
   return e;
}

OutputEvents::OutputEvents() {
   list_.ctx = this;
   list_.try_push = [](const clap_output_events_t* l, const clap_event_header_t* e) {
      if (!e || e->size < sizeof(clap_event_header_t))
         return false;
      auto* self = static_cast<OutputEvents*>(l->ctx);
      const auto* bytes = reinterpret_cast<const uint8_t*>(e);
      self->events_.emplace_back(bytes, bytes + e->size);
      return true;
   };
}

} // namespace host
