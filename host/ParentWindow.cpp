#include "ParentWindow.h"

#include <cairo.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace host {

namespace {
uint32_t internAtom(xcb_connection_t* c, const char* name) {
   auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
   auto* reply = xcb_intern_atom_reply(c, cookie, nullptr);
   const uint32_t atom = reply ? reply->atom : 0;
   std::free(reply);
   return atom;
}
} // namespace

ParentWindow::ParentWindow(uint32_t width, uint32_t height, const std::string& title, int16_t x, int16_t y)
    : width_(width), height_(height) {
   int screenIndex = 0;
   connection_ = xcb_connect(nullptr, &screenIndex);
   if (!connection_ || xcb_connection_has_error(connection_))
      return;
   auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
   for (int i = 0; i < screenIndex; ++i)
      xcb_screen_next(&it);
   xcb_screen_t* screen = it.data;

   window_ = xcb_generate_id(connection_);
   const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK;
   const uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
   xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, x, y,
                     static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                     XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, mask, values);
   xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                       static_cast<uint32_t>(title.size()), title.data());
   const uint32_t protocols = internAtom(connection_, "WM_PROTOCOLS");
   deleteAtom_ = internAtom(connection_, "WM_DELETE_WINDOW");
   xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, protocols, XCB_ATOM_ATOM, 32, 1,
                       &deleteAtom_);
   xcb_map_window(connection_, window_);
   std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

ParentWindow::~ParentWindow() {
   destroyWindow();
   if (connection_)
      xcb_disconnect(connection_);
}

void ParentWindow::destroyWindow() {
   if (!window_ || !connection_)
      return;
   xcb_destroy_window(connection_, window_);
   xcb_flush(connection_);
   window_ = 0;
}

void ParentWindow::resize(uint32_t width, uint32_t height) {
   width_ = width;
   height_ = height;
   const uint32_t values[] = {width, height};
   xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
   xcb_flush(connection_);
}

bool ParentWindow::pump() {
   while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
         auto* msg = reinterpret_cast<xcb_client_message_event_t*>(event);
         if (msg->data.data32[0] == deleteAtom_)
            closed_ = true;
      }
      std::free(event);
   }
   return !closed_ && !xcb_connection_has_error(connection_);
}

bool ParentWindow::capture(std::vector<uint32_t>& pixels) const {
   if (!window_)
      return false;
   auto cookie = xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0,
                               static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), ~0u);
   xcb_get_image_reply_t* reply = xcb_get_image_reply(connection_, cookie, nullptr);
   if (!reply)
      return false;
   const int length = xcb_get_image_data_length(reply);
   const uint8_t* data = xcb_get_image_data(reply);
   const size_t count = static_cast<size_t>(width_) * height_;
   bool ok = reply->depth >= 24 && static_cast<size_t>(length) >= count * 4;
   if (ok) {
      pixels.resize(count);
      for (size_t i = 0; i < count; ++i) {
         uint32_t v;
         std::memcpy(&v, data + 4 * i, 4);
         pixels[i] = v & 0xffffffu;
      }
   }
   std::free(reply);
   return ok;
}

bool ParentWindow::saveScreenshot(const std::string& pngPath) const {
   std::vector<uint32_t> pixels;
   if (!capture(pixels))
      return false;
   cairo_surface_t* surface =
       cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width_), static_cast<int>(height_));
   cairo_surface_flush(surface);
   unsigned char* dst = cairo_image_surface_get_data(surface);
   const int stride = cairo_image_surface_get_stride(surface);
   for (uint32_t y = 0; y < height_; ++y)
      std::memcpy(dst + static_cast<size_t>(y) * static_cast<size_t>(stride),
                  &pixels[static_cast<size_t>(y) * width_], width_ * 4);
   cairo_surface_mark_dirty(surface);
   const bool ok = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
   cairo_surface_destroy(surface);
   return ok;
}

} // namespace host
