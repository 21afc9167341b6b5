// What the X11 test suites need of a host: a run loop polling descriptors and firing timers, a parent
// window on a connection of its own, pixels read back from the X server, and real input (xdotool).
#pragma once

#include "vstgui/vstgui.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace X11Test {

using namespace VSTGUI;

// A poll loop like a host's: descriptors and timers registered by the toolkit, in registration order.
class TestRunLoop : public X11::IRunLoop, public AtomicReferenceCounted {
public:
   bool registerEventHandler(int fd, X11::IEventHandler* handler) override;
   bool unregisterEventHandler(X11::IEventHandler* handler) override;
   bool registerTimer(uint64_t interval, X11::ITimerHandler* handler) override;
   bool unregisterTimer(X11::ITimerHandler* handler) override;

   // Runs the loop for the given time.
   void pump(std::chrono::milliseconds duration);
   // Runs the loop until condition holds (true) or the time is up (false).
   bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

   size_t eventHandlerCount() const { return handlers.size(); }
   size_t timerCount() const { return timers.size(); }
   bool hasTimer(X11::ITimerHandler* handler) const;

private:
   struct Handler {
      int fd;
      X11::IEventHandler* handler;
   };
   struct Timer {
      uint64_t interval;
      X11::ITimerHandler* handler;
      std::chrono::steady_clock::time_point due;
   };
   bool registered(X11::IEventHandler* handler) const;
   std::vector<Handler> handlers;
   std::vector<Timer> timers;
};

// The run loop installed for the whole test program.
TestRunLoop& runLoop();
// Runs the installed loop for the given time.
void pumpFor(int milliseconds);

// An ARGB image read from the X server.
struct Image {
   int width = 0;
   int height = 0;
   std::vector<uint32_t> pixels;
   CColor at(int x, int y) const;
   void savePNG(const std::string& path) const;
   // Pixels in rect equal to color (alpha ignored).
   int count(const CRect& rect, const CColor& color) const;
   // Pixels in rect within tol of color on every channel: anti-aliased text hardly ever hits its colour.
   int countNear(const CRect& rect, const CColor& color, int tol = 70) const;
};

// Colours equal within tol on every channel (alpha ignored).
bool near(const CColor& a, const CColor& b, int tol = 2);
// The colour c drawn at alpha over black.
CColor over(const CColor& c, double alpha);

// A top-level window on a connection of its own, like the host's plug-in window.
class HostWindow {
public:
   HostWindow(int x, int y, int width, int height);
   ~HostWindow();
   HostWindow(const HostWindow&) = delete;
   HostWindow& operator=(const HostWindow&) = delete;

   xcb_window_t id() const { return window; }
   void* handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }
   int x() const { return left; }
   int y() const { return top; }
   void destroy();
   // The screen's pixels over the window (children included), or over rect in window coordinates.
   Image capture() const;
   Image capture(const CRect& rect) const;
   // The first child window, its property of the given name (format 32) and whether it is viewable.
   xcb_window_t firstChild() const;
   std::vector<uint32_t> property(xcb_window_t w, const char* name) const;
   bool isViewable(xcb_window_t w) const;
   bool windowExists(xcb_window_t w) const;
   // Top-level override-redirect windows that are mapped (the open pop-ups).
   std::vector<xcb_window_t> mappedPopups() const;
   CRect geometry(xcb_window_t w) const;
   Image captureRoot(const CRect& rect) const;

private:
   xcb_connection_t* connection;
   xcb_screen_t* screen;
   xcb_window_t window;
   int left, top, widthPx, heightPx;
};

// Runs xdotool with the arguments while the run loop keeps turning; then lets the events arrive.
void xdotool(const std::vector<std::string>& arguments);
// Moves the pointer to a point of a window (in its coordinates) and clicks, all through xdotool.
void clickAt(xcb_window_t window, int x, int y, int button = 1);

// Saves the image as name.png into the folder the environment variable names, when it is set.
void keepScreenshot(const Image& image, const std::string& name, const char* folderVariable);

} // namespace X11Test
