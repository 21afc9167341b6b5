#include "Connection.h"

#include "vstgui/lib/platform/linux/x11platform.h"

namespace VSTGUI::X11 {

namespace {

IRunLoop* installedRunLoop = nullptr;
int useCount = 0;

} // namespace

void RunLoop::init(const SharedPointer<IRunLoop>& runLoop) {
   if (!installedRunLoop && runLoop) {
      installedRunLoop = runLoop.get();
      installedRunLoop->remember();
   }
   ++useCount;
   if (installedRunLoop && !Connection::get())
      Connection::open(installedRunLoop);
}

void RunLoop::exit() {
   if (useCount == 0 || --useCount > 0)
      return;
   Connection::close();
   if (auto* runLoop = installedRunLoop) {
      installedRunLoop = nullptr;
      runLoop->forget();
   }
}

const SharedPointer<IRunLoop> RunLoop::get() {
   return SharedPointer<IRunLoop>(installedRunLoop);
}

} // namespace VSTGUI::X11
