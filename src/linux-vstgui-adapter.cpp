#include "linux-vstgui-adapter.h"

#include "scorchwire-log.h"
#include "scorchwire.h"

#include "vstgui/lib/vstguiinit.h"

#include <algorithm>

namespace {

// Set once the toolkit and the shared run loop exist; they live as long as the loaded object (see
// releaseToolkitOnUnload).
bool vstguiInitialized = false;

} // namespace

ClapRunLoop::ClapRunLoop(Scorchwire* instance) {
   SCORCHWIRE_LOG("Creating ClapRunLoop");
   addPlugin(instance);
}

ClapRunLoop::~ClapRunLoop() {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(registeredTimers.size()),
                  SCORCHWIRE_VALUE(registeredEventHandlers.size()));
}

void ClapRunLoop::addPlugin(Scorchwire* p) {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(p));
   if (!primaryPlugin)
      setAsPrimaryPlugin(p);
   plugins.insert(p);
}

void ClapRunLoop::setAsPrimaryPlugin(Scorchwire* instance) {
   primaryPlugin = instance;
   SCORCHWIRE_LOG("Setting new primary plugin ", SCORCHWIRE_VALUE(primaryPlugin));
   for (const auto& [fd, handler] : registeredEventHandlers) {
      SCORCHWIRE_LOG("    Re-registering FD   : ", SCORCHWIRE_VALUE(fd));
      primaryPlugin->registerPosixFd(fd);
   }
   for (const auto& [interval, handler] : registeredTimers) {
      clap_id id = CLAP_INVALID_ID;
      const bool accepted = primaryPlugin->registerTimer(static_cast<uint32_t>(interval), id);
      SCORCHWIRE_LOG("    Re-registering Timer : ", SCORCHWIRE_VALUE(handler), SCORCHWIRE_VALUE(interval),
                     " at ", SCORCHWIRE_VALUE(id));
      if (accepted)
         clapTimerIdToHandlerMap[id] = handler;
   }
}

void ClapRunLoop::removePlugin(Scorchwire* p) {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(p));
   if (p != primaryPlugin) {
      plugins.erase(p);
      return;
   }
   SCORCHWIRE_LOG("Primary Plugin being removed. Switching.");
   for (const auto& [fd, handler] : registeredEventHandlers) {
      SCORCHWIRE_LOG("    Event Unregister: ", SCORCHWIRE_VALUE(fd));
      p->unregisterPosixFD(fd);
   }
   for (const auto& [id, handler] : clapTimerIdToHandlerMap) {
      SCORCHWIRE_LOG("    Timer Unregister: ", SCORCHWIRE_VALUE(id));
      p->unregisterTimer(id);
   }
   clapTimerIdToHandlerMap.clear();
   plugins.erase(p);
   if (plugins.empty()) {
      primaryPlugin = nullptr;
      return;
   }
   SCORCHWIRE_LOG("    Moving handlers to new plugin");
   setAsPrimaryPlugin(*plugins.begin());
}

bool ClapRunLoop::registerEventHandler(int fd, VSTGUI::X11::IEventHandler* handler) {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(fd), SCORCHWIRE_VALUE(handler));
   registeredEventHandlers.emplace_back(fd, handler);
   return primaryPlugin ? primaryPlugin->registerPosixFd(fd) : true;
}

bool ClapRunLoop::unregisterEventHandler(VSTGUI::X11::IEventHandler* handler) {
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(handler));
   const auto found = std::find_if(registeredEventHandlers.begin(), registeredEventHandlers.end(),
                                   [handler](const auto& entry) { return entry.second == handler; });
   if (found == registeredEventHandlers.end())
      return false;
   const int fd = found->first;
   SCORCHWIRE_LOG("Found an event handler to erase ", SCORCHWIRE_VALUE(fd));
   registeredEventHandlers.erase(found);
   return primaryPlugin ? primaryPlugin->unregisterPosixFD(fd) : true;
}

bool ClapRunLoop::registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler) {
   SCORCHWIRE_LOG("registerTimer", SCORCHWIRE_VALUE(handler));
   registeredTimers.emplace_back(interval, handler);
   if (!primaryPlugin) {
      SCORCHWIRE_LOG("Timer registered without primary plugin");
      return true;
   }
   clap_id id = CLAP_INVALID_ID;
   const bool accepted = primaryPlugin->registerTimer(static_cast<uint32_t>(interval), id);
   if (accepted)
      clapTimerIdToHandlerMap[id] = handler;
   SCORCHWIRE_LOG(SCORCHWIRE_VALUE(interval), SCORCHWIRE_VALUE(handler), " as ", std::to_string(id));
   return accepted;
}

