#include "Window.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace VSTGUI::X11 {

Window::~Window() {
   destroy();
}

bool Window::create(xcb_window_t parent, const CRect& pixels, bool overrideRedirect, uint32_t eventMask) {
   Connection* connection = Connection::get();
   if (!connection || connection->isBroken() || window != XCB_WINDOW_NONE)
      return false;
   xcb_connection_t* x = connection->xcb();
   const xcb_screen_t* screen = connection->screen();
   widthPx = std::max(1, static_cast<int>(pixels.getWidth()));
   heightPx = std::max(1, static_cast<int>(pixels.getHeight()));
   window = xcb_generate_id(x);
   // No background: the server never clears the window, the back buffer covers every pixel (no flicker).
   // The screen's own visual and colormap keep us independent of the parent's visual.
   const uint32_t valueMask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_BIT_GRAVITY |
                              XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP;
   const uint32_t values[] = {XCB_BACK_PIXMAP_NONE,       0,         XCB_GRAVITY_NORTH_WEST,
                              overrideRedirect ? 1u : 0u, eventMask, screen->default_colormap};
   xcb_create_window(x, screen->root_depth, window, parent, static_cast<int16_t>(pixels.left),
                     static_cast<int16_t>(pixels.top), static_cast<uint16_t>(widthPx),
                     static_cast<uint16_t>(heightPx), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                     valueMask, values);
   gc = xcb_generate_id(x);
   const uint32_t gcValues[] = {0};
   xcb_create_gc(x, gc, window, XCB_GC_GRAPHICS_EXPOSURES, gcValues);
   connection->registerWindow(window, this);
   destroyedByServer = false;
   invalidateAll();
   return true;
}

void Window::destroy() {
   if (window == XCB_WINDOW_NONE)
      return;
   if (Connection* connection = Connection::get()) {
      connection->unregisterWindow(window);
      xcb_free_gc(connection->xcb(), gc);
      // A window the server destroyed with its parent must not be destroyed again.
      if (!destroyedByServer)
         xcb_destroy_window(connection->xcb(), window);
      connection->flush();
   }
   window = XCB_WINDOW_NONE;
   gc = 0;
   if (buffer)
      cairo_surface_destroy(buffer);
   buffer = nullptr;
   invalidRegion.clear();
   exposedRegion.clear();
}

void Window::map() {
   if (Connection* connection = Connection::get(); connection && alive())
      xcb_map_window(connection->xcb(), window);
}

void Window::setGeometry(const CRect& pixels) {
   Connection* connection = Connection::get();
   if (!connection || !alive())
      return;
   const int newWidth = std::max(1, static_cast<int>(pixels.getWidth()));
   const int newHeight = std::max(1, static_cast<int>(pixels.getHeight()));
   const uint32_t values[] = {static_cast<uint32_t>(static_cast<int32_t>(pixels.left)),
                              static_cast<uint32_t>(static_cast<int32_t>(pixels.top)),
                              static_cast<uint32_t>(newWidth), static_cast<uint32_t>(newHeight)};
   xcb_configure_window(connection->xcb(), window,
                        XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                            XCB_CONFIG_WINDOW_HEIGHT,
                        values);
   if (newWidth != widthPx || newHeight != heightPx) {
      widthPx = newWidth;
      heightPx = newHeight;
      if (buffer)
         cairo_surface_destroy(buffer);
      buffer = nullptr;
      invalidRegion.clear();
      exposedRegion.clear();
      invalidateAll();
   }
}

void Window::invalidate(const CRect& pixels) {
   Connection* connection = Connection::get();
   if (!connection || !alive())
      return;
   CRect r(pixels);
   r.bound(CRect(0, 0, widthPx, heightPx));
   if (r.isEmpty())
      return;
   invalidRegion.add(r);
   connection->needsPaint(this);
}

void Window::handleEvent(const xcb_generic_event_t* event) {
   switch (event->response_type & ~0x80) {
   case XCB_EXPOSE: {
      const auto* e = reinterpret_cast<const xcb_expose_event_t*>(event);
      exposedRegion.add(CRect(e->x, e->y, e->x + e->width, e->y + e->height));
      if (Connection* connection = Connection::get())
         connection->needsPaint(this);
      break;
   }
   case XCB_DESTROY_NOTIFY:
      destroyedByServer = true;
      serverDestroyed();
      break;
   default:
      handleInput(event);
      break;
   }
}

void Window::paintPending() {
   if (!alive()) {
      invalidRegion.clear();
      exposedRegion.clear();
      return;
   }
   if (!buffer) {
      buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, widthPx, heightPx);
      invalidRegion.clear();
      invalidRegion.add(CRect(0, 0, widthPx, heightPx));
   }
   Region painted = std::move(invalidRegion);
   invalidRegion.clear();
   painted.clip(CRect(0, 0, widthPx, heightPx));
   if (!painted.empty()) {
      cairo_t* cr = cairo_create(buffer);
      for (const auto& r : painted.getRects())
         cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
      cairo_clip(cr);
      paint(cr, painted);
      cairo_destroy(cr);
      cairo_surface_flush(buffer);
   }
   // The window may have been destroyed by what paint() called.
   if (!alive())
      return;
   Region copy = std::move(exposedRegion);
   exposedRegion.clear();
   for (const auto& r : painted.getRects())
      copy.add(r);
   copy.clip(CRect(0, 0, widthPx, heightPx));
   for (const auto& r : copy.getRects())
      copyToWindow(r);
}

void Window::copyToWindow(const CRect& rect) {
   Connection* connection = Connection::get();
   if (!connection || !connection->canPutImage())
      return;
   const int x0 = static_cast<int>(rect.left), y0 = static_cast<int>(rect.top);
   const int w = static_cast<int>(rect.getWidth()), h = static_cast<int>(rect.getHeight());
   if (w <= 0 || h <= 0)
      return;
   const unsigned char* pixels = cairo_image_surface_get_data(buffer);
   const int stride = cairo_image_surface_get_stride(buffer);
   const size_t rowBytes = static_cast<size_t>(w) * 4;
   const int rowsPerRequest =
       std::max<int>(1, static_cast<int>((connection->maxRequestBytes() - 64) / rowBytes));
   std::vector<unsigned char> rows;
   for (int y = 0; y < h; y += rowsPerRequest) {
      const int n = std::min(rowsPerRequest, h - y);
      rows.resize(rowBytes * static_cast<size_t>(n));
      for (int i = 0; i < n; ++i)
         std::memcpy(rows.data() + rowBytes * static_cast<size_t>(i),
                     pixels + static_cast<size_t>(stride) * static_cast<size_t>(y0 + y + i) +
                         static_cast<size_t>(x0) * 4,
                     rowBytes);
      xcb_put_image(connection->xcb(), XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, static_cast<uint16_t>(w),
                    static_cast<uint16_t>(n), static_cast<int16_t>(x0), static_cast<int16_t>(y0 + y), 0,
                    connection->screen()->root_depth, static_cast<uint32_t>(rows.size()), rows.data());
   }
}

} // namespace VSTGUI::X11
