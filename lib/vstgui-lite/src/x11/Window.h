// An X window with a back buffer. Invalidated pixels are redrawn into the buffer (by paint) and copied to
// the window in one go at the end of the run-loop entry; exposed pixels are copied from the buffer
// without drawing anything again.
#pragma once

#include "Connection.h"
#include "Region.h"

#include <cairo.h>

namespace VSTGUI::X11 {

class Window : public WindowHandler {
public:
   Window() = default;
   ~Window() override;
   Window(const Window&) = delete;
   Window& operator=(const Window&) = delete;

   // Creates the window with the screen's visual. An override-redirect window is a top-level pop-up.
   bool create(xcb_window_t parent, const CRect& pixels, bool overrideRedirect, uint32_t eventMask);
   void destroy();
   xcb_window_t id() const { return window; }
   // False once the window is destroyed, also when the server destroyed it with its parent.
   bool alive() const { return window != XCB_WINDOW_NONE && !destroyedByServer; }
   int width() const { return widthPx; }
   int height() const { return heightPx; }

   void map();
   void setGeometry(const CRect& pixels);
   void invalidate(const CRect& pixels);
   void invalidateAll() { invalidate(CRect(0, 0, widthPx, heightPx)); }

   void handleEvent(const xcb_generic_event_t* event) override;
   void paintPending() override;

protected:
   // Draws the region (window pixels) into cr, which is clipped to it.
   virtual void paint(cairo_t* cr, const Region& region) = 0;
   // Everything but expose and destroy notifications.
   virtual void handleInput(const xcb_generic_event_t* event) = 0;
   virtual void serverDestroyed() {}

private:
   void copyToWindow(const CRect& rect);

   xcb_window_t window = XCB_WINDOW_NONE;
   xcb_gcontext_t gc = 0;
   cairo_surface_t* buffer = nullptr;
   int widthPx = 0;
   int heightPx = 0;
   Region invalidRegion;
   Region exposedRegion;
   bool destroyedByServer = false;
};

} // namespace VSTGUI::X11
