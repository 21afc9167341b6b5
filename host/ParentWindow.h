#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace host {

// A top-level X11 window that plays the host's plug-in window: the editor is embedded into it
// through gui.set_parent. It has an X connection of its own, as a DAW's would be.
class ParentWindow {
public:
   // Opens the display named by DISPLAY; ok() is false when there is none. x and y place the window
   // on the screen (windows of several instances side by side can all be captured).
   ParentWindow(uint32_t width, uint32_t height, const std::string& title = "claphost", int16_t x = 0,
                int16_t y = 0);
   ~ParentWindow();
   ParentWindow(const ParentWindow&) = delete;
   ParentWindow& operator=(const ParentWindow&) = delete;

   bool ok() const { return window_ != 0; }
   uint64_t id() const { return window_; }
   void resize(uint32_t width, uint32_t height);
   uint32_t width() const { return width_; }
   uint32_t height() const { return height_; }
   // Handles pending events of the host's own connection; false once the user closed the window.
   bool pump();
   // Destroys the X window now (a host that drops its window before gui.destroy).
   void destroyWindow();

   // The window's pixels including the embedded editor, as 0xRRGGBB values row by row.
   bool capture(std::vector<uint32_t>& pixels) const;
   bool saveScreenshot(const std::string& pngPath) const;

private:
   xcb_connection_t* connection_ = nullptr;
   uint32_t window_ = 0;
   uint32_t width_, height_;
   uint32_t deleteAtom_ = 0;
   bool closed_ = false;
};

} // namespace host
