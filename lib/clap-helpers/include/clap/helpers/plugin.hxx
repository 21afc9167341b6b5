#pragma once
// Definitions of clap::helpers::Plugin; included by plugin.hh.

namespace clap::helpers {

namespace detail {

// The events a parameter flush hands to the plug-in: only parameter values and modulations of the
// core event space, as whole events. A view over the host's list; it neither copies nor allocates, and
// a cursor makes the usual in-order walk linear.
class ParamEventsView {
public:
   explicit ParamEventsView(const clap_input_events_t* in) noexcept : _in(in) {
      _list.ctx = this;
      _list.size = [](const clap_input_events_t* list) noexcept {
         return static_cast<const ParamEventsView*>(list->ctx)->_count;
      };
      _list.get = [](const clap_input_events_t* list, uint32_t index) noexcept {
         return static_cast<ParamEventsView*>(list->ctx)->get(index);
      };
      _hostSize = _in->size ? _in->size(_in) : 0;
      for (uint32_t i = 0; i < _hostSize; ++i)
         if (accepted(hostEvent(i)))
            ++_count;
   }

   const clap_input_events_t* list() const noexcept { return &_list; }

private:
   static bool accepted(const clap_event_header_t* e) noexcept {
      if (!e || e->space_id != CLAP_CORE_EVENT_SPACE_ID)
         return false;
      if (e->type == CLAP_EVENT_PARAM_VALUE)
         return e->size >= sizeof(clap_event_param_value_t);
      if (e->type == CLAP_EVENT_PARAM_MOD)
         return e->size >= sizeof(clap_event_param_mod_t);
      return false;
   }
   const clap_event_header_t* hostEvent(uint32_t i) const noexcept {
      return _in->get ? _in->get(_in, i) : nullptr;
   }

   const clap_event_header_t* get(uint32_t index) noexcept {
      if (index >= _count)
         return nullptr;
      if (index < _cursorIndex) // walking backwards: start over
         _cursorIndex = 0, _cursorHostIndex = 0;
      for (; _cursorHostIndex < _hostSize; ++_cursorHostIndex) {
         const clap_event_header_t* e = hostEvent(_cursorHostIndex);
         if (!accepted(e))
            continue;
         if (_cursorIndex == index)
            return e;
         ++_cursorIndex;
      }
      return nullptr;
   }

