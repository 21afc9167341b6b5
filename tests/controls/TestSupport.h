// What the control tests need of a host: a run loop polling descriptors and firing timers, a parent window
// on a connection of its own, pixels read back from the X server, real input through xdotool, and a frame
// to put the views under test in.
#pragma once

#include "vstgui/vstgui.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace ControlsTest {

using namespace VSTGUI;

// A poll loop like a host's: descriptors and timers registered by the toolkit.
class TestRunLoop : public X11::IRunLoop, public AtomicReferenceCounted {
public:
   bool registerEventHandler(int fd, X11::IEventHandler* handler) override;
   bool unregisterEventHandler(X11::IEventHandler* handler) override;
   bool registerTimer(uint64_t interval, X11::ITimerHandler* handler) override;
   bool unregisterTimer(X11::ITimerHandler* handler) override;

   // Runs the loop until condition holds (true) or the time is up (false).
   bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
   size_t timerCount() const { return timers.size(); }

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
   bool hasTimer(X11::ITimerHandler* handler) const;
   std::vector<Handler> handlers;
   std::vector<Timer> timers;
};

TestRunLoop& runLoop();
void pump(int milliseconds = 80);

// An RGB image read from the X server.
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

   void* handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }
   // The screen's pixels over rect, in window coordinates.
   Image capture(const CRect& rect) const;

private:
   xcb_connection_t* connection;
   xcb_screen_t* screen;
   xcb_window_t window;
   int left, top;
};

// Runs xdotool with the arguments while the run loop keeps turning; then lets the events arrive.
void xdotool(const std::vector<std::string>& arguments);

// Saves the image as name.png into the folder CONTROLS_TEST_SCREENSHOTS names, when it is set.
void keepScreenshot(const Image& image, const std::string& name);

// An editor interface and control listener that log what they hear.
class RecordingEditor : public VSTGUIEditorInterface, public IControlListener {
public:
   void beginEdit(int32_t index) override { log.push_back("begin " + std::to_string(index)); }
   void endEdit(int32_t index) override { log.push_back("end " + std::to_string(index)); }
   void valueChanged(CControl* control) override;
   std::vector<std::string> log;
};

// An open frame of the given size in a host window, on a plain background, with the recording editor.
class TestFrame {
public:
   TestFrame(int width, int height, const CColor& background = CColor(0, 0, 0, 255));
   ~TestFrame();
   TestFrame(const TestFrame&) = delete;
   TestFrame& operator=(const TestFrame&) = delete;

   // Adds the view to the frame (taking over the reference) and lets it draw.
   template <typename View> View* add(View* view) {
      frame->addView(view);
      pump();
      return view;
   }
   // The frame's pixels over rect (frame coordinates at zoom 1) after the pending drawing.
   Image capture(const CRect& rect);
   Image capture() { return capture(CRect(0, 0, width, height)); }
   // xdotool arguments that move the pointer to a point of the frame.
   std::vector<std::string> moveTo(double x, double y) const;
   void click(double x, double y, int button = 1, const std::string& modifier = "");

   RecordingEditor editor;
   CFrame* frame;
   HostWindow host;

private:
   int width, height;
   std::string window;
};

} // namespace ControlsTest
