#pragma once
#include <clap/clap.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace host {

// A host-side input event list: events are copied in, kept in order, and served to the plug-in.
class InputEvents {
public:
   InputEvents();
   template <typename Event> void push(const Event& e) { pushRaw(&e.header); }
   void pushRaw(const clap_event_header_t* h);
   void pushNull() { offsets_.push_back(SIZE_MAX); } // a list entry the host returns as null
   void clear();
   uint32_t size() const { return static_cast<uint32_t>(offsets_.size()); }
   const clap_input_events_t* list() const { return &list_; }

   static clap_event_param_value_t paramValue(clap_id id, double value, uint32_t time = 0);
   static clap_event_note_t note(uint16_t type, int16_t key, double velocity, uint32_t time = 0);
   static clap_event_midi_t midi(uint8_t b0, uint8_t b1, uint8_t b2, uint32_t time = 0);

private:
   std::vector<uint8_t> storage_;
   std::vector<size_t> offsets_;
   clap_input_events_t list_;
};

// A host-side output event list that keeps a copy of every event the plug-in pushes.
class OutputEvents {
public:
   OutputEvents();
   const clap_output_events_t* list() const { return &list_; }
   size_t size() const { return events_.size(); }
   const clap_event_header_t& at(size_t i) const {
      return *reinterpret_cast<const clap_event_header_t*>(events_[i].data());
   }
   template <typename Event> const Event& as(size_t i) const {
      return *reinterpret_cast<const Event*>(events_[i].data());
   }
   void clear() { events_.clear(); }

private:
   std::vector<std::vector<uint8_t>> events_;
   clap_output_events_t list_;
};

} // namespace host
