#pragma once
#include "checking-level.hh"
#include "misbehaviour-handler.hh"

#include <clap/clap.h>

#include <cstdio>
#include <exception>

namespace clap::helpers {

// The plug-in's view of its host: the host record plus the host extensions, looked up once in
// init() (the host's extensions may not be queried earlier). Every canUseX() is false until then
// and stays false for an extension the host lacks or offers incompletely; the call helpers then
// do nothing and report failure, so a host without extensions (a plug-in scanner) is served.
template <MisbehaviourHandler h, CheckingLevel l> class HostProxy {
public:
   explicit HostProxy(const clap_host_t* host) noexcept : _host(host) {}

   // Looks the host extensions up; called by the plug-in base at the start of the plug-in's init.
   void init() noexcept {
      getExtension(_hostLog, CLAP_EXT_LOG);
      getExtension(_hostThreadCheck, CLAP_EXT_THREAD_CHECK);
      getExtension(_hostParams, CLAP_EXT_PARAMS);
      getExtension(_hostState, CLAP_EXT_STATE);
      getExtension(_hostTimerSupport, CLAP_EXT_TIMER_SUPPORT);
      getExtension(_hostPosixFdSupport, CLAP_EXT_POSIX_FD_SUPPORT);
   }

   const clap_host_t* host() const noexcept { return _host; }

   // The raw extension records, null when the host does not offer them (for callers that must tell
   // "absent" from "incomplete").
   const clap_host_timer_support_t* hostTimerSupport() const noexcept { return _hostTimerSupport; }
   const clap_host_posix_fd_support_t* hostPosixFdSupport() const noexcept { return _hostPosixFdSupport; }

   // ---- core ----
   void requestCallback() const noexcept {
      if (_host->request_callback)
         _host->request_callback(_host);
   }
   void requestRestart() const noexcept {
      if (_host->request_restart)
         _host->request_restart(_host);
   }
   void requestProcess() const noexcept {
      if (_host->request_process)
         _host->request_process(_host);
   }

   // ---- log ----
   bool canUseHostLog() const noexcept { return _hostLog && _hostLog->log; }
   // Through the host's log; on standard error when the host has none.
   void log(clap_log_severity severity, const char* message) const noexcept {
      if (canUseHostLog()) {
         _hostLog->log(_host, severity, message);
         return;
      }
      std::fprintf(stderr, "%s\n", message);
      std::fflush(stderr);
   }
   // A broken calling rule: reported, and with MisbehaviourHandler::Terminate the process ends.
   void hostMisbehaving(const char* message) const noexcept {
      log(CLAP_LOG_HOST_MISBEHAVING, message);
      if constexpr (h == MisbehaviourHandler::Terminate)
         std::terminate();
   }
   void pluginMisbehaving(const char* message) const noexcept {
      log(CLAP_LOG_PLUGIN_MISBEHAVING, message);
      if constexpr (h == MisbehaviourHandler::Terminate)
         std::terminate();
   }

   // ---- thread check ----
   bool canUseThreadCheck() const noexcept {
      return _hostThreadCheck && _hostThreadCheck->is_main_thread && _hostThreadCheck->is_audio_thread;
   }
   // Without the thread-check extension nothing can be known: every thread passes.
   bool isMainThread() const noexcept {
      return !canUseThreadCheck() || _hostThreadCheck->is_main_thread(_host);
   }
   bool isAudioThread() const noexcept {
      return !canUseThreadCheck() || _hostThreadCheck->is_audio_thread(_host);
   }

   // ---- params ----
   bool canUseParams() const noexcept {
      return _hostParams && _hostParams->rescan && _hostParams->clear && _hostParams->request_flush;
   }
   bool paramsRescan(clap_param_rescan_flags flags) const noexcept {
      if (!canUseParams())
         return false;
      ensureMainThread("clap_host_params.rescan");
      _hostParams->rescan(_host, flags);
      return true;
   }
   bool paramsClear(clap_id paramId, clap_param_clear_flags flags) const noexcept {
      if (!canUseParams())
         return false;
      ensureMainThread("clap_host_params.clear");
      _hostParams->clear(_host, paramId, flags);
      return true;
   }
   // Any thread but the audio thread, which flushes through its own process call.
   bool paramsRequestFlush() const noexcept {
      if (!canUseParams())
         return false;
      if constexpr (l == CheckingLevel::Maximal)
         if (canUseThreadCheck() && _hostThreadCheck->is_audio_thread(_host))
            pluginMisbehaving("clap_host_params.request_flush() must not be called from the audio thread");
      _hostParams->request_flush(_host);
      return true;
   }

   // ---- state ----
   bool canUseState() const noexcept { return _hostState && _hostState->mark_dirty; }
   bool stateMarkDirty() const noexcept {
      if (!canUseState())
         return false;
      ensureMainThread("clap_host_state.mark_dirty");
      _hostState->mark_dirty(_host);
      return true;
   }

   // ---- timer support ----
   bool canUseTimerSupport() const noexcept {
      return _hostTimerSupport && _hostTimerSupport->register_timer && _hostTimerSupport->unregister_timer;
   }
   bool timerSupportRegister(uint32_t periodMs, clap_id* timerId) const noexcept {
      if (!canUseTimerSupport() || !timerId)
         return false;
      ensureMainThread("clap_host_timer_support.register_timer");
      return _hostTimerSupport->register_timer(_host, periodMs, timerId);
   }
   bool timerSupportUnregister(clap_id timerId) const noexcept {
      if (!canUseTimerSupport())
         return false;
      ensureMainThread("clap_host_timer_support.unregister_timer");
      return _hostTimerSupport->unregister_timer(_host, timerId);
   }

   // ---- posix fd support ----
   bool canUsePosixFdSupport() const noexcept {
      return _hostPosixFdSupport && _hostPosixFdSupport->register_fd && _hostPosixFdSupport->modify_fd &&
             _hostPosixFdSupport->unregister_fd;
   }
   bool posixFdSupportRegister(int fd, clap_posix_fd_flags_t flags) const noexcept {
      if (!canUsePosixFdSupport())
         return false;
      ensureMainThread("clap_host_posix_fd_support.register_fd");
      return _hostPosixFdSupport->register_fd(_host, fd, flags);
   }
   bool posixFdSupportModify(int fd, clap_posix_fd_flags_t flags) const noexcept {
      if (!canUsePosixFdSupport())
         return false;
      ensureMainThread("clap_host_posix_fd_support.modify_fd");
      return _hostPosixFdSupport->modify_fd(_host, fd, flags);
   }
   bool posixFdSupportUnregister(int fd) const noexcept {
      if (!canUsePosixFdSupport())
         return false;
      ensureMainThread("clap_host_posix_fd_support.unregister_fd");
      return _hostPosixFdSupport->unregister_fd(_host, fd);
   }

private:
   template <typename T> void getExtension(const T*& ext, const char* id) noexcept {
      ext = _host && _host->get_extension ? static_cast<const T*>(_host->get_extension(_host, id)) : nullptr;
   }

   // The plug-in calling a main-thread host function from another thread is the plug-in's fault.
   void ensureMainThread(const char* function) const noexcept {
      if constexpr (l == CheckingLevel::Maximal) {
         if (!isMainThread()) {
            char message[256];
            std::snprintf(message, sizeof(message), "%s() must be called from the main thread", function);
            pluginMisbehaving(message);
         }
      }
   }

   const clap_host_t* const _host;
   const clap_host_log_t* _hostLog = nullptr;
   const clap_host_thread_check_t* _hostThreadCheck = nullptr;
   const clap_host_params_t* _hostParams = nullptr;
   const clap_host_state_t* _hostState = nullptr;
   const clap_host_timer_support_t* _hostTimerSupport = nullptr;
   const clap_host_posix_fd_support_t* _hostPosixFdSupport = nullptr;
};

} // namespace clap::helpers