   const clap_input_events_t* _in;
   clap_input_events_t _list{};
   uint32_t _hostSize = 0;
   uint32_t _count = 0;
   uint32_t _cursorIndex = 0;     // index (among accepted events) of the event at _cursorHostIndex
   uint32_t _cursorHostIndex = 0; // position in the host's list
};

} // namespace detail

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_state_t Plugin<h, l>::_pluginState = {&Plugin::clapStateSave, &Plugin::clapStateLoad};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_audio_ports_t Plugin<h, l>::_pluginAudioPorts = {&Plugin::clapAudioPortsCount,
                                                                   &Plugin::clapAudioPortsInfo};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_params_t Plugin<h, l>::_pluginParams = {
    &Plugin::clapParamsCount,       &Plugin::clapParamsInfo,        &Plugin::clapParamsValue,
    &Plugin::clapParamsValueToText, &Plugin::clapParamsTextToValue, &Plugin::clapParamsFlush};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_note_ports_t Plugin<h, l>::_pluginNotePorts = {&Plugin::clapNotePortsCount,
                                                                 &Plugin::clapNotePortsInfo};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_timer_support_t Plugin<h, l>::_pluginTimerSupport = {&Plugin::clapOnTimer};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_posix_fd_support_t Plugin<h, l>::_pluginPosixFdSupport = {&Plugin::clapOnPosixFd};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_gui_t Plugin<h, l>::_pluginGui = {&Plugin::clapGuiIsApiSupported,
                                                    &Plugin::clapGuiGetPreferredApi,
                                                    &Plugin::clapGuiCreate,
                                                    &Plugin::clapGuiDestroy,
                                                    &Plugin::clapGuiSetScale,
                                                    &Plugin::clapGuiGetSize,
                                                    &Plugin::clapGuiCanResize,
                                                    &Plugin::clapGuiGetResizeHints,
                                                    &Plugin::clapGuiAdjustSize,
                                                    &Plugin::clapGuiSetSize,
                                                    &Plugin::clapGuiSetParent,
                                                    &Plugin::clapGuiSetTransient,
                                                    &Plugin::clapGuiSuggestTitle,
                                                    &Plugin::clapGuiShow,
                                                    &Plugin::clapGuiHide};

template <MisbehaviourHandler h, CheckingLevel l>
const clap_plugin_voice_info_t Plugin<h, l>::_pluginVoiceInfo = {&Plugin::clapVoiceInfoGet};

template <MisbehaviourHandler h, CheckingLevel l>
Plugin<h, l>::Plugin(const clap_plugin_descriptor_t* desc, const clap_host_t* host) noexcept : _host(host) {
   _plugin.desc = desc;
   _plugin.plugin_data = this;
   _plugin.init = &Plugin::clapInit;
   _plugin.destroy = &Plugin::clapDestroy;
   _plugin.activate = &Plugin::clapActivate;
   _plugin.deactivate = &Plugin::clapDeactivate;
   _plugin.start_processing = &Plugin::clapStartProcessing;
   _plugin.stop_processing = &Plugin::clapStopProcessing;
   _plugin.reset = &Plugin::clapReset;
   _plugin.process = &Plugin::clapProcess;
   _plugin.get_extension = &Plugin::clapGetExtension;
   _plugin.on_main_thread = &Plugin::clapOnMainThread;
}

// ---- rule checks ----

template <MisbehaviourHandler h, CheckingLevel l>
Plugin<h, l>& Plugin<h, l>::from(const clap_plugin_t* plugin) noexcept {
   if (!plugin || !plugin->plugin_data) {
      // No instance to report through: this host cannot be served at all.
      std::fputs("A CLAP host called a plug-in function without a valid clap_plugin pointer\n", stderr);
      std::terminate();
   }
   return *static_cast<Plugin*>(plugin->plugin_data);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::ensure(bool rule, const char* function, const char* what) const noexcept {
   if (rule)
      return true;
   char message[320];
   std::snprintf(message, sizeof(message), "Host called %s() %s", function, what);
   _host.hostMisbehaving(message);
   return false;
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::ensureInitialized(const char* function) const noexcept {
   if constexpr (l == CheckingLevel::None)
      return true;
   return ensure(_wasInitialized.load(std::memory_order_relaxed), function, "before clap_plugin.init()");
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::ensureMainThread(const char* function) const noexcept {
   if constexpr (l != CheckingLevel::Maximal)
      return true;
   return ensure(_host.isMainThread(), function, "from a thread other than the main thread");
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::ensureAudioThread(const char* function) const noexcept {
   if constexpr (l != CheckingLevel::Maximal)
      return true;
   return ensure(_host.isAudioThread(), function, "from a thread other than the audio thread");
}

// ---- core ----

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapInit(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   // The host's extensions become reachable here, so the thread check can only be made after the
   // look-up.
   self._host.init();
   if (!self.ensureMainThread("clap_plugin.init"))
      return false;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(!self._wasInitialized.load(std::memory_order_relaxed), "clap_plugin.init", "twice"))
         return false;
   self._wasInitialized.store(true, std::memory_order_relaxed);
   return self.init();
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapDestroy(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   self.ensureMainThread("clap_plugin.destroy");
   if constexpr (l != CheckingLevel::None) {
      if (!self.ensure(!self.isActive(), "clap_plugin.destroy", "while the plug-in is active")) {
         // Carrying on: leave the instance as a deactivation would.
         if (self.isProcessing())
            self.stopProcessing();
         self.deactivate();
      }
   }
   delete &self;
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapActivate(const clap_plugin_t* plugin, double sampleRate, uint32_t minFrameCount,
                                uint32_t maxFrameCount) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.activate";
   if (!self.ensureMainThreadCall(fn))
      return false;
   if constexpr (l != CheckingLevel::None) {
      if (!self.ensure(!self.isActive(), fn, "while the plug-in is already active") ||
          !self.ensure(std::isfinite(sampleRate) && sampleRate > 0.0, fn,
                       "with a sample rate that is not positive") ||
          !self.ensure(minFrameCount >= 1, fn, "with a minimum frame count of 0") ||
          !self.ensure(maxFrameCount >= minFrameCount, fn, "with a maximum frame count below the minimum"))
         return false;
   }
   if (!self.activate(sampleRate, minFrameCount, maxFrameCount))
      return false;
   self._sampleRate = sampleRate;
   self._isActive.store(true, std::memory_order_relaxed);
   return true;
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapDeactivate(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.deactivate";
   if (!self.ensureMainThreadCall(fn))
      return;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(self.isActive(), fn, "while the plug-in is not active"))
         return;
   // CLAP asks only that the plug-in be active here; a host that never stopped processing has
   // stopped now.
   if (self.isProcessing()) {
      self.stopProcessing();
      self._isProcessing.store(false, std::memory_order_relaxed);
   }
   self.deactivate();
   self._isActive.store(false, std::memory_order_relaxed);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapStartProcessing(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.start_processing";
   if (!self.ensureInitialized(fn) || !self.ensureAudioThread(fn))
      return false;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(self.isActive(), fn, "while the plug-in is not active") ||
          !self.ensure(!self.isProcessing(), fn, "while the plug-in is already processing"))
         return false;
   if (!self.startProcessing())
      return false;
   self._isProcessing.store(true, std::memory_order_relaxed);
   return true;
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapStopProcessing(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.stop_processing";
   if (!self.ensureInitialized(fn) || !self.ensureAudioThread(fn))
      return;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(self.isActive(), fn, "while the plug-in is not active") ||
          !self.ensure(self.isProcessing(), fn, "while the plug-in is not processing"))
         return;
   self.stopProcessing();
   self._isProcessing.store(false, std::memory_order_relaxed);
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapReset(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.reset";
   if (!self.ensureInitialized(fn) || !self.ensureAudioThread(fn))
      return;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(self.isActive(), fn, "while the plug-in is not active"))
         return;
   self.reset();
}

template <MisbehaviourHandler h, CheckingLevel l>
clap_process_status Plugin<h, l>::clapProcess(const clap_plugin_t* plugin,
                                              const clap_process_t* process) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin.process";
   if (!self.ensureInitialized(fn) || !self.ensureAudioThread(fn))
      return CLAP_PROCESS_ERROR;
   if constexpr (l != CheckingLevel::None)
      if (!self.ensure(self.isActive(), fn, "while the plug-in is not active") ||
          !self.ensure(self.isProcessing(), fn, "while the plug-in is not processing (no start_processing)"))
         return CLAP_PROCESS_ERROR;
   if (!self.ensure(process && process->in_events && process->out_events, fn,
                    "without a process record or without its event lists"))
      return CLAP_PROCESS_ERROR;
   return self.process(process);
}

template <MisbehaviourHandler h, CheckingLevel l>
const void* Plugin<h, l>::clapGetExtension(const clap_plugin_t* plugin, const char* id) noexcept {
   auto& self = from(plugin);
   // Callable from any thread, but not before init.
   if (!self.ensureInitialized("clap_plugin.get_extension") || !id)
      return nullptr;
   const auto is = [id](const char* ext) { return std::strcmp(id, ext) == 0; };
   if (is(CLAP_EXT_STATE) && self.implementsState())
      return &_pluginState;
   if (is(CLAP_EXT_AUDIO_PORTS) && self.implementsAudioPorts())
      return &_pluginAudioPorts;
   if (is(CLAP_EXT_PARAMS) && self.implementsParams())
      return &_pluginParams;
   if (is(CLAP_EXT_NOTE_PORTS) && self.implementsNotePorts())
      return &_pluginNotePorts;
   if (is(CLAP_EXT_TIMER_SUPPORT) && self.implementsTimerSupport())
      return &_pluginTimerSupport;
   if (is(CLAP_EXT_POSIX_FD_SUPPORT) && self.implementsPosixFdSupport())
      return &_pluginPosixFdSupport;
   if (is(CLAP_EXT_GUI) && self.implementsGui())
      return &_pluginGui;
   if (is(CLAP_EXT_VOICE_INFO) && self.implementsVoiceInfo())
      return &_pluginVoiceInfo;
   return nullptr;
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapOnMainThread(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (self.ensureMainThreadCall("clap_plugin.on_main_thread"))
      self.onMainThread();
}

// ---- state ----

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapStateSave(const clap_plugin_t* plugin, const clap_ostream_t* stream) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_state.save";
   if (!self.ensureMainThreadCall(fn) ||
       !self.ensure(stream && stream->write, fn, "without an output stream"))
      return false;
   return self.stateSave(stream);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapStateLoad(const clap_plugin_t* plugin, const clap_istream_t* stream) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_state.load";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(stream && stream->read, fn, "without an input stream"))
      return false;
   return self.stateLoad(stream);
}

// ---- audio ports ----

template <MisbehaviourHandler h, CheckingLevel l>
uint32_t Plugin<h, l>::clapAudioPortsCount(const clap_plugin_t* plugin, bool isInput) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_audio_ports.count"))
      return 0;
   return self.audioPortsCount(isInput);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapAudioPortsInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput,
                                      clap_audio_port_info_t* info) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_audio_ports.get";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(info != nullptr, fn, "without an info record"))
      return false;
   if (index >= self.audioPortsCount(isInput))
      return false;
   return self.audioPortsInfo(index, isInput, info);
}

// ---- params ----

template <MisbehaviourHandler h, CheckingLevel l>
uint32_t Plugin<h, l>::clapParamsCount(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_params.count"))
      return 0;
   return self.paramsCount();
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapParamsInfo(const clap_plugin_t* plugin, uint32_t paramIndex,
                                  clap_param_info_t* info) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_params.get_info";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(info != nullptr, fn, "without an info record"))
      return false;
   if (paramIndex >= self.paramsCount())
      return false;
   return self.paramsInfo(paramIndex, info);
}

// Unknown ids are answered with false, not treated as misbehaviour: a project saved by another
// version of a plug-in may name parameters this one does not have.
template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapParamsValue(const clap_plugin_t* plugin, clap_id paramId, double* value) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_params.get_value";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(value != nullptr, fn, "without a value pointer"))
      return false;
   if (!self.isValidParamId(paramId))
      return false;
   return self.paramsValue(paramId, value);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapParamsValueToText(const clap_plugin_t* plugin, clap_id paramId, double value,
                                         char* display, uint32_t size) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_params.value_to_text";
   if (!self.ensureMainThreadCall(fn) || size == 0 ||
       !self.ensure(display != nullptr, fn, "without a text buffer"))
      return false;
   if (!self.isValidParamId(paramId))
      return false;
   return self.paramsValueToText(paramId, value, display, size);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapParamsTextToValue(const clap_plugin_t* plugin, clap_id paramId, const char* display,
                                         double* value) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_params.text_to_value";
   if (!self.ensureMainThreadCall(fn) ||
       !self.ensure(display != nullptr && value != nullptr, fn, "without a text or a value pointer"))
      return false;
   if (!self.isValidParamId(paramId))
      return false;
   return self.paramsTextToValue(paramId, display, value);
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapParamsFlush(const clap_plugin_t* plugin, const clap_input_events_t* in,
                                   const clap_output_events_t* out) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_params.flush";
   if (!self.ensureInitialized(fn))
      return;
   if constexpr (l == CheckingLevel::Maximal) {
      if (self.isProcessing()) {
         if (!self.ensure(self._host.isAudioThread(), fn,
                          "from a thread other than the audio thread while processing"))
            return;
      } else if (!self.isActive()) {
         if (!self.ensure(self._host.isMainThread(), fn,
                          "from a thread other than the main thread while inactive"))
            return;
      } else if (!self.ensure(self._host.isMainThread() || self._host.isAudioThread(), fn,
                              "from neither the main thread nor the audio thread")) {
         return;
      }
   }
   if (!self.ensure(in && out, fn, "without its input or output event list"))
      return;
   detail::ParamEventsView params(in);
   self.paramsFlush(params.list(), out);
}

// ---- note ports ----

template <MisbehaviourHandler h, CheckingLevel l>
uint32_t Plugin<h, l>::clapNotePortsCount(const clap_plugin_t* plugin, bool isInput) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_note_ports.count"))
      return 0;
   return self.notePortsCount(isInput);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapNotePortsInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput,
                                     clap_note_port_info_t* info) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_note_ports.get";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(info != nullptr, fn, "without an info record"))
      return false;
   if (index >= self.notePortsCount(isInput))
      return false;
   return self.notePortsInfo(index, isInput, info);
}

