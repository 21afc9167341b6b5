#include "linux-vstgui-adapter.h"
#include "scorchwire-log.h"
#include "scorchwire.h"
#include "scorchwireeditor.h"

#include <dlfcn.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The editor's shape, for the host's size requests.
constexpr double kAspectRatio = 1.6194331983805668; // 800 / 494
constexpr uint32_t kLargestHeight = 600;

// The toolkit's descriptors are watched for read and error readiness. Not for write readiness: an X
// socket is writable nearly always, so the host would call back without pause.
constexpr clap_posix_fd_flags_t kWatchedFdFlags = CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR;

enum class BundleLookup { Found, NoPath, NotInBundle };

// The bundle's resource folder, from the path of the loaded object that holds this code: the object
// lies three folders below the bundle folder (bundle/Contents/x86_64-linux/Scorchwire.clap).
BundleLookup findBundleResources(std::string& resourcePath) {
   Dl_info info{};
   if (!::dladdr(reinterpret_cast<void*>(&findBundleResources), &info) || !info.dli_fname || !*info.dli_fname)
      return BundleLookup::NoPath;
   std::string folder = info.dli_fname;
   for (int i = 0; i < 3; ++i) {
      const size_t slash = folder.rfind('/');
      if (slash == std::string::npos)
         return BundleLookup::NotInBundle;
      folder.erase(slash);
   }
   // A folder that cannot be resolved (gone, or the file system's root) is used as it is.
   char resolved[PATH_MAX];
   if (::realpath(folder.c_str(), resolved))
      folder = resolved;
   resourcePath = folder + "/Contents/Resources/";
   return BundleLookup::Found;
}

// Rounded to the nearest integer, halves away from zero.
int64_t nearest(double value) {
   return static_cast<int64_t>(std::round(value));
}

} // namespace

// ---- timer support ----

bool Scorchwire::implementsTimerSupport() const noexcept {
   SCORCHWIRE_LOG();
   return true;
}

void Scorchwire::onTimer(clap_id timerId) noexcept {
   try {
      if (ClapRunLoop* runLoop = sharedClapRunLoop())
         runLoop->onTimer(timerId);
   } catch (...) {
      // Only memory exhaustion throws in the toolkit; the tick is lost, the host survives.
   }
}

bool Scorchwire::registerTimer(uint32_t periodMs, clap_id& timerId) noexcept {
   return _host.timerSupportRegister(periodMs, &timerId);
}

bool Scorchwire::unregisterTimer(clap_id timerId) noexcept {
   return _host.timerSupportUnregister(timerId);
}

// ---- posix fd support ----

bool Scorchwire::implementsPosixFdSupport() const noexcept {
   SCORCHWIRE_LOG();
   return true;
}

void Scorchwire::onPosixFd(int fd, clap_posix_fd_flags_t) noexcept {
   try {
      if (ClapRunLoop* runLoop = sharedClapRunLoop())
         runLoop->onPosixFd(fd);
   } catch (...) {
      // As for timers: the events stay queued for the next call.
   }
}

bool Scorchwire::registerPosixFd(int fd) noexcept {
   return _host.posixFdSupportRegister(fd, kWatchedFdFlags);
}

bool Scorchwire::unregisterPosixFD(int fd) noexcept {
   return _host.posixFdSupportUnregister(fd);
}

// ---- gui ----

ScorchwireEditor* Scorchwire::guiEditor() const noexcept {
   return dynamic_cast<ScorchwireEditor*>(editor.load(std::memory_order_relaxed));
}

// The toolkit lives on the host's timers and descriptors: without both extensions no window is
// offered. An incomplete extension is the host's fault and is reported to it; the host keeps running.
// Whether the host can carry the toolkit's timers and X descriptor. A host offering either
// extension without all of its functions is told so (when report is set).
Scorchwire::HostRunLoop Scorchwire::hostRunLoop(bool report) noexcept {
   const clap_host_timer_support_t* timers = _host.hostTimerSupport();
   if (timers && (!timers->register_timer || !timers->unregister_timer)) {
      if (report)
         _host.log(CLAP_LOG_HOST_MISBEHAVING, "clap_timer_support is partially implemented");
      return HostRunLoop::Partial;
   }
   const clap_host_posix_fd_support_t* fds = _host.hostPosixFdSupport();
   if (fds && (!fds->modify_fd || !fds->register_fd || !fds->unregister_fd)) {
      if (report)
         _host.log(CLAP_LOG_HOST_MISBEHAVING, "clap_posix_fd_support is partially implemented");
      return HostRunLoop::Partial;
   }
   return timers && fds ? HostRunLoop::Complete : HostRunLoop::Missing;
}

