// The toolkit's X11 run loop. The toolkit reads its X connection only when the installed run loop reports
// the connection's descriptor readable, and its timers tick only when the run loop fires them; the host
// supplies the run loop.
#pragma once

#include "../../vstguibase.h"

namespace VSTGUI::X11 {

class IEventHandler {
public:
   virtual void onEvent() = 0;

protected:
   ~IEventHandler() noexcept = default;
};

class ITimerHandler {
public:
   virtual void onTimer() = 0;

protected:
   ~ITimerHandler() noexcept = default;
};

class IRunLoop : virtual public IReference {
public:
   virtual bool registerEventHandler(int fd, IEventHandler* handler) = 0;
   virtual bool unregisterEventHandler(IEventHandler* handler) = 0;
   // interval in milliseconds
   virtual bool registerTimer(uint64_t interval, ITimerHandler* handler) = 0;
   virtual bool unregisterTimer(ITimerHandler* handler) = 0;
};

// Uses of the run loop are counted. The first init with a run loop installs it, opens the process's X
// connection and registers its descriptor; later inits (a null run loop is fine) only count. The last
// exit unregisters the descriptor, closes the connection and releases the run loop.
class RunLoop {
public:
   static void init(const SharedPointer<IRunLoop>& runLoop);
   static void exit();
   static const SharedPointer<IRunLoop> get();
};

} // namespace VSTGUI::X11