// ---- timer and posix fd support ----

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapOnTimer(const clap_plugin_t* plugin, clap_id timerId) noexcept {
   auto& self = from(plugin);
   if (self.ensureMainThreadCall("clap_plugin_timer_support.on_timer"))
      self.onTimer(timerId);
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapOnPosixFd(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags) noexcept {
   auto& self = from(plugin);
   if (self.ensureMainThreadCall("clap_plugin_posix_fd_support.on_fd"))
      self.onPosixFd(fd, flags);
}

// ---- gui ----

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiIsApiSupported(const clap_plugin_t* plugin, const char* api,
                                         bool isFloating) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.is_api_supported") || !api)
      return false;
   return self.guiIsApiSupported(api, isFloating);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiGetPreferredApi(const clap_plugin_t* plugin, const char** api,
                                          bool* isFloating) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.get_preferred_api";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(api && isFloating, fn, "without its result pointers"))
      return false;
   return self.guiGetPreferredApi(api, isFloating);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiCreate(const clap_plugin_t* plugin, const char* api, bool isFloating) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.create") || !api)
      return false;
   return self.guiCreate(api, isFloating);
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapGuiDestroy(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (self.ensureMainThreadCall("clap_plugin_gui.destroy"))
      self.guiDestroy();
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiSetScale(const clap_plugin_t* plugin, double scale) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.set_scale"))
      return false;
   return self.guiSetScale(scale);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.get_size";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(width && height, fn, "without its size pointers"))
      return false;
   return self.guiGetSize(width, height);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiCanResize(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.can_resize"))
      return false;
   return self.guiCanResize();
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiGetResizeHints(const clap_plugin_t* plugin,
                                         clap_gui_resize_hints_t* hints) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.get_resize_hints";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(hints != nullptr, fn, "without a hints record"))
      return false;
   return self.guiGetResizeHints(hints);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiAdjustSize(const clap_plugin_t* plugin, uint32_t* width,
                                     uint32_t* height) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.adjust_size";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(width && height, fn, "without its size pointers"))
      return false;
   return self.guiAdjustSize(width, height);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.set_size"))
      return false;
   return self.guiSetSize(width, height);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiSetParent(const clap_plugin_t* plugin, const clap_window_t* window) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.set_parent";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(window != nullptr, fn, "without a window"))
      return false;
   return self.guiSetParent(window);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiSetTransient(const clap_plugin_t* plugin, const clap_window_t* window) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_gui.set_transient";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(window != nullptr, fn, "without a window"))
      return false;
   return self.guiSetTransient(window);
}

template <MisbehaviourHandler h, CheckingLevel l>
void Plugin<h, l>::clapGuiSuggestTitle(const clap_plugin_t* plugin, const char* title) noexcept {
   auto& self = from(plugin);
   if (self.ensureMainThreadCall("clap_plugin_gui.suggest_title") && title)
      self.guiSuggestTitle(title);
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiShow(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.show"))
      return false;
   return self.guiShow();
}

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapGuiHide(const clap_plugin_t* plugin) noexcept {
   auto& self = from(plugin);
   if (!self.ensureMainThreadCall("clap_plugin_gui.hide"))
      return false;
   return self.guiHide();
}

// ---- voice info ----

template <MisbehaviourHandler h, CheckingLevel l>
bool Plugin<h, l>::clapVoiceInfoGet(const clap_plugin_t* plugin, clap_voice_info_t* info) noexcept {
   auto& self = from(plugin);
   static const char* const fn = "clap_plugin_voice_info.get";
   if (!self.ensureMainThreadCall(fn) || !self.ensure(info != nullptr, fn, "without an info record"))
      return false;
   return self.voiceInfoGet(info);
}

} // namespace clap::helpers
