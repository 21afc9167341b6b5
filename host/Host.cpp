#include "Host.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>

namespace host {

namespace {
thread_local bool tlsAudioThread = false;
}

const clap_host_params_t Host::params_ = {
    [](const clap_host_t* h, clap_param_rescan_flags flags) {
       auto* self = Host::self(h);
       std::lock_guard lock(self->mutex_);
       for (uint32_t bit = 1; bit != 0 && bit <= flags; bit <<= 1)
          if (flags & bit)
             self->rescans_[bit]++;
    },
    [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
    [](const clap_host_t* h) { Host::self(h)->flushRequests_++; },
};

const clap_host_state_t Host::state_ = {
    [](const clap_host_t* h) { Host::self(h)->markDirty_++; },
};

const clap_host_log_t Host::log_ext_ = {
    [](const clap_host_t* h, clap_log_severity severity, const char* msg) {
       auto* self = Host::self(h);
       if (self->options_.printLog)
          std::fprintf(stderr, "[plug-in log %d] %s\n", severity, msg ? msg : "(null)");
       std::lock_guard lock(self->mutex_);
       self->log_.push_back({severity, msg ? msg : ""});
    },
};

const clap_host_thread_check_t Host::threadCheck_ = {
    [](const clap_host_t* h) { return Host::self(h)->isMainThread(); },
    [](const clap_host_t*) { return Host::isAudioThread(); },
};

const clap_host_timer_support_t Host::timerSupport_ = {
    [](const clap_host_t* h, uint32_t periodMs, clap_id* id) {
       auto* self = Host::self(h);
       if (!id || !self->isMainThread())
          return false;
       *id = self->nextTimerId_++;
       const auto period = std::max<uint32_t>(periodMs, 1);
       self->timers_[*id] = {*id, period,
                             std::chrono::steady_clock::now() + std::chrono::milliseconds(period)};
       self->registrationLog_.push_back("timer+ " + std::to_string(*id) + " " + std::to_string(periodMs));
       return true;
    },
    [](const clap_host_t* h, clap_id id) {
       auto* self = Host::self(h);
       self->registrationLog_.push_back("timer- " + std::to_string(id));
       return self->timers_.erase(id) == 1;
    },
};

const clap_host_posix_fd_support_t Host::posixFdSupport_ = {
    [](const clap_host_t* h, int fd, clap_posix_fd_flags_t flags) {
       auto* self = Host::self(h);
       if (fd < 0 || self->fds_.count(fd))
          return false;
       self->fds_[fd] = flags;
       self->registrationLog_.push_back("fd+ " + std::to_string(fd));
       return true;
    },
    [](const clap_host_t* h, int fd, clap_posix_fd_flags_t flags) {
       auto* self = Host::self(h);
       auto it = self->fds_.find(fd);
       if (it == self->fds_.end())
          return false;
       it->second = flags;
       return true;
    },
    [](const clap_host_t* h, int fd) {
       auto* self = Host::self(h);
       self->registrationLog_.push_back("fd- " + std::to_string(fd));
       return self->fds_.erase(fd) == 1;
    },
};

// Without unregister_timer and modify_fd respectively.
const clap_host_timer_support_t Host::partialTimerSupport_ = {Host::timerSupport_.register_timer, nullptr};
const clap_host_posix_fd_support_t Host::partialPosixFdSupport_ = {Host::posixFdSupport_.register_fd, nullptr,
                                                                   Host::posixFdSupport_.unregister_fd};

const clap_host_gui_t Host::gui_ = {
    [](const clap_host_t*) {},
    [](const clap_host_t* h, uint32_t w, uint32_t hgt) {
       auto* self = Host::self(h);
       std::lock_guard lock(self->mutex_);
       self->resizeRequests_.push_back({w, hgt});
       return true;
    },
    [](const clap_host_t*) { return true; },
    [](const clap_host_t*) { return true; },
    [](const clap_host_t*, bool) {},
};

Host::Host(HostOptions options) : options_(options), mainThread_(std::this_thread::get_id()) {
   host_.clap_version = CLAP_VERSION_INIT;
   host_.host_data = this;
   host_.name = "claphost";
   host_.vendor = "Scorchwire";
   host_.url = "";
   host_.version = "1.0.0";
   host_.get_extension = &Host::getExtension;
   host_.request_restart = [](const clap_host_t* h) { Host::self(h)->restartRequests_++; };
   host_.request_process = [](const clap_host_t*) {};
   host_.request_callback = [](const clap_host_t* h) { Host::self(h)->callbackRequests_++; };
}

Host::~Host() = default;

const void* Host::getExtension(const clap_host_t* h, const char* id) {
   if (!id)
      return nullptr;
   const auto& o = self(h)->options_;
   const std::string_view ext(id);
   if (ext == CLAP_EXT_PARAMS && o.params)
      return &params_;
   if (ext == CLAP_EXT_STATE && o.state)
      return &state_;
   if (ext == CLAP_EXT_LOG && o.log)
      return &log_ext_;
   if (ext == CLAP_EXT_THREAD_CHECK && o.threadCheck)
      return &threadCheck_;
   if (ext == CLAP_EXT_TIMER_SUPPORT && o.timerSupport)
      return o.timerSupportComplete ? &timerSupport_ : &partialTimerSupport_;
   if (ext == CLAP_EXT_POSIX_FD_SUPPORT && o.posixFdSupport)
      return o.posixFdSupportComplete ? &posixFdSupport_ : &partialPosixFdSupport_;
   if (ext == CLAP_EXT_GUI && o.gui)
      return &gui_;
   return nullptr;
}

void Host::attach(const clap_plugin_t* plugin) {
   plugin_ = plugin;
   pluginTimers_ = nullptr;
   pluginFds_ = nullptr;
   pluginTimersLookedUp_ = pluginFdsLookedUp_ = false;
}

const clap_plugin_timer_support_t* Host::pluginTimerSupport() {
   if (!pluginTimersLookedUp_ && plugin_) {
      pluginTimers_ = static_cast<const clap_plugin_timer_support_t*>(
          plugin_->get_extension(plugin_, CLAP_EXT_TIMER_SUPPORT));
      pluginTimersLookedUp_ = true;
   }
   return pluginTimers_;
}

const clap_plugin_posix_fd_support_t* Host::pluginPosixFdSupport() {
   if (!pluginFdsLookedUp_ && plugin_) {
      pluginFds_ = static_cast<const clap_plugin_posix_fd_support_t*>(
          plugin_->get_extension(plugin_, CLAP_EXT_POSIX_FD_SUPPORT));
      pluginFdsLookedUp_ = true;
   }
   return pluginFds_;
}

std::vector<Host::LogLine> Host::logLines() const {
   std::lock_guard lock(mutex_);
   return log_;
}

int Host::rescanCount(uint32_t flag) const {
   std::lock_guard lock(mutex_);
   auto it = rescans_.find(flag);
   return it == rescans_.end() ? 0 : it->second;
}

bool Host::isAudioThread() {
   return tlsAudioThread;
}

void Host::runLoopOnce(int timeoutMs) {
   runLoops({this}, timeoutMs);
}

void Host::runLoops(const std::vector<Host*>& hosts, int timeoutMs) {
   using clock = std::chrono::steady_clock;
   const auto now = clock::now();
   std::vector<pollfd> pfds;
   std::vector<Host*> owners;
   for (Host* h : hosts) {
      // Rounded up: a timer due in less than a millisecond is waited for, not spun on.
      for (const auto& [id, t] : h->timers_) {
         const auto wait = std::chrono::ceil<std::chrono::milliseconds>(t.due - now).count();
         timeoutMs = std::max(0, std::min<int>(timeoutMs, static_cast<int>(wait)));
      }
      for (const auto& [fd, flags] : h->fds_) {
         short events = 0;
         if (flags & CLAP_POSIX_FD_READ)
            events |= POLLIN;
         if (flags & CLAP_POSIX_FD_WRITE)
            events |= POLLOUT;
         pfds.push_back({fd, events, 0});
         owners.push_back(h);
      }
   }
   ::poll(pfds.data(), pfds.size(), timeoutMs);

   for (size_t i = 0; i < pfds.size(); ++i) {
      Host* h = owners[i];
      const auto& p = pfds[i];
      if (!p.revents || !h->fds_.count(p.fd)) // an earlier callback may have unregistered it
         continue;
      auto* fdExt = h->pluginPosixFdSupport();
      if (!fdExt)
         continue;
      clap_posix_fd_flags_t flags = 0;
      if (p.revents & POLLIN)
         flags |= CLAP_POSIX_FD_READ;
      if (p.revents & POLLOUT)
         flags |= CLAP_POSIX_FD_WRITE;
      if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
         flags |= CLAP_POSIX_FD_ERROR;
      fdExt->on_fd(h->plugin_, p.fd, flags);
   }

   for (Host* h : hosts) {
      std::vector<clap_id> due;
      for (auto& [id, t] : h->timers_) {
         if (clock::now() >= t.due) {
            due.push_back(id);
            t.due += std::chrono::milliseconds(t.periodMs);
            if (t.due < clock::now())
               t.due = clock::now() + std::chrono::milliseconds(t.periodMs);
         }
      }
      if (due.empty())
         continue;
      auto* timerExt = h->pluginTimerSupport();
      for (clap_id id : due)
         if (timerExt && h->timers_.count(id)) // an earlier callback may have unregistered it
            timerExt->on_timer(h->plugin_, id);
   }
}

void Host::runLoopFor(std::chrono::milliseconds duration) {
   const auto end = std::chrono::steady_clock::now() + duration;
   while (std::chrono::steady_clock::now() < end) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      runLoopOnce(static_cast<int>(std::max<int64_t>(0, left.count())));
   }
}

AudioThread::AudioThread() : thread_([this] { loop(); }) {}

AudioThread::~AudioThread() {
   {
      std::lock_guard lock(mutex_);
      quit_ = true;
   }
   cv_.notify_all();
   thread_.join();
}

void AudioThread::run(const std::function<void()>& fn) {
   std::unique_lock lock(mutex_);
   task_ = fn;
   hasTask_ = true;
   done_ = false;
   cv_.notify_all();
   cv_.wait(lock, [this] { return done_; });
}

void AudioThread::loop() {
   tlsAudioThread = true;
   std::unique_lock lock(mutex_);
   for (;;) {
      cv_.wait(lock, [this] { return hasTask_ || quit_; });
      if (hasTask_) {
         auto task = std::move(task_);
         hasTask_ = false;
         lock.unlock();
         task();
         lock.lock();
         done_ = true;
         cv_.notify_all();
      } else if (quit_) {
         return;
      }
   }
}

AudioThread::Scope::Scope() {
   tlsAudioThread = true;
}
AudioThread::Scope::~Scope() {
   tlsAudioThread = false;
}

} // namespace host
