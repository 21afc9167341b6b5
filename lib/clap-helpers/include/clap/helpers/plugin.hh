#pragma once
#include "checking-level.hh"
#include "host-proxy.hh"
#include "misbehaviour-handler.hh"

#include <clap/clap.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace clap::helpers {

// Base class of a CLAP plug-in instance. It owns the clap_plugin_t handle, receives every host call
// through static trampolines, checks the calling rules of CLAP 1.2 (see below) and forwards each call
// to the virtual operation of the same purpose. A derived class offers an extension by returning true
// from its implementsX(); get_extension answers only for those.
//
// Rules checked (CheckingLevel::Minimal and above): init before anything but destroy, init once,
// activate only while inactive, with a positive sample rate and 1 <= min <= max frames, deactivate and
// reset only while active, start/stop processing only while active (and not yet / still processing),
// process only while active and processing, destroy only while inactive.
// Threads (CheckingLevel::Maximal), asked of the host's thread-check extension (without it every thread
// passes): the audio thread is a role, so nothing is remembered about which OS thread played it.
// Main thread: init, destroy, activate, deactivate, on_main_thread and the extension functions.
// Audio thread: start/stop processing, reset, process. params.flush: the audio thread while processing,
// the main thread while inactive, either one in between. get_extension: any thread.
// A broken rule is reported through the host's log (standard error without one) and, with
// MisbehaviourHandler::Terminate, ends the process.
template <MisbehaviourHandler h, CheckingLevel l> class Plugin {
public:
   const clap_plugin_t* clapPlugin() const noexcept { return &_plugin; }

   Plugin(const Plugin&) = delete;
   Plugin& operator=(const Plugin&) = delete;

protected:
   Plugin(const clap_plugin_descriptor_t* desc, const clap_host_t* host) noexcept;
   virtual ~Plugin() = default;

   // ---- core ----
   virtual bool init() noexcept { return true; }
   virtual bool activate(double /*sampleRate*/, uint32_t /*minFrameCount*/,
                         uint32_t /*maxFrameCount*/) noexcept {
      return true;
   }
   virtual void deactivate() noexcept {}
   virtual bool startProcessing() noexcept { return true; }
   virtual void stopProcessing() noexcept {}
   virtual clap_process_status process(const clap_process_t* /*process*/) noexcept {
      return CLAP_PROCESS_SLEEP;
   }
   virtual void reset() noexcept {}
   virtual void onMainThread() noexcept {}

   // ---- state ----
   virtual bool implementsState() const noexcept { return false; }
   virtual bool stateSave(const clap_ostream_t* /*stream*/) noexcept { return false; }
   virtual bool stateLoad(const clap_istream_t* /*stream*/) noexcept { return false; }

   // ---- audio ports ----
   virtual bool implementsAudioPorts() const noexcept { return false; }
   virtual uint32_t audioPortsCount(bool /*isInput*/) const noexcept { return 0; }
   virtual bool audioPortsInfo(uint32_t /*index*/, bool /*isInput*/,
                               clap_audio_port_info_t* /*info*/) const noexcept {
      return false;
   }

   // ---- params ----
   virtual bool implementsParams() const noexcept { return false; }
   virtual uint32_t paramsCount() const noexcept { return 0; }
   virtual bool paramsInfo(uint32_t /*paramIndex*/, clap_param_info_t* /*info*/) const noexcept {
      return false;
   }
   virtual bool paramsValue(clap_id /*paramId*/, double* /*value*/) noexcept { return false; }
   virtual bool paramsValueToText(clap_id /*paramId*/, double /*value*/, char* /*display*/,
                                  uint32_t /*size*/) noexcept {
      return false;
   }
   virtual bool paramsTextToValue(clap_id /*paramId*/, const char* /*display*/, double* /*value*/) noexcept {
      return false;
   }
   virtual void paramsFlush(const clap_input_events_t* /*in*/, const clap_output_events_t* /*out*/) noexcept {
   }
   virtual bool isValidParamId(clap_id paramId) const noexcept {
      const uint32_t count = paramsCount();
      for (uint32_t i = 0; i < count; ++i) {
         clap_param_info_t info{};
         if (paramsInfo(i, &info) && info.id == paramId)
            return true;
      }
      return false;
   }

   // ---- note ports ----
   virtual bool implementsNotePorts() const noexcept { return false; }
   virtual uint32_t notePortsCount(bool /*isInput*/) const noexcept { return 0; }
   virtual bool notePortsInfo(uint32_t /*index*/, bool /*isInput*/,
                              clap_note_port_info_t* /*info*/) const noexcept {
      return false;
   }

   // ---- timer support ----
   virtual bool implementsTimerSupport() const noexcept { return false; }
   virtual void onTimer(clap_id /*timerId*/) noexcept {}

   // ---- posix fd support ----
   virtual bool implementsPosixFdSupport() const noexcept { return false; }
   virtual void onPosixFd(int /*fd*/, clap_posix_fd_flags_t /*flags*/) noexcept {}

   // ---- gui ----
   virtual bool implementsGui() const noexcept { return false; }
   virtual bool guiIsApiSupported(const char* /*api*/, bool /*isFloating*/) noexcept { return false; }
   virtual bool guiGetPreferredApi(const char** /*api*/, bool* /*isFloating*/) noexcept { return false; }
   virtual bool guiCreate(const char* /*api*/, bool /*isFloating*/) noexcept { return false; }
   virtual void guiDestroy() noexcept {}
   virtual bool guiSetScale(double /*scale*/) noexcept { return false; }
   virtual bool guiGetSize(uint32_t* /*width*/, uint32_t* /*height*/) noexcept { return false; }
   virtual bool guiCanResize() const noexcept { return false; }
   virtual bool guiGetResizeHints(clap_gui_resize_hints_t* /*hints*/) noexcept { return false; }
   virtual bool guiAdjustSize(uint32_t* /*width*/, uint32_t* /*height*/) noexcept { return false; }
   virtual bool guiSetSize(uint32_t /*width*/, uint32_t /*height*/) noexcept { return false; }
   virtual bool guiSetParent(const clap_window_t* /*window*/) noexcept { return false; }
   virtual bool guiSetTransient(const clap_window_t* /*window*/) noexcept { return false; }
   virtual void guiSuggestTitle(const char* /*title*/) noexcept {}
   virtual bool guiShow() noexcept { return false; }
   virtual bool guiHide() noexcept { return false; }

   // ---- voice info ----
   virtual bool implementsVoiceInfo() const noexcept { return false; }
   virtual bool voiceInfoGet(clap_voice_info_t* /*info*/) noexcept { return false; }

   // ---- what the base keeps ----
   bool isActive() const noexcept { return _isActive.load(std::memory_order_relaxed); }
   bool isProcessing() const noexcept { return _isProcessing.load(std::memory_order_relaxed); }
   double sampleRate() const noexcept { return _sampleRate; }

   HostProxy<h, l> _host;

private:
   static Plugin& from(const clap_plugin_t* plugin) noexcept;

   // Rule checks; each reports the broken rule with the function's name and returns false.
   bool ensureInitialized(const char* function) const noexcept;
   bool ensureMainThread(const char* function) const noexcept;
   bool ensureAudioThread(const char* function) const noexcept;
   bool ensure(bool rule, const char* function, const char* what) const noexcept;
   bool ensureMainThreadCall(const char* function) const noexcept {
      return ensureInitialized(function) && ensureMainThread(function);
   }

   // core trampolines
   static bool clapInit(const clap_plugin_t* plugin) noexcept;
   static void clapDestroy(const clap_plugin_t* plugin) noexcept;
   static bool clapActivate(const clap_plugin_t* plugin, double sampleRate, uint32_t minFrameCount,
                            uint32_t maxFrameCount) noexcept;
   static void clapDeactivate(const clap_plugin_t* plugin) noexcept;
   static bool clapStartProcessing(const clap_plugin_t* plugin) noexcept;
   static void clapStopProcessing(const clap_plugin_t* plugin) noexcept;
   static void clapReset(const clap_plugin_t* plugin) noexcept;
   static clap_process_status clapProcess(const clap_plugin_t* plugin,
                                          const clap_process_t* process) noexcept;
   static const void* clapGetExtension(const clap_plugin_t* plugin, const char* id) noexcept;
   static void clapOnMainThread(const clap_plugin_t* plugin) noexcept;

   // extension trampolines
   static bool clapStateSave(const clap_plugin_t* plugin, const clap_ostream_t* stream) noexcept;
   static bool clapStateLoad(const clap_plugin_t* plugin, const clap_istream_t* stream) noexcept;
   static uint32_t clapAudioPortsCount(const clap_plugin_t* plugin, bool isInput) noexcept;
   static bool clapAudioPortsInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput,
                                  clap_audio_port_info_t* info) noexcept;
   static uint32_t clapParamsCount(const clap_plugin_t* plugin) noexcept;
   static bool clapParamsInfo(const clap_plugin_t* plugin, uint32_t paramIndex,
                              clap_param_info_t* info) noexcept;
   static bool clapParamsValue(const clap_plugin_t* plugin, clap_id paramId, double* value) noexcept;
   static bool clapParamsValueToText(const clap_plugin_t* plugin, clap_id paramId, double value,
                                     char* display, uint32_t size) noexcept;
   static bool clapParamsTextToValue(const clap_plugin_t* plugin, clap_id paramId, const char* display,
                                     double* value) noexcept;
   static void clapParamsFlush(const clap_plugin_t* plugin, const clap_input_events_t* in,
                               const clap_output_events_t* out) noexcept;
   static uint32_t clapNotePortsCount(const clap_plugin_t* plugin, bool isInput) noexcept;
   static bool clapNotePortsInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput,
                                 clap_note_port_info_t* info) noexcept;
   static void clapOnTimer(const clap_plugin_t* plugin, clap_id timerId) noexcept;
   static void clapOnPosixFd(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags) noexcept;
   static bool clapGuiIsApiSupported(const clap_plugin_t* plugin, const char* api, bool isFloating) noexcept;
   static bool clapGuiGetPreferredApi(const clap_plugin_t* plugin, const char** api,
                                      bool* isFloating) noexcept;
   static bool clapGuiCreate(const clap_plugin_t* plugin, const char* api, bool isFloating) noexcept;
   static void clapGuiDestroy(const clap_plugin_t* plugin) noexcept;
   static bool clapGuiSetScale(const clap_plugin_t* plugin, double scale) noexcept;
   static bool clapGuiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) noexcept;
   static bool clapGuiCanResize(const clap_plugin_t* plugin) noexcept;
   static bool clapGuiGetResizeHints(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints) noexcept;
   static bool clapGuiAdjustSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) noexcept;
   static bool clapGuiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height) noexcept;
   static bool clapGuiSetParent(const clap_plugin_t* plugin, const clap_window_t* window) noexcept;
   static bool clapGuiSetTransient(const clap_plugin_t* plugin, const clap_window_t* window) noexcept;
   static void clapGuiSuggestTitle(const clap_plugin_t* plugin, const char* title) noexcept;
   static bool clapGuiShow(const clap_plugin_t* plugin) noexcept;
   static bool clapGuiHide(const clap_plugin_t* plugin) noexcept;
   static bool clapVoiceInfoGet(const clap_plugin_t* plugin, clap_voice_info_t* info) noexcept;

   static const clap_plugin_state_t _pluginState;
   static const clap_plugin_audio_ports_t _pluginAudioPorts;
   static const clap_plugin_params_t _pluginParams;
   static const clap_plugin_note_ports_t _pluginNotePorts;
   static const clap_plugin_timer_support_t _pluginTimerSupport;
   static const clap_plugin_posix_fd_support_t _pluginPosixFdSupport;
   static const clap_plugin_gui_t _pluginGui;
   static const clap_plugin_voice_info_t _pluginVoiceInfo;

   clap_plugin_t _plugin;
   // Written by the host's calls, read from the other thread by the rule checks; the host orders its
   // own calls, so relaxed loads and stores suffice.
   std::atomic<bool> _wasInitialized{false};
   std::atomic<bool> _isActive{false};
   std::atomic<bool> _isProcessing{false};
   double _sampleRate = 0.0;
};

} // namespace clap::helpers

#include "plugin.hxx"