bool ClapRunLoop::unregisterTimer(VSTGUI::X11::ITimerHandler* handler) {
   SCORCHWIRE_LOG("unregisterTimer", SCORCHWIRE_VALUE(handler));
   const auto registered = std::find_if(registeredTimers.begin(), registeredTimers.end(),
                                        [handler](const auto& entry) { return entry.second == handler; });
   if (registered != registeredTimers.end())
      registeredTimers.erase(registered);

   const auto mapped = std::find_if(clapTimerIdToHandlerMap.begin(), clapTimerIdToHandlerMap.end(),
                                    [handler](const auto& entry) { return entry.second == handler; });
   if (mapped == clapTimerIdToHandlerMap.end()) {
      SCORCHWIRE_LOG("Found no timer for ", SCORCHWIRE_VALUE(handler), ". ",
                     SCORCHWIRE_VALUE(clapTimerIdToHandlerMap.size()),
                     SCORCHWIRE_VALUE(registeredTimers.size()));
      return true;
   }
   const clap_id id = mapped->first;
   SCORCHWIRE_LOG("Found a timer handler to erase ", std::to_string(id));
   clapTimerIdToHandlerMap.erase(mapped);
   return primaryPlugin->unregisterTimer(id);
}

void ClapRunLoop::onTimer(clap_id timerId) {
   const auto found = clapTimerIdToHandlerMap.find(timerId);
   if (found != clapTimerIdToHandlerMap.end())
      found->second->onTimer();
}

// A handler may register or unregister descriptors while it runs (a file dialog opened by a click
// registers its pipe), so the list is walked as it was when the host called.
void ClapRunLoop::onPosixFd(int fd) {
   const auto handlers = registeredEventHandlers;
   for (const auto& [handlerFd, handler] : handlers) {
      if (handlerFd != fd)
         continue;
      const bool stillRegistered =
          std::any_of(registeredEventHandlers.begin(), registeredEventHandlers.end(),
                      [handler = handler](const auto& e) { return e.second == handler; });
      if (stillRegistered)
         handler->onEvent();
   }
}

ClapRunLoop* sharedClapRunLoop() {
   return dynamic_cast<ClapRunLoop*>(VSTGUI::X11::RunLoop::get().get());
}

void addLinuxVSTGUIPlugin(Scorchwire* instance) {
   if (!vstguiInitialized) {
      SCORCHWIRE_LOG("Creating VSTGUI RunLoop");
      VSTGUI::init(nullptr);
      VSTGUI::X11::RunLoop::init(VSTGUI::owned<VSTGUI::X11::IRunLoop>(new ClapRunLoop(instance)));
      // One use more than the editors take: the run loop and the X connection outlive the last
      // editor window.
      VSTGUI::X11::RunLoop::init(nullptr);
      vstguiInitialized = true;
      SCORCHWIRE_LOG_AS("initializationOver");
      return;
   }
   if (!VSTGUI::X11::RunLoop::get()) {
      VSTGUI::X11::RunLoop::init(VSTGUI::owned<VSTGUI::X11::IRunLoop>(new ClapRunLoop(instance)));
      if (!VSTGUI::X11::RunLoop::get())
         return;
   }
   if (ClapRunLoop* runLoop = sharedClapRunLoop())
      runLoop->addPlugin(instance);
}

void removeLinuxVSTGUIPlugin(Scorchwire* instance) {
   if (ClapRunLoop* runLoop = sharedClapRunLoop())
      runLoop->removePlugin(instance);
}

// Once the host unloads the plug-in nothing can reach the toolkit any more: its X connection, run loop
// and fonts are released with the two uses taken at set-up, so that the host process keeps no
// connection or descriptor of ours. Left alone while an editor is still open.
__attribute__((destructor)) static void releaseToolkitOnUnload() {
   if (!vstguiInitialized)
      return;
   if (ClapRunLoop* runLoop = sharedClapRunLoop(); runLoop && runLoop->hasPlugins())
      return;
   VSTGUI::X11::RunLoop::exit();
   VSTGUI::X11::RunLoop::exit();
   VSTGUI::exit();
}