// A host with neither a broken timer nor a broken descriptor extension is told that embedded X11 is
// supported. Plug-in scanners (Qtractor's among them) probe with no host extensions at all and
// record the answer for the instances they create later with both; refusing there would hide the
// editor from their users. The editor itself needs both: guiCreate refuses without them.
bool Scorchwire::guiIsApiSupported(const char* api, bool isFloating) noexcept {
   if (isFloating || !api)
      return false;
   if (hostRunLoop(true) == HostRunLoop::Partial)
      return false;
   return std::strcmp(api, CLAP_WINDOW_API_X11) == 0;
}

bool Scorchwire::guiCreate(const char*, bool) noexcept {
   SCORCHWIRE_LOG();
   if (hostRunLoop(false) != HostRunLoop::Complete)
      return false; // nothing could deliver the editor's timers and X events
   try {
      // A second create replaces the editor; the instance stays enrolled once.
      if (editor.load(std::memory_order_relaxed))
         detachEditor();
      addLinuxVSTGUIPlugin(this);

      std::string resourcePath;
      switch (findBundleResources(resourcePath)) {
      case BundleLookup::NotInBundle:
         std::fputs("Could not determine bundle location.\n", stderr);
         // No editor will close for this instance, so it must not stay enrolled.
         removeLinuxVSTGUIPlugin(this);
         return false;
      case BundleLookup::Found:
         VSTGUI::getPlatformFactory().asLinuxFactory()->setResourcePath(resourcePath);
         break;
      case BundleLookup::NoPath:
         break;
      }

      auto created = std::make_unique<ScorchwireEditor>(editorLink());
      ScorchwireEditor& newEditor = *created;
      attachEditor(std::move(created));
      newEditor.setWrapper(std::make_unique<PluginWrapper>(this));
      return true;
   } catch (...) {
      removeLinuxVSTGUIPlugin(this);
      return false;
   }
}

void Scorchwire::guiDestroy() noexcept {
   SCORCHWIRE_LOG();
   detachEditor();
}

bool Scorchwire::guiSetScale(double scale) noexcept {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(scale));
   ScorchwireEditor* openEditor = guiEditor();
   if (!openEditor)
      return false;
   openEditor->setUIScale(scale);
   return true;
}

bool Scorchwire::guiGetSize(uint32_t* width, uint32_t* height) noexcept {
   ScorchwireEditor* openEditor = guiEditor();
   if (!openEditor)
      return false;
   *width = openEditor->scaledWidth();
   *height = openEditor->scaledHeight();
   openEditor->resize();
   return true;
}

// Keeps the editor's aspect ratio: the width leads unless the request is at least twice as wide as
// high. Within a pixel of the ratio the request stands; nothing grows beyond the largest height.
bool Scorchwire::guiAdjustSize(uint32_t* width, uint32_t* height) noexcept {
   const uint32_t w = *width;
   const uint32_t h = *height;
   if (h == 0) {
      *width = ScorchwireEditor::kBaseWidth;
      *height = ScorchwireEditor::kBaseHeight;
      return true;
   }
   int64_t newWidth = w;
   int64_t newHeight = h;
   if (w / h < 2)
      newHeight = nearest(w / kAspectRatio);
   else
      newWidth = nearest(h * kAspectRatio);
   if (std::llabs(newWidth - w) <= 1 && std::llabs(newHeight - h) <= 1) {
      newWidth = w;
      newHeight = h;
   }
   if (newHeight > kLargestHeight) {
      newHeight = kLargestHeight;
      newWidth = nearest(kLargestHeight * kAspectRatio);
   }
   *width = static_cast<uint32_t>(newWidth);
   *height = static_cast<uint32_t>(newHeight);
   return true;
}

bool Scorchwire::guiSetSize(uint32_t width, uint32_t height) noexcept {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(width), SCORCHWIRE_VALUE(height));
   ScorchwireEditor* openEditor = guiEditor();
   if (!openEditor)
      return false;
   try {
      openEditor->setSize(width, height);
   } catch (...) {
      return false;
   }
   return true;
}

bool Scorchwire::guiSetParent(const clap_window_t* window) noexcept {
   ScorchwireEditor* openEditor = guiEditor();
   if (!openEditor)
      return false;
   try {
      if (!openEditor->open(reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11))))
         return false;
   } catch (...) {
      return false;
   }
   postValuesToOpenedEditor();
   return true;
}

// While the host processes, the audio thread's next drain posts every value (one producer per
// queue); otherwise the main thread's own echo queue carries them to the first idle tick.
void Scorchwire::postValuesToOpenedEditor() noexcept {
   if (dataCopyForUI.isProcessing.load()) {
      refreshUIRequested.store(true);
      return;
   }
   for (int32_t id = 0; id < ParamList::kNumParams; ++id)
      mainThreadEchoQueue.try_enqueue(ToUI{ToUI::ValueEcho, static_cast<uint32_t>(id), getParameter(id)});
}
