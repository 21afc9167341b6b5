#pragma once
#include <clap/clap.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace host {

// Which host extensions this host offers; a plug-in scanner offers none of them.
struct HostOptions {
   bool params = true;
   bool state = true;
   bool log = true;
   bool threadCheck = true;
   bool timerSupport = true;
   bool posixFdSupport = true;
   // false: the extension is offered with a function missing (a broken host)
   bool timerSupportComplete = true;
   bool posixFdSupportComplete = true;
   bool gui = true;
   bool printLog = false; // echo plug-in log messages to standard error
};

// A CLAP host record with the extensions a DAW offers. The thread that constructs it is the main
// thread; threads run through AudioThread count as audio threads.
class Host {
public:
   explicit Host(HostOptions options = {});
   ~Host();
   Host(const Host&) = delete;
   Host& operator=(const Host&) = delete;

   const clap_host_t* clapHost() const { return &host_; }
   const HostOptions& options() const { return options_; }

   // The plug-in whose timers and descriptors this host drives (set by PluginInstance).
   void attach(const clap_plugin_t* plugin);

   // What the plug-in asked of the host.
   struct LogLine {
      clap_log_severity severity;
      std::string message;
   };
   std::vector<LogLine> logLines() const;
   int rescanCount(uint32_t flag) const;
   int flushRequests() const { return flushRequests_.load(); }
   int markDirtyCount() const { return markDirty_.load(); }
   int callbackRequests() const { return callbackRequests_.load(); }
   int restartRequests() const { return restartRequests_.load(); }
   struct ResizeRequest {
      uint32_t width, height;
   };
   std::vector<ResizeRequest> resizeRequests() const { return resizeRequests_; }

   struct Timer {
      clap_id id;
      uint32_t periodMs;
      std::chrono::steady_clock::time_point due;
   };
   const std::map<clap_id, Timer>& timers() const { return timers_; }
   const std::map<int, clap_posix_fd_flags_t>& fds() const { return fds_; }
   // Every register/unregister call the plug-in made, in order ("timer+ 3 33", "fd- 7", …).
   const std::vector<std::string>& registrationLog() const { return registrationLog_; }

   // One turn of the host's main-thread loop: waits up to timeoutMs for a watched descriptor or the
   // next timer, then calls the plug-in's on_fd / on_timer for what is ready.
   void runLoopOnce(int timeoutMs);
   // The same for several hosts (several instances in one DAW process).
   static void runLoops(const std::vector<Host*>& hosts, int timeoutMs);
   // Runs the loop for the given time.
   void runLoopFor(std::chrono::milliseconds duration);

   bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }
   static bool isAudioThread();

private:
   friend class AudioThread;
   static const void* getExtension(const clap_host_t* h, const char* id);
   static Host* self(const clap_host_t* h) { return static_cast<Host*>(h->host_data); }
   // The plug-in's callbacks, looked up once (as DAWs do) the first time the loop needs them.
   const clap_plugin_timer_support_t* pluginTimerSupport();
   const clap_plugin_posix_fd_support_t* pluginPosixFdSupport();

   HostOptions options_;
   clap_host_t host_{};
   const clap_plugin_t* plugin_ = nullptr;
   const clap_plugin_timer_support_t* pluginTimers_ = nullptr;
   const clap_plugin_posix_fd_support_t* pluginFds_ = nullptr;
   bool pluginTimersLookedUp_ = false, pluginFdsLookedUp_ = false;
   std::thread::id mainThread_;

   mutable std::mutex mutex_;
   std::vector<LogLine> log_;
   std::map<uint32_t, int> rescans_;
   std::atomic<int> flushRequests_{0}, markDirty_{0}, callbackRequests_{0}, restartRequests_{0};
   std::vector<ResizeRequest> resizeRequests_;

   std::map<clap_id, Timer> timers_;
   clap_id nextTimerId_ = 1;
   std::map<int, clap_posix_fd_flags_t> fds_;
   std::vector<std::string> registrationLog_;

   static const clap_host_params_t params_;
   static const clap_host_state_t state_;
   static const clap_host_log_t log_ext_;
   static const clap_host_thread_check_t threadCheck_;
   static const clap_host_timer_support_t timerSupport_;
   static const clap_host_timer_support_t partialTimerSupport_;
   static const clap_host_posix_fd_support_t posixFdSupport_;
   static const clap_host_posix_fd_support_t partialPosixFdSupport_;
   static const clap_host_gui_t gui_;
};

// A persistent thread that plays the host's audio-thread role: run() executes a function on it and
// waits for it to finish.
class AudioThread {
public:
   AudioThread();
   ~AudioThread();
   void run(const std::function<void()>& fn);
   // Marks the calling thread as an audio thread for the lifetime of the scope (for hosts that
   // process from threads of their own, e.g. several render threads).
   struct Scope {
      Scope();
      ~Scope();
   };

private:
   void loop();
   std::mutex mutex_;
   std::condition_variable cv_;
   std::function<void()> task_;
   bool hasTask_ = false, done_ = false, quit_ = false;
   // Last: the thread starts running loop() as soon as it exists, so everything it uses comes first.
   std::thread thread_;
};

} // namespace host
