#pragma once
#include "EventLists.h"
#include "Host.h"
#include "PluginLibrary.h"

#include <clap/clap.h>

#include <string>
#include <vector>

namespace host {

// One plug-in instance created through a library's factory and driven as a DAW drives it.
// Main-thread calls are made from the calling thread; process and the processing start/stop
// belong on an audio thread (see AudioThread).
class PluginInstance {
public:
   // Creates and (unless told otherwise) initialises the plug-in; check ok() / error().
   PluginInstance(const PluginLibrary& library, Host& host, const std::string& pluginId, bool init = true);
   // Adopts a plug-in the caller created for this host by other means (for example one linked into
   // the process); from here on it is driven and destroyed like any other.
   PluginInstance(Host& host, const clap_plugin_t* plugin, bool init = true);
   ~PluginInstance(); // destroys the plug-in
   PluginInstance(const PluginInstance&) = delete;
   PluginInstance& operator=(const PluginInstance&) = delete;

   bool ok() const { return plugin_ != nullptr; }
   const std::string& error() const { return error_; }
   const clap_plugin_t* plugin() const { return plugin_; }
   Host& host() { return host_; }

   bool init();
   bool activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
   void deactivate();
   bool startProcessing();
   void stopProcessing();
   void reset();
   void destroy();

   template <typename Ext> const Ext* extension(const char* id) const {
      return plugin_ ? static_cast<const Ext*>(plugin_->get_extension(plugin_, id)) : nullptr;
   }
   const clap_plugin_params_t* params() const { return extension<clap_plugin_params_t>(CLAP_EXT_PARAMS); }
   const clap_plugin_state_t* state() const { return extension<clap_plugin_state_t>(CLAP_EXT_STATE); }
   const clap_plugin_gui_t* gui() const { return extension<clap_plugin_gui_t>(CLAP_EXT_GUI); }

   // params helpers (main thread, or audio thread for flush while processing)
   double paramValue(clap_id id) const;
   std::string paramText(clap_id id, double value) const;
   void flush(const InputEvents& in, OutputEvents& out) const;

   // state helpers: save with writes of at most maxChunk bytes; load served in reads of maxChunk
   bool saveState(std::vector<uint8_t>& out, uint64_t maxChunk = UINT64_MAX) const;
   bool loadState(const std::vector<uint8_t>& bytes, uint64_t maxChunk = UINT64_MAX) const;

   // One block: stereo in/out of `frames` samples (the output may alias the input), with events.
   clap_process_status process(const float* const* in, float* const* out, uint32_t frames,
                               const InputEvents& events, OutputEvents& outEvents,
                               const clap_event_transport_t* transport = nullptr, int64_t steadyTime = -1);

private:
   Host& host_;
   const clap_plugin_t* plugin_ = nullptr;
   std::string error_;
};

// A default transport: playing flags as given, 120 BPM, 4/4, everything at zero.
clap_event_transport_t makeTransport(uint32_t flags = 0);

} // namespace host
