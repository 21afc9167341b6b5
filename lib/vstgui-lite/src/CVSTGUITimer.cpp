#include "vstgui/lib/cvstguitimer.h"

#include "x11/Connection.h"

#include "vstgui/lib/platform/linux/x11platform.h"

namespace VSTGUI {

struct CVSTGUITimer::Handler final : X11::ITimerHandler {
   explicit Handler(CVSTGUITimer* timer) : timer(timer) {}
   void onTimer() override { timer->fire(); }

   CVSTGUITimer* timer;
   // The run loop the timer is registered with, so that it is unregistered there.
   SharedPointer<X11::IRunLoop> runLoop;
};

CVSTGUITimer::CVSTGUITimer(CBaseObject* timerObject, uint32_t fireTime, bool doStart)
    : fireTime(fireTime), timerObject(timerObject), handler(std::make_unique<Handler>(this)) {
   if (doStart)
      start();
}

CVSTGUITimer::CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime, bool doStart)
    : fireTime(fireTime), callback(callback), handler(std::make_unique<Handler>(this)) {
   if (doStart)
      start();
}

CVSTGUITimer::CVSTGUITimer(CallbackFunc&& callback, uint32_t fireTime, bool doStart)
    : fireTime(fireTime), callback(std::move(callback)), handler(std::make_unique<Handler>(this)) {
   if (doStart)
      start();
}

CVSTGUITimer::~CVSTGUITimer() noexcept {
   stop();
}

bool CVSTGUITimer::start() {
   if (running)
      return true;
   auto runLoop = X11::RunLoop::get();
   if (!runLoop)
      return false;
   // A run loop may keep a refused timer to register it later, so the timer counts as running either way
   // and is always unregistered by stop().
   handler->runLoop = runLoop;
   running = true;
   return runLoop->registerTimer(fireTime, handler.get());
}

bool CVSTGUITimer::stop() {
   if (!running)
      return true;
   running = false;
   auto runLoop = std::move(handler->runLoop);
   handler->runLoop = nullptr;
   return runLoop->unregisterTimer(handler.get());
}

bool CVSTGUITimer::setFireTime(uint32_t newFireTime) {
   fireTime = newFireTime;
   if (running) {
      stop();
      start();
   }
   return true;
}

void CVSTGUITimer::fire() {
   SharedPointer<CVSTGUITimer> guard(this);
   X11::Connection::DispatchScope scope;
   if (callback)
      callback(this);
   else if (timerObject)
      timerObject->notify(this, kMsgTimer);
}

} // namespace VSTGUI
