// A repeating timer carried by the installed X11 run loop (VSTGUI::X11::RunLoop): no thread, no sleep.
#pragma once

#include "vstguibase.h"

#include <functional>
#include <memory>

namespace VSTGUI {

class CVSTGUITimer : public CBaseObject {
public:
   using CallbackFunc = std::function<void(CVSTGUITimer*)>;

   // Sends timerObject the message kMsgTimer on every tick.
   CVSTGUITimer(CBaseObject* timerObject, uint32_t fireTime = 100, bool doStart = false);
   CVSTGUITimer(const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
   CVSTGUITimer(CallbackFunc&& callback, uint32_t fireTime = 100, bool doStart = true);
   ~CVSTGUITimer() noexcept override;

   // Registers with the run loop; false without a run loop or when the run loop refuses.
   virtual bool start();
   virtual bool stop();
   // Sets the interval in milliseconds (restarting a running timer).
   bool setFireTime(uint32_t newFireTime);
   uint32_t getFireTime() const { return fireTime; }
   bool isRunning() const { return running; }

   static constexpr char kMsgTimer[] = "timer";

private:
   struct Handler;
   void fire();

   uint32_t fireTime;
   CBaseObject* timerObject = nullptr;
   CallbackFunc callback;
   std::unique_ptr<Handler> handler;
   bool running = false;
};

} // namespace VSTGUI
